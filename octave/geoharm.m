% GEOHARM  Earth's gravitational acceleration from a degree-10 geopotential.
%
%   a = geoharm(r, N, M)
%
%   r  position: a real double vector (row or column); its first three
%      elements are x, y, z in metres, in Earth-fixed Cartesian axes with
%      the origin at the Earth's centre of mass.  Elements after the third
%      are ignored, so a state vector [x; y; z; vx; vy; vz] may be passed.
%      A matrix is refused: for several points, one per row, call
%      geoharm_batch.
%   N  largest degree of the harmonic terms.
%   M  largest order of the harmonic terms (never above the degree).
%   a  3x1 double: the acceleration a_x, a_y, a_z in m/s^2 in the same axes
%      as r: the central (point-mass) term plus the harmonic terms of
%      degree 2..N and order 0..min(n, M).
%
%   N and M are scalars, plain doubles as a rule; any numeric or logical
%   class works too.  An int8 is read exactly as it is; any other class is
%   read by its value, truncated toward zero and saturated to -128..127 (so
%   10, 10.9 and int32(10) all mean 10, and 1e6 means 127).  The model stops
%   at degree and order 10:
%     0..10     the terms up to that degree / order;
%     N <= 1 or M < 0   the central term alone (there are no terms of
%               degree 1: the origin is the centre of mass);
%     above 10  the same as 10.
%
%   Model (compiled in; geoharm_model returns it):
%     GM     = 398600446148608.0 m^3/s^2  (gravitational parameter)
%     R_REF  = 6378137.0 m                (reference radius)
%     degree and order 10, unnormalised coefficients C(n,m), S(n,m).
%   Every result is the same IEEE double, to the last bit, on every build
%   (geoharm.mexa64, geoharm.mexw64, geoharm.mexw32, and under Octave).
%
%   Errors (identifier: cause):
%     geoharm:nrhs      fewer or more than three inputs
%     geoharm:position  r is not a real, full double array of at least
%                       three elements, or is a matrix
%     geoharm:degree    N is empty, not numeric or logical, or NaN
%     geoharm:order     M is empty, not numeric or logical, or NaN
%
%   Example:
%     a = geoharm([7000000; 1000000; 2000000], 10, 10)
%     % a = [-7.036925776266761; -1.0053211772743258; -2.015446846294957]
%
%   Under MATLAB, geoharm.mexa64 (Linux) or geoharm.mexw64 / geoharm.mexw32
%   (Windows) and this file go in one folder on the path (the release
%   archive geoharm-<version>-mex.zip holds them).  Under GNU Octave,
%   install the package: pkg install -local geoharm-<version>.tar.gz, then
%   pkg load geoharm.
%
%   See also geoharm_batch, geoharm_model.

% This file holds only the help text: the compiled plug-in in the same
% folder takes precedence over it whenever geoharm is called.
