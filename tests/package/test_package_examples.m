function test_package_examples(header)
% geoharm from the installed package, loaded with no library path and no
% host library beside it, gives every worked example bit for bit (N and M
% as int8, and as doubles).
  assert(isempty(getenv('LD_LIBRARY_PATH')), 'LD_LIBRARY_PATH is set');
  ex = read_worked_examples(header);
  for k = 1:numel(ex)
    what = sprintf('example %d (N=%d, M=%d)', k, ex(k).n, ex(k).m);
    assert_same_bits(geoharm(ex(k).r, int8(ex(k).n), int8(ex(k).m)), ex(k).a, what);
    assert_same_bits(geoharm(ex(k).r, ex(k).n, ex(k).m), ex(k).a, [what ', double N and M']);
  end
  printf('%d worked examples: same bits\n', numel(ex));
  maps = fileread('/proc/self/maps');
  host = regexp(maps, '\S*/lib(mx|mex|mat)\.so\S*', 'match');
  assert(isempty(host), 'host libraries loaded: %s', strjoin(unique(host), ', '));
end
