function test_geoharm_classes()
% N and M of every numeric and logical class: an int8 is taken as it is,
% any other class by its value, truncated toward zero and saturated to
% int8; each case must give the bits of the int8 call it stands for.
  r = [7000000; 1000000; 2000000];
  full = geoharm(r, int8(10), int8(10));
  % {N, M, the int8 N, M they mean}
  cases = {
    10,          10,          10,   10    % doubles: the value, not the first byte
    single(10),  single(10),  10,   10
    int16(10),   int32(10),   10,   10
    int64(10),   uint8(10),   10,   10
    uint16(10),  uint32(10),  10,   10
    uint64(10),  10,          10,   10
    10.9,        10.999,      10,   10    % truncated toward zero
    4.7,         int16(2),    4,    2
    int16(266),  uint8(200),  127,  127   % saturated, not the low byte
    int16(-3),   int8(10),    -3,   10    % signed classes keep their sign
    int8(10),    int16(-300), 10,   -128
    int8(10),    int32(-2),   10,   -2
    int8(10),    int64(-5),   10,   -5
    int8(10),    single(-2.5), 10,  -2
    int32(65541), uint32(65539), 127, 127 % all 32 bits count, not 16
    int64(4294967300), uint64(4294967299), 127, 127   % all 64 bits count
    int8(3),     logical(0),  3,    0
    1e6,         -1e6,        127,  -128
    Inf,         -Inf,        127,  -128
    -0.9,        10,          0,    10    % truncated to 0: central term
    true,        true,        1,    1
    false,       int8(10),    0,    10
    int8(-1),    int8(10),    -1,   10    % N < 0: central term
  };
  for k = 1:rows(cases)
    [n, m, n8, m8] = cases{k, :};
    want = geoharm(r, int8(n8), int8(m8));
    what = sprintf('case %d: N %s %s, M %s %s', k, class(n), mat2str(n), class(m), mat2str(m));
    assert_same_bits(geoharm(r, n, m), want, what);
  end
  % The limits: above 10 is 10; N <= 1 or M < 0 is the central term alone.
  central = geoharm(r, int8(0), int8(0));
  assert_same_bits(geoharm(r, int8(127), int8(11)), full, 'N, M above 10');
  assert_same_bits(geoharm(r, int8(1), int8(10)), central, 'N = 1');
  assert_same_bits(geoharm(r, int8(10), int8(-1)), central, 'M = -1');
  assert(any(full ~= central), 'the harmonic terms change the result');
  % With no output asked for, the result still arrives (in ans).
  geoharm(r, int8(10), int8(10));
  assert_same_bits(ans, full, 'nargout = 0');
  printf('%d class cases and the limits: same bits\n', rows(cases));
end
