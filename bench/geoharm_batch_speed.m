function geoharm_batch_speed(K)
% GEOHARM_BATCH_SPEED  Octave, by hand: one geoharm_batch call on K points
% (default 20000) against a loop of K geoharm calls that stores the same
% K-by-3 result.  Prints the median of seven runs of each, in processor
% time of the Octave process (cputime: steady on a machine shared with
% other work; the sum over threads, should the evaluation use several) and
% in elapsed time (tic/toc), and the two ratios, after checking that both
% give the same bits.  Run from the top of the
% checkout, after building the linux preset:
%   sh build/linux/octave-run/run-octave.sh --eval "addpath('bench'); geoharm_batch_speed(20000)"
  if nargin < 1
    K = 20000;
  end
  % Points from 6400 km to 42000 km from the centre, spread over the sphere
  % (deterministic: a golden-angle spiral).
  k = (0:K-1).';
  r = 6.4e6 + (42e6 - 6.4e6) * mod(k * 0.6180339887498949, 1);
  z = 1 - 2 * (k + 0.5) / K;
  phi = k * 2.399963229728653;
  s = sqrt(1 - z .^ 2);
  P = [r .* s .* cos(phi), r .* s .* sin(phi), r .* z];
  N = int8(10);
  M = int8(10);

  runs = 7;
  batch = zeros(2, runs);
  loop = zeros(2, runs);
  for rep = 1:runs
    t0 = cputime;
    tic;
    A = geoharm_batch(P, N, M);
    batch(:, rep) = [cputime - t0; toc];
    t0 = cputime;
    tic;
    L = zeros(K, 3);
    for j = 1:K
      L(j, :) = geoharm(P(j, :), N, M);
    end
    loop(:, rep) = [cputime - t0; toc];
  end
  assert(isequal(num2hex(A(:)), num2hex(L(:))), 'geoharm_batch and the loop of geoharm differ');
  tb = median(batch, 2);
  tl = median(loop, 2);
  printf('K = %d points, N = M = 10, median of %d runs (processor time; elapsed)\n', K, runs);
  printf('  one geoharm_batch call:    %9.3f ms; %9.3f ms  (%.0f ns per point)\n', 1e3 * tb, 1e9 * tb(1) / K);
  printf('  loop of %d geoharm calls: %9.3f ms; %9.3f ms  (%.0f ns per point)\n', K, 1e3 * tl, 1e9 * tl(1) / K);
  printf('  ratio: %.0f (processor time), %.0f (elapsed)\n', tl(1) / tb(1), tl(2) / tb(2));
end
