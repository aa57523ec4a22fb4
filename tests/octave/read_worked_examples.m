function ex = read_worked_examples(header)
% READ_WORKED_EXAMPLES  The reference table of tests/worked_examples.h.
%   ex = read_worked_examples(header) parses the rows
%     {x, y, z, n, m, ax, ay, az},
%   of the C++ table WORKED_EXAMPLES, so that the Octave tests and the C++
%   tests share one source of truth.  The decimals there are shortest
%   round-trip forms, so str2double turns each back into the exact double.
%   ex is a struct array with fields r (3x1), n, m, a (3x1).
  text = fileread(header);
  number = '(-?[0-9][0-9.]*(?:e[-+]?[0-9]+)?)';
  row = ['\{' repmat([number ',\s*'], 1, 7) number '\}'];
  rows = regexp(text, row, 'tokens');
  assert(numel(rows) >= 10, 'found only %d worked examples in %s', numel(rows), header);
  ex = struct('r', {}, 'n', {}, 'm', {}, 'a', {});
  for k = 1:numel(rows)
    v = str2double(rows{k});
    assert(all(isfinite(v)), 'unreadable worked example %d', k);
    ex(k).r = v(1:3).';
    ex(k).n = v(4);
    ex(k).m = v(5);
    ex(k).a = v(6:8).';
  end
end
