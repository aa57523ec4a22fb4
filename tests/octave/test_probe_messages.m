function test_probe_messages()
% Only with the probe plug-in (octave/testdata): its error identifiers are
% packed without terminators and its messages carry a '%' and an
% unterminated tail, so the exact texts show that the adapter's error
% routine goes by the hidden lengths and passes the text through verbatim.
  r = [7000000; 1000000; 2000000];
  % {inputs, identifier, message}
  cases = {
    {r},                     'geoharm:nrhs',     'geoharm: three inputs are needed: position, N, M (100%%)'
    {[1 2], 1, 1},           'geoharm:position', 'geoharm: the position must be a real double array of at least 3 elements (100%%)'
    {r, [], 1},              'geoharm:degree',   'geoharm: N and M must be numeric scalars, not NaN (100%%)'
    {r, 1, NaN},             'geoharm:order',    'geoharm: N and M must be numeric scalars, not NaN (100%%)'
  };
  for k = 1:rows(cases)
    [args, id, message] = cases{k, :};
    try
      geoharm(args{:});
      error('case %d: no error', k);
    catch err
      assert(strcmp(err.identifier, id), 'case %d: identifier "%s", expected "%s"', k, err.identifier, id);
      assert(strcmp(err.message, message), 'case %d: message "%s", expected "%s"', k, err.message, message);
    end
  end
  printf('%d probe errors: identifiers and messages exact\n', rows(cases));
end
