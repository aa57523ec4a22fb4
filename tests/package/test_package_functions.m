function test_package_functions(prefix, varargin)
% Every function of the package (the names given) is its MEX file in the
% package prefix, and `help NAME` shows the help file put beside it.
  for k = 1:numel(varargin)
    name = varargin{k};
    file = which(name);
    assert(strncmp(file, prefix, numel(prefix)) && endsWith(file, '.mex'), ...
           '%s is "%s", not the package''s MEX file under %s', name, file, prefix);
    text = evalc(['help ' name]);
    assert(~isempty(strfind(text, upper(name))), 'help %s does not show its help file', name);
    printf('%s: %s, with its help\n', name, file);
  end
end
