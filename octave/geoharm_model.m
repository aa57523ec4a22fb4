function model = geoharm_model()
% GEOHARM_MODEL  The geopotential model that geoharm evaluates, as a struct.
%
%   model = geoharm_model()
%
%   model.GM          gravitational parameter, m^3/s^2
%   model.R_REF       reference radius of the expansion, m
%   model.max_degree  highest degree and order of its terms (10)
%   model.C, model.S  11-by-11 unnormalised coefficients: model.C(n+1, m+1)
%                     is C(n,m), of degree n and order m; C(0,0) = 1 (the
%                     central term GM/r); zero for the other terms of
%                     n < 2, for m > n, and S(n,0)
%   model.version     the toolbox's version, 'MAJOR.MINOR.PATCH'
%   model.normalization  'unnormalized'
%   model.tide_system, model.name   '' and 'compiled-in'
%
%   The struct is a model for geoharm_batch and geoharm_gradient
%   (geoharm_load): geoharm_batch(geoharm_model(), P, N, M) gives exactly
%   the bits of geoharm_batch(P, N, M).
%
%   The numbers are read from the compiled tables that geoharm and
%   geoharm_batch compute with (through the plug-in geoharm_model_tables),
%   so they are exactly those of every result.  GM and every coefficient
%   are single-precision values held exactly as doubles, by design: GM is
%   398600446148608, not 3.986004418e14.
%
%   The potential is
%     V = GM/r * (1 + sum over n = 2..10, m = 0..n of (R_REF/r)^n
%         P(n,m)(sin(lat)) (C(n,m) cos(m lon) + S(n,m) sin(m lon)))
%   with P(n,m) the associated Legendre functions without normalisation
%   and without the Condon-Shortley phase; geoharm returns its gradient.
%
%   Example:
%     model = geoharm_model();
%     fprintf('%.17g\n', model.GM, model.C(3, 1))   % GM and C(2,0)
%
%   See also geoharm, geoharm_batch, geoharm_load.
  [gm, r_ref, max_degree, C, S, version] = geoharm_model_tables();
  C(1, 1) = 1;  % the central term's coefficient (the tables start at degree 2)
  model = struct('GM', gm, 'R_REF', r_ref, 'max_degree', max_degree, 'C', C, 'S', S, ...
                 'version', sprintf('%d.%d.%d', version), 'normalization', 'unnormalized', ...
                 'tide_system', '', 'name', 'compiled-in');
end
