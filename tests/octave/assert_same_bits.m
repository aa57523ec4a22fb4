function assert_same_bits(got, want, what)
% ASSERT_SAME_BITS  Fails unless got and want are the same doubles bit for
% bit (num2hex), element by element, a NaN as any NaN (its sign is not
% specified); the message shows both bit patterns.
  assert(isa(got, 'double') && isreal(got), '%s: result is not a real double', what);
  assert(isequal(size(got), size(want)), '%s: size %s, expected %s', what, mat2str(size(got)), mat2str(size(want)));
  g = num2hex(got(:));
  w = num2hex(want(:));
  bad = find(any(g ~= w, 2) & ~(isnan(got(:)) & isnan(want(:))));
  if ~isempty(bad)
    k = bad(1);
    error('%s: element %d is %s (%.17g), expected %s (%.17g)', what, k, g(k, :), got(k), w(k, :), want(k));
  end
end
