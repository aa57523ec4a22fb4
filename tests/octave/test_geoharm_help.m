function test_geoharm_help()
% help geoharm shows the text of geoharm.m although the call goes to the
% compiled plug-in beside it.
  assert(exist('geoharm') == 3, 'geoharm is not the compiled plug-in');
  text = evalc('help geoharm');
  disp(text);
  needed = {'a = geoharm(r, N, M)', 'metres', 'm/s^2', 'Earth-fixed Cartesian', 'int8', 'truncated', ...
            'saturated', '398600446148608.0', '6378137.0', 'unnormalised', 'geoharm:nrhs', ...
            'geoharm:position', 'geoharm:degree', 'geoharm:order', '-7.036925776266761', ...
            '-1.0053211772743258', '-2.015446846294957'};
  for k = 1:numel(needed)
    assert(~isempty(strfind(text, needed{k})), 'help geoharm does not mention "%s"', needed{k});
  end
  % The example calls with plain doubles, and its printed result is what
  % the call returns.
  call = regexp(text, 'a = (geoharm\(\[[^\n]*\))', 'tokens', 'once');
  shown = regexp(text, 'a = \[([^]]*)\]', 'tokens', 'once');
  assert(~isempty(call) && ~isempty(shown), 'help geoharm shows no example');
  assert(isempty(strfind(call{1}, 'int8')), 'the example of help geoharm writes int8: %s', call{1});
  want = str2double(strsplit(shown{1}, ';')).';
  assert_same_bits(eval(call{1}), want, 'the example in the help text');
  assert_package_install_advice(text, 'geoharm');
end
