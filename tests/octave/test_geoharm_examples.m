function test_geoharm_examples(header)
% Every worked example through the plug-in inside Octave, bit for bit,
% with N and M given as int8 scalars (the class the plug-in reads exactly).
  printf('geoharm is %s\n', which('geoharm'));
  ex = read_worked_examples(header);
  for k = 1:numel(ex)
    what = sprintf('example %d (N=%d, M=%d)', k, ex(k).n, ex(k).m);
    a = geoharm(ex(k).r, int8(ex(k).n), int8(ex(k).m));
    assert_same_bits(a, ex(k).a, what);
    % A row vector and trailing elements do not change the result.
    assert_same_bits(geoharm([ex(k).r.' 1 2 3], int8(ex(k).n), int8(ex(k).m)), ex(k).a, [what ', row + extra']);
  end
  printf('%d worked examples: same bits\n', numel(ex));
end
