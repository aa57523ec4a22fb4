% GEOHARM_MODEL_FILE  A model file's numbers, as geoharm_load uses them.
%
%   [GM, R_REF, max_degree, C, S, normalization, name, tide_system, key] = ...
%       geoharm_model_file(FILE, EPOCH)
%   key = geoharm_model_file(MODEL)
%
%   Call geoharm_load instead: it returns a model struct.  This plug-in
%   reads an ICGEM file (FILE and EPOCH as uint8 rows of UTF-8 bytes; EPOCH
%   may be empty) and hands over its numbers as the file gives them:
%
%   GM, R_REF      m^3/s^2, m
%   max_degree     L
%   C, S           (L+1)-by-(L+1): C(n+1, m+1) of degree n and order m
%   normalization  0 fully normalised, 1 unnormalised
%   name, tide_system   uint8 rows: the UTF-8 bytes of modelname and
%                  tide_system (empty when the file gives none)
%   key            uint64 1-by-2, unique in the session: the key of the
%                  model's cache field
%
%   With a model struct MODEL, it checks the model and gives a new key.
%
%   Errors (identifier: cause):
%     geoharm_model_file:nrhs     no input, or more than two
%     geoharm_model_file:nlhs     more than nine outputs (one for MODEL)
%     geoharm_model_file:file     FILE is not a uint8 row of UTF-8 bytes
%     geoharm_model_file:epoch    EPOCH is not empty or such a row, or no
%                                 epoch (a decimal year or yyyy-mm-dd)
%     geoharm_model_file:refused  the file is not a model: the message
%                                 names the file, the line and the fault
%     geoharm_model_file:model    MODEL is not a model
%
%   See also geoharm_load.

% This file holds only the help text: the compiled plug-in in the same
% folder takes precedence over it whenever geoharm_model_file is called.
