function assert_package_install_advice(text, name)
% ASSERT_PACKAGE_INSTALL_ADVICE  A help text tells Octave users to install
% the package for themselves (pkg install -local, which needs no root) and
% never to set LD_LIBRARY_PATH, which the package does not need.
  assert(~isempty(strfind(text, 'pkg install -local')), 'help %s does not show pkg install -local', name);
  assert(isempty(strfind(text, 'LD_LIBRARY_PATH')), 'help %s tells users to set LD_LIBRARY_PATH', name);
end
