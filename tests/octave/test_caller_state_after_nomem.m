function test_caller_state_after_nomem()
  % A caller that rounds upward calls geoharm_batch and geoharm_gradient
  % with more points than the memory left for their outputs: Octave ends
  % each call inside the allocation of an output, with its own error, and
  % the caller still rounds upward afterwards (the plug-in gave its state
  % back before asking the host for the outputs).  The same with a call that
  % succeeds, and one the plug-in refuses, for comparison.
  K = 4e6;                                  % 96 MB of points; outputs of 96 and 288 MB
  P = repmat([7000000 1000000 2000000], K, 1);
  caller_state_probe('round', 'upward');
  A = geoharm_batch(P(1:10, :), 10, 10);
  assert(strcmp(caller_state_probe('round'), 'upward'), 'a good call left the rounding %s', caller_state_probe('round'));
  try
    geoharm_batch(P, [10 10], 10);
  catch
  end
  assert(strcmp(caller_state_probe('round'), 'upward'), 'a refused call left the rounding %s', caller_state_probe('round'));

  caller_state_probe('memory', 48e6);       % less than one output's 96 MB
  calls = {@() geoharm_batch(P, 10, 10), @() geoharm_gradient(P, 10, 10)};
  names = {'geoharm_batch', 'geoharm_gradient'};
  for k = 1:numel(calls)
    failed = false;
    try
      calls{k}();
    catch err
      failed = true;
      assert(isempty(strfind(err.identifier, names{k})), '%s refused the call itself: %s', names{k}, err.message);
      printf('%s: Octave ended the call: %s\n', names{k}, err.message);
    end
    assert(failed, '%s: the outputs fitted in memory; the test shows nothing', names{k});
    assert(strcmp(caller_state_probe('round'), 'upward'), ...
           '%s: after the host ended the call, the caller rounds %s, not upward', names{k}, caller_state_probe('round'));
  end
  caller_state_probe('round', 'nearest');
  printf('the caller still rounds upward after each call the host ended for want of memory\n');
end
