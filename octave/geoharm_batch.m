% GEOHARM_BATCH  Earth's gravitational acceleration at many points in one call.
%
%   A = geoharm_batch(P, N, M)
%   [gx, gy, gz] = geoharm_batch(P, N, M)
%   A = geoharm_batch(model, P, N, M)
%
%   model  (optional) another gravity model, a struct from geoharm_load
%       (an ICGEM file, or a struct of your own) or geoharm_model: its
%       acceleration instead of the compiled-in model's; N and M then go
%       up to its degree.  The inputs after it are counted from 2 in the
%       messages.
%   P   positions: a real, full double K-by-3 array, one point per row,
%       columns x, y, z in metres, in Earth-fixed Cartesian axes with the
%       origin at the Earth's centre of mass.  K may be 0.
%   N   largest degree of the harmonic terms.
%   M   largest order of the harmonic terms (never above the degree).
%   A   K-by-3 double: row k is the acceleration a_x, a_y, a_z in m/s^2 at
%       row k of P, in the same axes (with one output, or none).
%   gx, gy, gz   K-by-1 doubles: the three columns of A (with three
%       outputs).  Two outputs, or more than three, are an error.
%
%   Row k is, to the last bit, geoharm(P(k,:), N, M) transposed: the same
%   model, the same reading of N and M, the same results at the origin and
%   at non-finite positions (NaN where geoharm gives NaN).  K = 0 gives a
%   0-by-3 array (or three 0-by-1 arrays).
%
%   N and M are read exactly as geoharm reads them: scalars, plain doubles
%   as a rule, of any numeric or logical class; an int8 as it is, any other
%   class by its value, truncated toward zero and saturated to -128..127.  The model stops at
%   degree and order 10: above 10 means 10; N <= 1 or M < 0 the central
%   (point-mass) term alone.
%
%   The points are evaluated several at a time in the processor's vector
%   registers and, from 8192 points on, on several threads (at most the
%   processors the process may use, at most the environment variable
%   GEOHARM_NUM_THREADS); neither changes a bit of the result.
%
%   Model (compiled in): GM = 398600446148608.0 m^3/s^2, reference radius
%   6378137.0 m, degree and order 10, unnormalised coefficients C(n,m),
%   S(n,m).  Every result is the same IEEE double on every build
%   (geoharm_batch.mexa64, geoharm_batch.mexw64, geoharm_batch.mexw32, and
%   under Octave).
%
%   Errors (identifier: cause):
%     geoharm_batch:nrhs       fewer or more than three inputs (four with a
%                              model)
%     geoharm_batch:nlhs       two outputs, or more than three
%     geoharm_batch:positions  P is not a real, full double array; not
%                              K-by-3 (a 3-by-K array: rows are points, pass
%                              P.'); or more than 715827882 rows (3*K must
%                              fit the host's 32-bit sizes)
%     geoharm_batch:degree     N is empty, not numeric or logical, or NaN
%     geoharm_batch:order      M is empty, not numeric or logical, or NaN
%     geoharm_batch:model      the model struct lacks a field, or one is not
%                              what a model holds (the message says which)
%
%   Example:
%     A = geoharm_batch([7000000 1000000 2000000; -6500000 2500000 -1500000], 10, 10)
%     % A = [-7.036925776266761 -1.0053211772743258 -2.015446846294957;
%     %       7.173806946806016 -2.759123702209809 1.6598255653442884]   (m/s^2)
%
%   Under MATLAB, geoharm_batch.mexa64 (Linux) or geoharm_batch.mexw64 /
%   geoharm_batch.mexw32 (Windows) and this file go in one folder on the
%   path (the release archive holds them).  Under GNU Octave, install the
%   package: pkg install -local geoharm-<version>.tar.gz, then
%   pkg load geoharm.
%
%   See also geoharm, geoharm_load, geoharm_model.

% This file holds only the help text: the compiled plug-in in the same
% folder takes precedence over it whenever geoharm_batch is called.
