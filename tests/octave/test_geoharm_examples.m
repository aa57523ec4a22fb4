function test_geoharm_examples(header)
% Every worked example through the plug-in inside Octave, bit for bit,
% with N and M given as int8 scalars (the class the plug-in reads exactly).
  printf('geoharm is %s\n', which('geoharm'));
  ex = read_worked_examples(header);
  for k = 1:numel(ex)
    what = sprintf('example %d (N=%d, M=%d)', k, ex(k).n, ex(k).m);
    a = geoharm(ex(k).r, int8(ex(k).n), int8(ex(k).m));
    assert_same_bits(a, ex(k).a, what);
    % A row vector and trailing elements do not change the result.
    assert_same_bits(geoharm([ex(k).r.' 1 2 3], int8(ex(k).n), int8(ex(k).m)), ex(k).a, [what ', row + extra']);
  end
  printf('%d worked examples: same bits\n', numel(ex));
  assert_adapters_loaded(fileparts(which('geoharm')));
end

function assert_adapters_loaded(folder)
% The plug-in's libmx.so, libmex.so and libmat.so are the adapters beside
% it, not another host's libraries that a run path in the plug-in (or an
% RPATH, which outranks LD_LIBRARY_PATH) could have pulled in.
  maps = fileread('/proc/self/maps');
  for lib = {'libmx.so', 'libmex.so', 'libmat.so'}
    paths = regexp(maps, ['(/\S*/' strrep(lib{1}, '.', '\.') ')\n'], 'tokens');
    paths = unique([paths{:}]);
    assert(numel(paths) == 1, '%s is loaded from %d places: %s', lib{1}, numel(paths), strjoin(paths, ', '));
    assert(strcmp(paths{1}, fullfile(folder, lib{1})), '%s is loaded from %s, not from %s', lib{1}, paths{1}, folder);
  end
  printf('adapters loaded from %s\n', folder);
end
