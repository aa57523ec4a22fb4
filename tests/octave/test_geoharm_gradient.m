function test_geoharm_gradient(header)
% geoharm_gradient inside Octave: the worked gradients of
% tests/worked_examples.h bit for bit, A the bits of geoharm_batch, every
% point of a many-point call the bits of its own call, the shapes for every
% number of outputs and K, each refusal with its identifier and message,
% and the example of the help text.
  ex = read_gradient_examples(header);
  for k = 1:numel(ex)
    what = sprintf('worked gradient %d', k);
    [T, A, U] = geoharm_gradient(ex(k).r, ex(k).n, int8(ex(k).m));
    assert_same_bits(T, ex(k).T, [what ', T']);
    assert_same_bits(U, ex(k).U, [what ', U']);
    assert_same_bits(A, geoharm_batch(ex(k).r, ex(k).n, ex(k).m), [what ', A']);
  end
  % Many points, edges among them: each point as its own call, one to three
  % outputs (none counts as one).
  P = [cat(1, ex.r); 0 0 0; -0 0 6600000; Inf 0 7e6; NaN 1 1; 1e200 1e200 1e200; 4.9e-324 7e6 -0];
  [T, A, U] = geoharm_gradient(P, 10, uint8(10));
  assert(isequal(size(T), [3 3 rows(P)]) && isequal(size(A), [rows(P) 3]) && isequal(size(U), [rows(P) 1]), ...
         'shapes of T, A, U for %d points', rows(P));
  for k = 1:rows(P)
    [t, a, u] = geoharm_gradient(P(k, :), 10, 10);
    assert_same_bits(T(:, :, k), t, sprintf('point %d, T', k));
    assert_same_bits(A(k, :), a, sprintf('point %d, A', k));
    assert_same_bits(U(k), u, sprintf('point %d, U', k));
    assert_same_bits(t, t.', sprintf('point %d, T symmetric', k));
  end
  assert_same_bits(A, geoharm_batch(P, 10, 10), 'A against geoharm_batch');
  T1 = geoharm_gradient(P, 10, 10);
  [T2, A2] = geoharm_gradient(P, 10, 10);
  assert_same_bits(T1, T, 'one output');
  assert_same_bits(T2, T, 'two outputs, T');
  assert_same_bits(A2, A, 'two outputs, A');
  geoharm_gradient(P, 10, 10);
  assert_same_bits(ans, T, 'no output');
  [T0, A0, U0] = geoharm_gradient(zeros(0, 3), 10, 10);
  assert(isequal(size(T0), [3 3 0]) && isequal(size(A0), [0 3]) && isequal(size(U0), [0 1]), 'K = 0 shapes');

  % One point as a 3-by-1 column, as geoharm takes it.
  assert_same_bits(geoharm_gradient(ex(1).r.', 10, 10), geoharm_gradient(ex(1).r, 10, 10), '3-by-1 point');

  % Refusals.
  r = ex(1).r;
  shape = 'Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.';
  cases = {
    {r, 10},              1, 'nrhs',      'Three inputs are needed, and no more: positions P, N and M.'
    {r, 10, 10, 1},       1, 'nrhs',      'Three inputs are needed, and no more: positions P, N and M.'
    {r, 10, 10},          4, 'nlhs',      ['At most three outputs: the tensors T (3-by-3-by-K), the accelerations ' ...
                                           'A (K-by-3) and the potentials U (K-by-1).']
    {[r.', r.'], 10, 10}, 1, 'positions', ['Input 1 (positions) is 3-by-K, but rows are points: pass its ' ...
                                           'transpose, a K-by-3 array with columns x, y, z.']
    {zeros(4, 1, 3), 10, 10}, 1, 'positions', shape
    {single(r), 10, 10},  1, 'positions', 'Input 1 (positions) must be a real, non-sparse double array.'
    {r, NaN, 10},         3, 'degree',    'Input 2 (N, maximum degree) must not be NaN.'
    {r, 10, {}},          2, 'order',     'Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.'
  };
  for k = 1:rows(cases)
    [args, nout, id, text] = cases{k, :};
    caught = false;
    try
      out = cell(1, nout);
      [out{:}] = geoharm_gradient(args{:});
    catch err
      caught = true;
      assert(strcmp(err.identifier, ['geoharm_gradient:' id]), 'case %d: identifier "%s"', k, err.identifier);
      assert(strcmp(err.message, ['geoharm_gradient: ' text]), 'case %d: message "%s"', k, err.message);
    end
    assert(caught, 'case %d: no error, expected geoharm_gradient:%s', k, id);
  end

  % help: the call forms, units, identifiers, and an example that runs.
  assert(exist('geoharm_gradient') == 3, 'geoharm_gradient is not the compiled plug-in');
  text = evalc('help geoharm_gradient');
  for needed = {'[T, A, U] = geoharm_gradient(P, N, M)', '3-by-3-by-K', 'K-by-3', '1/s^2', 'm^2/s^2', ...
                'geoharm_gradient:nrhs', 'geoharm_gradient:nlhs', 'geoharm_gradient:positions', ...
                'geoharm_gradient:degree', 'geoharm_gradient:order'}
    assert(~isempty(strfind(text, needed{1})), 'help geoharm_gradient does not mention "%s"', needed{1});
  end
  example = regexp(text, '\n *r = \[[^\n]*(\n[^\n]*){3}', 'match', 'once');
  assert(~isempty(example), 'help geoharm_gradient shows no example');
  eval(example);
  assert(isequal(size(Phi), [6 6]) && all(isfinite(Phi(:))), 'the example gives no 6-by-6 matrix');
  assert_same_bits(T, geoharm_gradient([7000000 1000000 2000000], 10, 10), 'the example''s T');
  printf('%d worked gradients, %d points, %d refusals, help: as expected\n', numel(ex), rows(P), rows(cases));
end

function ex = read_gradient_examples(header)
% The rows {x, y, z, n, m, U, {xx, yy, zz, xy, xz, yz}} of GRADIENT_EXAMPLES.
  text = fileread(header);
  number = '(-?[0-9][0-9.]*(?:e[-+]?[0-9]+)?)';
  row = ['\{' repmat([number ',\s*'], 1, 6) '\{' repmat([number ',\s*'], 1, 5) number '\}\}'];
  found = regexp(text, row, 'tokens');
  assert(numel(found) >= 5, 'found only %d gradient examples in %s', numel(found), header);
  ex = struct('r', {}, 'n', {}, 'm', {}, 'U', {}, 'T', {});
  for k = 1:numel(found)
    v = str2double(found{k});
    ex(k).r = v(1:3);
    ex(k).n = v(4);
    ex(k).m = v(5);
    ex(k).U = v(6);
    t = v(7:12);
    ex(k).T = [t(1) t(4) t(5); t(4) t(2) t(6); t(5) t(6) t(3)];
  end
end
