% GEOHARM_GRADIENT  Gravity-gradient tensor, acceleration and potential at many points.
%
%   T = geoharm_gradient(P, N, M)
%   [T, A] = geoharm_gradient(P, N, M)
%   [T, A, U] = geoharm_gradient(P, N, M)
%   [T, A, U] = geoharm_gradient(model, P, N, M)
%
%   model  (optional) another gravity model, a struct from geoharm_load
%       (an ICGEM file, or a struct of your own) or geoharm_model: its
%       tensor, acceleration and potential instead of the compiled-in
%       model's; N and M then go up to its degree.  The inputs after it
%       are counted from 2 in the messages.
%   P   positions: a real, full double K-by-3 array, one point per row,
%       columns x, y, z in metres, in Earth-fixed Cartesian axes with the
%       origin at the Earth's centre of mass.  K may be 0.
%   N   largest degree of the harmonic terms.
%   M   largest order of the harmonic terms (never above the degree).
%   T   3-by-3-by-K double (3-by-3 when K = 1): T(i,j,k) = d a_i / d x_j
%       at row k of P, in 1/s^2: the gravity-gradient tensor, the partial
%       derivatives of the acceleration with respect to position.  It is
%       symmetric, exactly (six entries formed, each stored twice); its
%       trace is zero up to rounding.
%   A   K-by-3 double: row k the acceleration a_x, a_y, a_z in m/s^2, to
%       the last bit what geoharm_batch(P, N, M) returns.
%   U   K-by-1 double: the potential in m^2/s^2, with A = grad U
%       (positive; GM/r for the point mass alone).
%
%   N and M are read exactly as geoharm and geoharm_batch read them:
%   scalars of any numeric or logical class; an int8 as it is, any other
%   class by its value, truncated toward zero and saturated to -128..127.
%   The model stops at degree and order 10: above 10 means 10; N <= 1 or
%   M < 0 the point mass alone, T = GM (3 x x'/r^5 - I/r^3).  Positions at
%   the origin or not finite give NaN or infinities, never an error.
%
%   Every result is the same IEEE double on every build
%   (geoharm_gradient.mexa64, .mexw64, .mexw32, and under Octave), through
%   any number of threads (GEOHARM_NUM_THREADS) and vector unit.  Against
%   an independent 113-bit evaluation of the model the tests hold every
%   entry of T within 1e-14 of T's Frobenius norm and U within 1e-14
%   relative; the worst errors measured are 9e-16 and 3e-16
%   (docs/gradient.md).
%
%   Errors (identifier: cause):
%     geoharm_gradient:nrhs       not exactly three inputs (four with a model)
%     geoharm_gradient:nlhs       more than three outputs
%     geoharm_gradient:positions  P is not a real, full double array; not
%                                 K-by-3 (a 3-by-K array: rows are points,
%                                 pass P.'); or more than 238609294 rows
%                                 (9*K must fit the host's 32-bit sizes)
%     geoharm_gradient:degree     N is empty, not numeric or logical, or NaN
%     geoharm_gradient:order      M is empty, not numeric or logical, or NaN
%     geoharm_gradient:model      the model struct lacks a field, or one is
%                                 not what a model holds (the message says)
%
%   Example: the state transition matrix of a 10-second step of the
%   linearised motion d/dt [r; v] = [v; a(r)], its Jacobian F = [0 I; T 0]
%   held constant over the step:
%     r = [7000000 1000000 2000000];
%     [T, A, U] = geoharm_gradient(r, 10, 10);
%     F = [zeros(3), eye(3); T, zeros(3)];
%     Phi = expm(F * 10);     % d(state at t+10 s) / d(state at t)
%
%   Under MATLAB, geoharm_gradient.mexa64 (Linux) or geoharm_gradient.mexw64
%   / geoharm_gradient.mexw32 (Windows) and this file go in one folder on
%   the path.  Under GNU Octave the plug-in is geoharm_gradient.mex (pkg
%   load geoharm).  See also geoharm, geoharm_batch, geoharm_load.

% This file holds only the help text: the compiled plug-in in the same
% folder takes precedence over it whenever geoharm_gradient is called.
