function test_geoharm_many_calls()
% 100,000 calls in a loop (and 10,000 failing ones) without a crash, with
% every result the same bits and the resident memory steady: the output
% arrays are handed to Octave and freed by it, and the unwinding of an
% error leaves nothing behind.
%
% Octave's allocators grow during the first few thousand calls and its
% error machinery takes about 2 MiB the first time an error is raised, so
% the resident size is read after every 10,000 calls (1,000 failing ones)
% and only the growth after the first two blocks counts.  A leak of one
% 3x1 array (about 100 bytes with its header) per call would add some
% 8 MiB over the 80,000 calls that count; a steady loop stays within
% 512 KiB (it does not grow at all in practice).
  r = [7000000; 1000000; 2000000];
  want = geoharm(r, int8(10), int8(10));
  good = zeros(1, 10);
  bad = 0;
  for block = 1:10
    for k = 1:10000
      a = geoharm(r, int8(10), int8(10));
      bad = bad + any(a ~= want);
    end
    good(block) = resident_kib();
  end
  assert(bad == 0, '%d of 100000 calls gave other values', bad);
  failing = zeros(1, 10);
  raised = 0;
  for block = 1:10
    for k = 1:1000
      try
        geoharm(r, int8(10), NaN);
      catch err
        raised = raised + strcmp(err.identifier, 'geoharm:order');
      end
    end
    failing(block) = resident_kib();
  end
  assert(raised == 10000, '%d of 10000 failing calls raised geoharm:order', raised);
  printf('VmRSS (KiB) after each 10000 calls: %s\n', mat2str(good));
  printf('VmRSS (KiB) after each 1000 failing calls: %s\n', mat2str(failing));
  assert(good(end) - good(2) < 512, 'resident memory grew by %d KiB over 80000 calls', good(end) - good(2));
  assert(failing(end) - failing(2) < 512, 'resident memory grew by %d KiB over 8000 failing calls', ...
         failing(end) - failing(2));
end

function kib = resident_kib()
  status = fileread('/proc/self/status');
  kib = str2double(regexp(status, 'VmRSS:\s*(\d+)', 'tokens', 'once'){1});
end
