function eval_records()
% EVAL_RECORDS  geoharm-eval's job done by geoharm inside Octave: reads the
% records "x y z N M" from standard input (blank lines and # comments
% skipped; coordinates as decimals, C99 hexadecimal floats, inf or nan)
% and prints "a_x a_y a_z" for each, one line per record, in the format of
% geoharm-eval --bits (each double as the 16 upper-case hexadecimal digits
% of its bits, NaN included), so that tests/cross/identity.sh can compare
% the lines bit for bit.  N and M are passed as int8, as geoharm-eval
% passes them.
  text = fread(stdin, Inf, 'char=>char').';
  lines = strsplit(text, "\n");
  out = cell(1, numel(lines));
  count = 0;
  for k = 1:numel(lines)
    line = strtrim(lines{k});
    if isempty(line) || line(1) == '#'
      continue;
    end
    t = regexp(line, '\s+', 'split');
    r = [read_coordinate(t{1}); read_coordinate(t{2}); read_coordinate(t{3})];
    a = geoharm(r, int8(str2double(t{4})), int8(str2double(t{5})));
    count = count + 1;
    out{count} = sprintf('%s %s %s', format_value(a(1)), format_value(a(2)), format_value(a(3)));
  end
  printf('%s\n', out{1:count});
end

function v = read_coordinate(s)
% A decimal, inf or nan by str2double; a hexadecimal float (sign,
% 0x, leading digit 0 or 1, hex fraction, binary exponent) exactly: the
% fraction has at most 13 hex digits (52 bits), so the integer it spells,
% its scaling by a power of two and the final pow2 are all exact.
  h = regexp(s, '^(?<sign>-?)0x(?<lead>[01])\.?(?<digits>[0-9a-f]*)p(?<exponent>[-+]\d+)$', 'names', 'once');
  if isempty(h) || isempty(fieldnames(h))
    v = str2double(s);
    assert(~isnan(v) || strcmpi(strrep(s, '-', ''), 'nan'), 'unreadable coordinate "%s"', s);
    return;
  end
  fraction = 0;
  if ~isempty(h.digits)
    fraction = hex2dec(h.digits) / 16 ^ numel(h.digits);
  end
  v = pow2(str2double(h.lead) + fraction, str2double(h.exponent));
  if strcmp(h.sign, '-')
    v = -v;
  end
end

function s = format_value(v)
  s = upper(num2hex(v));
end
