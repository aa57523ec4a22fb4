/*
 * caller_state_probe.cpp - an Octave MEX file of the tests (Octave's own C
 * MEX API, not the project's gateway): the caller's side of a plug-in call,
 * as a MATLAB or Octave session that changed its floating-point state sees
 * it.
 *
 *   caller_state_probe('round', MODE)  sets MXCSR's rounding to MODE:
 *                                      'nearest', 'downward', 'upward' or
 *                                      'towardzero'
 *   mode = caller_state_probe('round') the rounding MXCSR holds now
 *   caller_state_probe('memory', B)    limits the process's address space
 *                                      to what it uses now and B bytes more
 *                                      (setrlimit RLIMIT_AS), so that a
 *                                      later allocation larger than B fails
 */
#include <sys/resource.h>
#include <unistd.h>
#include <xmmintrin.h>

#include <cstdio>
#include <cstring>

#include <octave/mex.h>

namespace {

const char* const MODES[] = {"nearest", "downward", "upward", "towardzero"};

/* The bytes of address space the process uses (/proc/self/statm, pages). */
unsigned long long usedBytes() {
    unsigned long long pages = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr || std::fscanf(f, "%llu", &pages) != 1) mexErrMsgIdAndTxt("probe:statm", "no /proc/self/statm");
    std::fclose(f);
    return pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    static_cast<void>(nlhs);
    char what[16];
    if (nrhs < 1 || mxGetString(prhs[0], what, sizeof what) != 0) mexErrMsgIdAndTxt("probe:usage", "probe what?");
    if (std::strcmp(what, "memory") == 0 && nrhs == 2) {
        const rlimit limit{usedBytes() + static_cast<rlim_t>(mxGetScalar(prhs[1])), RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &limit) != 0) mexErrMsgIdAndTxt("probe:memory", "setrlimit failed");
        return;
    }
    if (std::strcmp(what, "round") != 0) mexErrMsgIdAndTxt("probe:usage", "probe round or memory");
    if (nrhs == 1) {
        plhs[0] = mxCreateString(MODES[(_mm_getcsr() >> 13) & 3u]);
        return;
    }
    char mode[16];
    mxGetString(prhs[1], mode, sizeof mode);
    for (unsigned i = 0; i < 4; i++)
        if (std::strcmp(mode, MODES[i]) == 0) {
            _mm_setcsr((_mm_getcsr() & ~0x6000u) | (i << 13));
            return;
        }
    mexErrMsgIdAndTxt("probe:usage", "no such rounding mode");
}
