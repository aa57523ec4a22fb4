function test_geoharm_batch_examples(header)
% geoharm_batch inside Octave: the worked examples bit for bit in both
% output forms (one call per N, M), every row the bits of geoharm at that
% point (edge positions too), N and M of other classes, K = 0, and the
% example of its help text.
  ex = read_worked_examples(header);
  nm = unique([[ex.n]; [ex.m]].', 'rows');
  for j = 1:rows(nm)
    pick = find([ex.n] == nm(j, 1) & [ex.m] == nm(j, 2));
    P = [ex(pick).r].';
    want = [ex(pick).a].';
    what = sprintf('N=%d, M=%d, %d points', nm(j, 1), nm(j, 2), numel(pick));
    assert_same_bits(geoharm_batch(P, int8(nm(j, 1)), int8(nm(j, 2))), want, [what ', one output']);
    [gx, gy, gz] = geoharm_batch(P, int8(nm(j, 1)), int8(nm(j, 2)));
    assert_same_bits([gx, gy, gz], want, [what ', three outputs']);
  end
  % Every row is geoharm at that point, for limits and classes of N and M
  % read by value, at the examples' positions and at the edges.
  P = [[ex.r].'; 0 0 0; -0 0 6600000; Inf 0 7e6; NaN 1 1; 1e200 1e200 1e200; 4.9e-324 7e6 -0; 1e-19 0 0];
  limits = {int8(10), int8(10); int8(-1), int8(5); 4.9, single(2); uint8(200), int16(3); true, int64(0); 3, 1};
  for j = 1:rows(limits)
    [n, m] = limits{j, :};
    A = geoharm_batch(P, n, m);
    for k = 1:rows(P)
      assert_same_bits(A(k, :), geoharm(P(k, :), n, m).', sprintf('limits %d, row %d', j, k));
    end
  end
  % No points: 0-by-3, or three 0-by-1.
  assert(isequal(size(geoharm_batch(zeros(0, 3), int8(10), int8(10))), [0 3]), 'K = 0: not 0-by-3');
  [gx, gy, gz] = geoharm_batch(zeros(0, 3), int8(10), int8(10));
  assert(isequal(size(gx), size(gy), size(gz), [0 1]), 'K = 0: not three 0-by-1');
  % With no output asked for, the result still arrives (in ans).
  geoharm_batch(P(1:2, :), int8(10), int8(10));
  assert_same_bits(ans, geoharm_batch(P(1:2, :), int8(10), int8(10)), 'nargout = 0');
  % help: the call forms, the identifiers and an example whose printed
  % result is what the call returns.
  assert(exist('geoharm_batch') == 3, 'geoharm_batch is not the compiled plug-in');
  text = evalc('help geoharm_batch');
  for needed = {'A = geoharm_batch(P, N, M)', '[gx, gy, gz] = geoharm_batch(P, N, M)', 'K-by-3', 'metres', ...
                'm/s^2', 'geoharm_batch:nrhs', 'geoharm_batch:nlhs', 'geoharm_batch:positions', ...
                'geoharm_batch:degree', 'geoharm_batch:order'}
    assert(~isempty(strfind(text, needed{1})), 'help geoharm_batch does not mention "%s"', needed{1});
  end
  call = regexp(text, 'A = (geoharm_batch\(\[[^\n]*\))', 'tokens', 'once');
  shown = regexp(text, '% A = \[([^]]*)\]', 'tokens', 'once');
  assert(~isempty(call) && ~isempty(shown), 'help geoharm_batch shows no example');
  want = str2num(strrep(shown{1}, '%', ''));
  assert(isempty(strfind(call{1}, 'int8')), 'the example of help geoharm_batch writes int8: %s', call{1});
  assert_same_bits(eval(call{1}), want, 'the example in the help text');
  assert_package_install_advice(text, 'geoharm_batch');
  printf('%d runs of worked examples, %d rows x %d limits, K = 0, help: same bits\n', rows(nm), rows(P), rows(limits));
end
