function test_geoharm_model()
% geoharm_model: the struct its help describes, with the tables that
% geoharm computes with, indexed (n+1, m+1): the degree-2 field on the
% polar axis and on the equator, written out from the struct's numbers,
% is what geoharm returns (to the rounding of the two computations).
% geoharm_model_tables refuses inputs and a seventh output.
  model = geoharm_model();
  assert(isequal(sort(fieldnames(model)).', sort({'GM', 'R_REF', 'max_degree', 'C', 'S', 'version', ...
                                                 'normalization', 'tide_system', 'name'})), ...
         'fields: %s', strjoin(fieldnames(model).', ', '));
  assert(model.GM == 398600446148608 && model.R_REF == 6378137 && model.max_degree == 10, 'constants');
  assert(isequal(size(model.C), [11 11]) && isequal(size(model.S), [11 11]), 'tables are not 11-by-11');
  assert(~isempty(regexp(model.version, '^\d+\.\d+\.\d+$', 'once')), 'version "%s"', model.version);
  assert(all(double(single(model.C(:))) == model.C(:)) && all(double(single(model.S(:))) == model.S(:)), ...
         'a coefficient is not a single-precision value');

  GM = model.GM;
  R = model.R_REF;
  r = 7000000;
  % Polar axis, degree 2: a_z = -GM/r^2 (1 + 3 C(2,0) (R/r)^2).
  a = geoharm([0; 0; r], 2, 0);
  want = -GM / r^2 * (1 + 3 * model.C(3, 1) * (R / r)^2);
  assert(abs(a(3) - want) < 1e-13 * abs(want), 'polar axis: %.17g, expected %.17g', a(3), want);
  % Equator at longitude lon, degree and order 2, harmonic part alone:
  % radial a = -3 GM R^2/r^4 (-C(2,0)/2 + 3 (C(2,2) cos 2lon + S(2,2) sin 2lon)).
  for lon = [0.3, 1.2, -2.5]
    p = r * [cos(lon); sin(lon); 0];
    a = geoharm(p, 2, 2) - geoharm(p, 0, 0);
    radial = a.' * p / r;
    want = -3 * GM * R^2 / r^4 * (-model.C(3, 1) / 2 + 3 * (model.C(3, 3) * cos(2 * lon) + model.S(3, 3) * sin(2 * lon)));
    assert(abs(radial - want) < 1e-11 * abs(want), 'equator, longitude %g: %.17g, expected %.17g', lon, radial, want);
  end

  % The plug-in behind it: no inputs, at most six outputs.
  cases = {{1}, 1, 'geoharm_model_tables:nrhs', 'Too many inputs: none are taken.'
           {},  7, 'geoharm_model_tables:nlhs', 'Ask for at most six outputs: GM, R_REF, maximum degree, C, S, version.'};
  for k = 1:rows(cases)
    [args, nout, id, text] = cases{k, :};
    try
      out = cell(1, nout);
      [out{:}] = geoharm_model_tables(args{:});
      error('case %d: no error, expected %s', k, id);
    catch err
      assert(strcmp(err.identifier, id), 'case %d: identifier "%s"', k, err.identifier);
      assert(strcmp(err.message, ['geoharm_model_tables: ' text]), 'case %d: message "%s"', k, err.message);
    end
  end
  printf('geoharm_model %s: the struct, its tables as geoharm uses them, the refusals\n', model.version);
end
