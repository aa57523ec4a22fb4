function model = geoharm_load(source, epoch)
% GEOHARM_LOAD  A gravity model, from an ICGEM file or a struct, for
% geoharm_batch and geoharm_gradient.
%
%   model = geoharm_load(FILE)
%   model = geoharm_load(FILE, EPOCH)
%   model = geoharm_load(MODEL)
%
%   FILE    an ICGEM model file (.gfc, formats 1.0 and 2.0), its name as a
%           character row or a string; any degree up to 2700.
%   EPOCH   the epoch of the file's time-variable terms (gfct, trnd, acos,
%           asin): a decimal year (2010.5, a number or its text; a Julian
%           epoch year of 365.25 days from J2000.0) or a date 'yyyy-mm-dd'
%           (0 h).  A file with such terms needs one.
%   MODEL   a struct with the fields below that you built (any body): it
%           is checked and given a cache field.
%
%   model.GM             gravitational parameter, m^3/s^2
%   model.R_REF          reference radius, m
%   model.max_degree     L, the highest degree and order
%   model.C, model.S     (L+1)-by-(L+1): C(n+1, m+1) is C(n,m), of degree n
%                        and order m, as the file gives them; zero above
%                        the diagonal and in S(:,1)
%   model.version        the toolbox's version
%   model.normalization  'fully_normalized' or 'unnormalized': of C and S
%   model.tide_system    the file's tide_system ('' when it gives none):
%                        reported, nothing is converted
%   model.name           the file's modelname
%   model.cache          lets geoharm_batch and geoharm_gradient keep the
%                        model they prepare from this struct, so that
%                        repeated calls cost the evaluation alone
%
%   Then A = geoharm_batch(model, P, N, M) and [T, A, U] =
%   geoharm_gradient(model, P, N, M) evaluate it (N, M up to L; C(0,0) is
%   used as given: 0 leaves the harmonic part alone).  A struct you build
%   with GM, R_REF, C, S and normalization is a model too, without
%   geoharm_load: checked and prepared at each call.  Changing a field of a
%   loaded model is safe: a changed C or S is prepared anew.
%
%   The model of geoharm_model() (the compiled-in one) evaluates to
%   exactly the bits of geoharm and geoharm_batch.
%
%   Errors (identifier: cause):
%     geoharm_load:nrhs     no input, or more than two (one for MODEL)
%     geoharm_load:file     FILE is not a character row or a string
%     geoharm_load:epoch    EPOCH is not a decimal year or 'yyyy-mm-dd'
%     geoharm_load:refused  the file is not a model: the message names the
%                           file, the line and what is wrong
%     geoharm_load:model    MODEL is not a model (the field at fault)
%
%   Example:
%     model = geoharm_load('EGM2008.gfc');
%     A = geoharm_batch(model, [7000000 1000000 2000000], 360, 360)
%
%   See also geoharm_batch, geoharm_gradient, geoharm_model.
  if nargin < 1 || nargin > 2 || (nargin == 2 && isstruct(source))
    error('geoharm_load:nrhs', 'One or two inputs are taken: FILE and EPOCH, or a model struct alone.');
  end
  if isstruct(source)
    key = call_plugin(source);
    model = source;
    model.cache = struct('key', key);
    model.cache.C = model.C;
    model.cache.S = model.S;
    return
  end
  if isa(source, 'string') && numel(source) == 1
    source = char(source);
  end
  if ~ischar(source) || isempty(source) || size(source, 1) ~= 1
    error('geoharm_load:file', 'FILE must be a file name: a character row or a string.');
  end
  epoch_bytes = uint8([]);
  if nargin == 2 && ~isempty(epoch)
    if isa(epoch, 'string') && numel(epoch) == 1
      epoch = char(epoch);
    end
    if ischar(epoch) && size(epoch, 1) == 1
      text = epoch;
    elseif isnumeric(epoch) && isreal(epoch) && isscalar(epoch) && ~islogical(epoch)
      text = sprintf('%.17g', double(epoch));
    else
      error('geoharm_load:epoch', 'EPOCH must be a decimal year (a number or its text) or a date ''yyyy-mm-dd''.');
    end
    epoch_bytes = unicode2native(text, 'UTF-8');
  end
  [gm, r_ref, max_degree, C, S, normalization, name, tide_system, key] = ...
      call_plugin(unicode2native(source, 'UTF-8'), epoch_bytes);
  [~, ~, ~, ~, ~, version] = geoharm_model_tables();
  normalizations = {'fully_normalized', 'unnormalized'};
  model = struct('GM', gm, 'R_REF', r_ref, 'max_degree', max_degree, 'C', C, 'S', S, ...
                 'version', sprintf('%d.%d.%d', version), ...
                 'normalization', normalizations{normalization + 1}, ...
                 'tide_system', text_of(tide_system), 'name', text_of(name));
  % The cache shares C and S with the model: a change to either copies it,
  % so the plug-ins see a changed model as a new one.
  model.cache = struct('key', key);
  model.cache.C = model.C;
  model.cache.S = model.S;
end

function varargout = call_plugin(varargin)
  % The plug-in's errors under this function's name.
  try
    [varargout{1:nargout}] = geoharm_model_file(varargin{:});
  catch err
    error(strrep(err.identifier, 'geoharm_model_file:', 'geoharm_load:'), '%s', err.message);
  end
end

function text = text_of(bytes)
  % UTF-8 bytes as a character row ('' for none).
  if isempty(bytes)
    text = '';
  else
    text = native2unicode(bytes, 'UTF-8');
  end
end
