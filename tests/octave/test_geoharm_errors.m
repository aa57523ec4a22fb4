function test_geoharm_errors()
% Each bad call ends in an Octave error that carries the plug-in's
% identifier, and the plug-in works normally afterwards.
  r = [7000000; 1000000; 2000000];
  good = geoharm(r, int8(10), int8(10));
  % {inputs, identifier}
  cases = {
    {},                                     'geoharm:nrhs'
    {r},                                    'geoharm:nrhs'
    {r, int8(10)},                          'geoharm:nrhs'
    {r, int8(10), int8(10), 1},             'geoharm:nrhs'
    {[r r], int8(10), int8(10)},            'geoharm:position'
    {[r r].', int8(10), int8(10)},          'geoharm:position'
    {[1; 2], int8(10), int8(10)},           'geoharm:position'
    {[], int8(10), int8(10)},               'geoharm:position'
    {single(r), int8(10), int8(10)},        'geoharm:position'
    {int32(r), int8(10), int8(10)},         'geoharm:position'
    {r + 1i, int8(10), int8(10)},           'geoharm:position'
    {sparse(r), int8(10), int8(10)},        'geoharm:position'
    {'abc', int8(10), int8(10)},            'geoharm:position'
    {{1, 2, 3}, int8(10), int8(10)},        'geoharm:position'
    {r, [], int8(10)},                      'geoharm:degree'
    {r, NaN, int8(10)},                     'geoharm:degree'
    {r, 'a', int8(10)},                     'geoharm:degree'
    {r, {10}, int8(10)},                    'geoharm:degree'
    {r, struct('n', 10), int8(10)},         'geoharm:degree'
    {r, [4 9], int8(10)},                   'geoharm:degree'
    {r, int8(10), []},                      'geoharm:order'
    {r, int8(10), NaN},                     'geoharm:order'
    {r, int8(10), single(NaN)},             'geoharm:order'
    {r, int8(10), 'a'},                     'geoharm:order'
    {r, int8(10), int8([2 9])},             'geoharm:order'
  };
  % The plug-in's messages, as Octave shows them (prefixed with the name,
  % which the texts do not repeat): the adapter must pass the unterminated
  % texts through by their lengths.
  messages.nrhs = {'Not enough inputs: position, N and M are needed.', ...
                   'Too many inputs: only position, N and M are taken.'};
  messages.position = {'Input 1 (position) must be a real, non-sparse double array of at least three elements.', ...
                       ['Input 1 (position) is a matrix: pass one point as a vector x, y, z, or many points to ' ...
                        'geoharm_batch, one per row.']};
  messages.degree = {'Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.', ...
                     'Input 2 (N, maximum degree) must not be NaN.', ...
                     'Input 2 (N, maximum degree) must be one number, not an array of several.'};
  messages.order = {'Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.', ...
                    'Input 3 (M, maximum order) must not be NaN.', ...
                    'Input 3 (M, maximum order) must be one number, not an array of several.'};
  for k = 1:rows(cases)
    [args, id] = cases{k, :};
    caught = false;
    try
      geoharm(args{:});
    catch err
      caught = true;
      assert(strcmp(err.identifier, id), 'case %d: identifier "%s", expected "%s" (message "%s")', ...
             k, err.identifier, id, err.message);
      allowed = cellfun(@(t) ['geoharm: ' t], messages.(id(9:end)), 'UniformOutput', false);
      assert(any(strcmp(err.message, allowed)), 'case %d: unexpected message "%s"', k, err.message);
    end
    assert(caught, 'case %d: no error, expected %s', k, id);
    % Nothing of the failed call is left over.
    assert_same_bits(geoharm(r, int8(10), int8(10)), good, sprintf('call after case %d', k));
  end
  printf('%d bad calls: each raised its identifier\n', rows(cases));
end
