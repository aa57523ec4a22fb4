function test_package_functions(prefix, mex_names, m_names)
% Every function of the package is in the package prefix: each plug-in
% (mex_names) its MEX file, with `help NAME` showing the help file put
% beside it; each function in Octave's language (m_names) its .m file,
% with its help.
  names = [mex_names, m_names];
  for k = 1:numel(names)
    name = names{k};
    kind = '.mex';
    if k > numel(mex_names)
      kind = '.m';
    end
    file = which(name);
    assert(strncmp(file, prefix, numel(prefix)) && endsWith(file, kind), ...
           '%s is "%s", not the package''s %s file under %s', name, file, kind, prefix);
    text = evalc(['help ' name]);
    assert(~isempty(strfind(text, upper(name))), 'help %s does not show its help file', name);
    printf('%s: %s, with its help\n', name, file);
  end
end
