% GEOHARM_MODEL_TABLES  The compiled model's numbers, as geoharm_model uses them.
%
%   [GM, R_REF, max_degree, C, S, version] = geoharm_model_tables()
%
%   Call geoharm_model instead: it returns the same numbers in a struct.
%   This plug-in hands them over from the compiled tables that geoharm and
%   geoharm_batch compute with:
%
%   GM          gravitational parameter, m^3/s^2
%   R_REF       reference radius, m
%   max_degree  highest degree and order of the model (10)
%   C, S        11-by-11 unnormalised coefficients, C(n+1, m+1) of degree n
%               and order m
%   version     1-by-3: major, minor, patch
%
%   Errors (identifier: cause):
%     geoharm_model_tables:nrhs  any input
%     geoharm_model_tables:nlhs  more than six outputs
%
%   See also geoharm_model.

% This file holds only the help text: the compiled plug-in in the same
% folder takes precedence over it whenever geoharm_model_tables is called.
