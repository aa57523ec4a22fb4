function post_install(desc)
% POST_INSTALL  Puts each help file beside its MEX file.
%
%   pkg install calls this after copying the package: the help files
%   NAME.m into the package folder (desc.dir), the compiled NAME.mex into
%   the architecture-dependent folder under desc.archprefix.  Octave reads
%   a MEX file's help only from the .m file of the same name in the same
%   folder: left in the package folder, NAME.m would not be read ("help:
%   'NAME' is not documented") and would stand on the path as a second
%   NAME.  So each NAME.m that has a NAME.mex is moved to the MEX file's
%   folder.
  mexfiles = dir(fullfile(desc.archprefix, '*', '*.mex'));
  if isempty(mexfiles)
    error('geoharm:install', 'post_install: no MEX file under %s', desc.archprefix);
  end
  for k = 1:numel(mexfiles)
    [~, name] = fileparts(mexfiles(k).name);
    help_file = fullfile(desc.dir, [name '.m']);
    if ~exist(help_file, 'file')
      error('geoharm:install', 'post_install: %s.mex has no help file %s', name, help_file);
    end
    [ok, msg] = movefile(help_file, mexfiles(k).folder);
    if ~ok
      error('geoharm:install', 'post_install: cannot move %s to %s: %s', help_file, mexfiles(k).folder, msg);
    end
  end
end
