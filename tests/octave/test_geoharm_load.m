function test_geoharm_load(data, synthetic, eval)
% geoharm_load: the struct of a file (fields, epochs given as text, number
% or date, a file name beyond ASCII), of a struct; geoharm_batch and
% geoharm_gradient with it, line for line the bits of geoharm-eval --model
% (EVAL); the compiled-in model as a struct gives the compiled-in bits, a
% changed table is never taken from the plug-ins' cache; every refusal
% with its identifier.
  P = [7e6 1e6 2e6; -6.5e6 2.5e6 -1.5e6; 0 0 6.4e6; 4.2e7 -1.1e7 3e6];

  m = geoharm_load(fullfile(data, 'v2_two_intervals.gfc'), 2015.25);
  want = {'GM', 'R_REF', 'max_degree', 'C', 'S', 'version', 'normalization', 'tide_system', 'name', 'cache'};
  assert(isequal(fieldnames(m).', want), 'fields: %s', strjoin(fieldnames(m).', ', '));
  assert(m.GM == 3.986004415e14 && m.R_REF == 6378136.3 && m.max_degree == 3 && isequal(size(m.C), [4 4]));
  assert(strcmp(m.name, 'TEST-V2-INTERVALS') && strcmp(m.tide_system, 'zero_tide') && ...
         strcmp(m.normalization, 'fully_normalized') && m.C(1, 1) == 1);
  for epoch = {'2015.25', '2015-04-02'}
    other = geoharm_load(fullfile(data, 'v2_two_intervals.gfc'), epoch{1});
    assert(strcmp(epoch{1}, '2015-04-02') || isequal(num2hex(other.C(:)), num2hex(m.C(:))), 'epoch %s', epoch{1});
  end
  u = geoharm_load(fullfile(data, 'unnormalized_crlf.gfc'));
  assert(strcmp(u.normalization, 'unnormalized'));

  % A file name beyond ASCII (UTF-8), and its model evaluated as the
  % original's, by both plug-ins, bit for bit; N, M above 127.
  copy = fullfile(tempdir(), sprintf('mod%sle %s.gfc', char([195 168]), char([206 188])));
  copyfile(synthetic, copy);
  a = geoharm_load(synthetic);
  b = geoharm_load(copy);
  delete(copy);
  assert_same_bits(geoharm_batch(b, P, 300, 300), geoharm_batch(a, P, 300, 300), 'file name beyond ASCII');
  [T, A, U] = geoharm_gradient(a, P, a.max_degree, a.max_degree);
  assert_same_bits(A, geoharm_batch(a, P, a.max_degree, a.max_degree), 'gradient''s acceleration');
  assert(isequal(size(T), [3 3 4]) && isequal(size(U), [4 1]) && isequal(T, permute(T, [2 1 3])));
  % geoharm-eval's lines for the same records (17 digits read back exactly).
  records = tempname();
  f = fopen(records, 'w');
  fprintf(f, '%.17g %.17g %.17g 70 70\n', P.');
  fclose(f);
  [status, text] = system(sprintf('"%s" --model "%s" --gradient --bits < "%s"', eval, synthetic, records));
  delete(records);
  assert(status == 0, 'geoharm-eval: %s', text);
  lines = reshape(hex2num(strsplit(strtrim(text))), 13, []).';
  assert_same_bits([U, A, reshape(T, 9, []).'], lines, 'geoharm-eval --model --gradient');

  % The compiled-in model as a struct: the compiled-in bits, with and
  % without a cache, with every limit.
  g = geoharm_model();
  for model = {g, geoharm_load(g)}
    for nm = [10 10; 4 2; 0 0; 127 -3]'
      assert_same_bits(geoharm_batch(model{1}, P, nm(1), nm(2)), geoharm_batch(P, nm(1), nm(2)), 'compiled-in');
      [T1, A1, U1] = geoharm_gradient(model{1}, P, nm(1), nm(2));
      [T0, A0, U0] = geoharm_gradient(P, nm(1), nm(2));
      assert_same_bits([T1(:); A1(:); U1], [T0(:); A0(:); U0], 'compiled-in gradient');
    end
  end

  % A changed table after a call is a new model; a NaN put in is refused.
  before = geoharm_batch(a, P, 70, 70);
  a.C(3, 1) = 2 * a.C(3, 1);
  assert(~isequal(geoharm_batch(a, P, 70, 70), before), 'a changed C(2,0) gave the old results');
  a.C(2, 1) = NaN;
  expect_error(@() geoharm_batch(a, P, 70, 70), 'geoharm_batch:model', 'C(1,0) is not a finite number');

  % Refusals.
  bad = rmfield(g, 'normalization');
  cases = {
    @() geoharm_load(),                                  'geoharm_load:nrhs',    'One or two inputs'
    @() geoharm_load(g, 2010),                           'geoharm_load:nrhs',    'One or two inputs'
    @() geoharm_load(42),                                'geoharm_load:file',    'FILE must be a file name'
    @() geoharm_load(synthetic, {2010}),                 'geoharm_load:epoch',   'EPOCH must be'
    @() geoharm_load(synthetic, '2010-13-01'),           'geoharm_load:epoch',   'no such date'
    @() geoharm_load(fullfile(data, 'v1_time_variable.gfc')), 'geoharm_load:refused', 'give the epoch argument'
    @() geoharm_load(fullfile(data, 'no such file.gfc')), 'geoharm_load:refused', 'no such file.gfc'
    @() geoharm_load(bad),                               'geoharm_load:model',   'has no field normalization'
    @() geoharm_batch(bad, P, 2, 2),                     'geoharm_batch:model',  'has no field normalization'
    @() geoharm_gradient(g, P, 2),                       'geoharm_gradient:nrhs', 'Four inputs are needed'
    @() geoharm_batch(g, P.', 2, 2),                     'geoharm_batch:positions', 'Input 2 (positions) is 3-by-K'
    @() geoharm_batch([g g], P, 2, 2),                   'geoharm_batch:model',  'must be one struct'
  };
  for k = 1:rows(cases)
    expect_error(cases{k, :});
  end
  printf('geoharm_load: files, epochs, structs, the compiled-in bits, %d refusals\n', rows(cases) + 1);
end

function expect_error(f, id, text)
  try
    f();
  catch err
    assert(strcmp(err.identifier, id), 'identifier "%s", expected %s (%s)', err.identifier, id, err.message);
    assert(~isempty(strfind(err.message, text)), 'message "%s" lacks "%s"', err.message, text);
    return
  end
  error('no error, expected %s', id);
end
