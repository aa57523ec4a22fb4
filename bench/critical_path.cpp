// geoharm-critical-path ADD MUL DIV SQRT FMA - the operations per point of
// the evaluation by kind, and the length of one point's critical path
// (tests/operation_trace.h) for the given latency of each kind (any unit,
// e.g. the ns of geoharm-bench --benchmark_filter=BM_latency), with the
// recursion's divisions by constants through the divider and through the
// exact division by FMA; at N = M = 10, 4 and 2, for a position at
// 7,000 km.
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "operation_trace.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s ADD MUL DIV SQRT FMA (latencies)\n", argv[0]);
        return 2;
    }
    geoharm_test::Latencies latency{std::atof(argv[1]), std::atof(argv[2]), std::atof(argv[3]),
                                    std::atof(argv[4]), std::atof(argv[5]), false};
    std::printf("N=M  add  mul  div  div-by-constant  sqrt  critical-path(divider)  critical-path(fma-division)\n");
    for (int n : {10, 4, 2}) {
        latency.fmaDivision = false;
        const geoharm_test::Trace plain = geoharm_test::traceOnePoint(3.0e6, 4.0e6, 5.0e6, n, n, latency);
        latency.fmaDivision = true;
        const geoharm_test::Trace fma = geoharm_test::traceOnePoint(3.0e6, 4.0e6, 5.0e6, n, n, latency);
        const geoharm_test::OperationCounts& c = plain.counts;
        std::printf("%3d %4ld %4ld %4ld %16ld %5ld %23.4g %28.4g\n", n, c.add, c.mul, c.div, c.divConstant, c.sqrt,
                    plain.finish, fma.finish);
    }
    return 0;
}
