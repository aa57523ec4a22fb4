// The operations per point of the lane kernel by kind, counted by running
// it on traced doubles (operation_trace.h), against the count worked out
// by hand from the recursion and the sums (docs/performance.md); the
// counts the speed bounds there rest on.
#include <gtest/gtest.h>

#include "operation_trace.h"

namespace {

bool powerOfTwo(int d) { return (d & (d - 1)) == 0; }

/* By hand, N = M (1..10): scalars and central term, the recursion's
   factors and seeds, rows 2..N+1 (zonal entry, columns j = 1..k-2 of V
   and W, sub-diagonal, diagonal), terms of degree 1..N (order 0, orders
   1..n-1, order n, whose F = 2 is an addition). */
geoharm_test::OperationCounts byHand(int N) {
    geoharm_test::OperationCounts c;
    c.sqrt = 1;
    c.div = 3 + 3 + 1;                   /* GM/s, R/s, R^2/s; x, y, z over r; R/r */
    c.mul = 7 + 3 + N + (2 * N - 1) + 5; /* scalars, central, A[k], B[i], seeds */
    c.add = 2 + 3 + 2;
    for (int k = 2; k <= N + 1; k++) {
        c.mul += 2 + 2 + 6; /* zonal, sub-diagonal, diagonal */
        c.add += 1 + 2;
        (powerOfTwo(k) ? c.mul : c.divConstant) += 1;
        for (int j = 1; j <= k - 2; j++) {
            c.mul += 4;
            c.add += 2;
            (powerOfTwo(k - j) ? c.mul : c.divConstant) += 2;
        }
    }
    for (int n = 1; n <= N; n++) {
        c.mul += 8 + 16 * (n - 1) + 13;
        c.add += 4 + 10 * (n - 1) + 12;
    }
    return c;
}

}  // namespace

TEST(OperationCounts, TheKernelPerformsTheCountedOperations) {
    for (int N = 1; N <= 10; N++) {
        const geoharm_test::Trace t =
            geoharm_test::traceOnePoint(3.0e6, 4.0e6, 5.0e6, N, N, {1, 1, 1, 1, 1, false});
        const geoharm_test::OperationCounts want = byHand(N);
        EXPECT_EQ(t.counts.add, want.add) << "N = M = " << N;
        EXPECT_EQ(t.counts.mul, want.mul) << "N = M = " << N;
        EXPECT_EQ(t.counts.div, want.div) << "N = M = " << N;
        EXPECT_EQ(t.counts.divConstant, want.divConstant) << "N = M = " << N;
        EXPECT_EQ(t.counts.sqrt, want.sqrt) << "N = M = " << N;
    }
}
