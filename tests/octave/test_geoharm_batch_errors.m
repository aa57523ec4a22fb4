function test_geoharm_batch_errors()
% Each bad call of geoharm_batch ends in an Octave error with the
% plug-in's identifier and message, and the plug-in works normally
% afterwards.
  P = [7000000 1000000 2000000; -6500000 2500000 -1500000];
  good = geoharm_batch(P, int8(10), int8(10));
  rowsText = 'Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array with columns x, y, z.';
  shapeText = 'Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.';
  classText = 'Input 1 (positions) must be a real, non-sparse double array.';
  nlhsText = 'Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).';
  % {inputs, outputs, identifier, message}
  cases = {
    {},                              1, 'nrhs',      'Not enough inputs: positions, N and M are needed.'
    {P, int8(10)},                   1, 'nrhs',      'Not enough inputs: positions, N and M are needed.'
    {P, int8(10), int8(10), 1},      1, 'nrhs',      'Too many inputs: only positions, N and M are taken.'
    {P, int8(10), int8(10)},         2, 'nlhs',      nlhsText
    {P, int8(10), int8(10)},         4, 'nlhs',      nlhsText
    {P.', int8(10), int8(10)},       1, 'positions', rowsText
    {[1 4; 2 5; 3 6], int8(10), int8(10)}, 1, 'positions', rowsText
    {[], int8(10), int8(10)},        1, 'positions', shapeText
    {zeros(4, 2), int8(10), int8(10)}, 1, 'positions', shapeText
    {zeros(4, 1, 3), int8(10), int8(10)}, 3, 'positions', shapeText
    {single(P), int8(10), int8(10)}, 1, 'positions', classText
    {P + 1i, int8(10), int8(10)},    1, 'positions', classText
    {sparse(P), int8(10), int8(10)}, 1, 'positions', classText
    {P, [], int8(10)},               1, 'degree',    'Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.'
    {P, NaN, int8(10)},              3, 'degree',    'Input 2 (N, maximum degree) must not be NaN.'
    {P, [10 10], int8(10)},          1, 'degree',    'Input 2 (N, maximum degree) must be one number, not an array of several.'
    {P, int8(10), 'a'},              1, 'order',     'Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.'
    {P, int8(10), single(NaN)},      1, 'order',     'Input 3 (M, maximum order) must not be NaN.'
  };
  for k = 1:rows(cases)
    [args, nout, id, text] = cases{k, :};
    caught = false;
    try
      out = cell(1, nout);
      [out{:}] = geoharm_batch(args{:});
    catch err
      caught = true;
      assert(strcmp(err.identifier, ['geoharm_batch:' id]), 'case %d: identifier "%s", expected geoharm_batch:%s', ...
             k, err.identifier, id);
      assert(strcmp(err.message, ['geoharm_batch: ' text]), 'case %d: message "%s"', k, err.message);
    end
    assert(caught, 'case %d: no error, expected geoharm_batch:%s', k, id);
    assert_same_bits(geoharm_batch(P, int8(10), int8(10)), good, sprintf('call after case %d', k));
  end
  printf('%d bad calls: each raised its identifier and message\n', rows(cases));
end
