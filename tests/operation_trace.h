/*
 * operation_trace.h - the lane kernel (lane_kernel.h) run on one point with
 * a lane type whose "register" is a traced double: every operation is
 * counted by kind, and every value carries the time at which it is ready
 * when each kind of operation takes a given latency and nothing waits for
 * a free unit.  The largest ready time of the results is the length of the
 * point's critical path: no routine that performs these operations in
 * this order (the lane routines, and the single-point routines, whose
 * operations are the same) can finish one point sooner.
 *
 * Divisions by a constant (a divisor made by set1: the recursion's
 * 3, 5, 6, 7, 9, 10, 11) are counted apart from the other divisions: the
 * routines built with FMA perform them as a multiplication and two fused
 * multiply-adds (exactQuotient, lane_divide.h), one after the other.
 *
 * The kernel is instantiated in a namespace of the test's own ("traced",
 * GEOHARM_LEVEL of tests/CMakeLists.txt), as a level's sources are.
 */
#ifndef GEOHARM_TESTS_OPERATION_TRACE_H
#define GEOHARM_TESTS_OPERATION_TRACE_H

#include <cmath>

#include "many/lane_kernel.h"

namespace geoharm_test {

/* Operations per point, by kind. */
struct OperationCounts {
    long add = 0;         /* additions and subtractions */
    long mul = 0;         /* multiplications */
    long div = 0;         /* divisions by a value computed for the point */
    long divConstant = 0; /* divisions by a small integer constant */
    long sqrt = 0;
};

/* Latency of each kind (any unit); a division by a constant takes `div`
   through the divider, or mul + 2 fma in the routines built with FMA. */
struct Latencies {
    double add, mul, div, sqrt, fma;
    bool fmaDivision;
};

struct Trace {
    OperationCounts counts;
    Latencies latency{};
    double finish = 0.0; /* the largest ready time of a result */
};

/* The trace being recorded (the kernel calls the operators below). */
inline Trace& currentTrace() {
    static Trace t;
    return t;
}

/* A double, when it is ready, and whether it is a constant (set1). */
struct Traced {
    double v = 0.0;
    double ready = 0.0;
    bool constant = false;
};

inline double later(const Traced& a, const Traced& b) { return a.ready > b.ready ? a.ready : b.ready; }

inline Traced operator+(const Traced& a, const Traced& b) {
    Trace& t = currentTrace();
    t.counts.add++;
    return {a.v + b.v, later(a, b) + t.latency.add, false};
}

inline Traced operator-(const Traced& a, const Traced& b) {
    Trace& t = currentTrace();
    t.counts.add++;
    return {a.v - b.v, later(a, b) + t.latency.add, false};
}

inline Traced operator*(const Traced& a, const Traced& b) {
    Trace& t = currentTrace();
    t.counts.mul++;
    return {a.v * b.v, later(a, b) + t.latency.mul, false};
}

inline Traced operator/(const Traced& a, const Traced& b) {
    Trace& t = currentTrace();
    double took = t.latency.div;
    if (b.constant) {
        t.counts.divConstant++;
        if (t.latency.fmaDivision) took = t.latency.mul + 2 * t.latency.fma;
    } else {
        t.counts.div++;
    }
    return {a.v / b.v, later(a, b) + took, false};
}

/* The lane comparison of the one-NaN rule at the stores (toDefaultNanLanes,
   default_nan.h): one lane, so a bool; it and the select after it are no
   arithmetic, and are not counted. */
inline bool operator!=(const Traced& a, const Traced& b) { return a.v != b.v; }

/* One lane; loads are ready at time 0, stores note the finish. */
struct TracedLanes {
    using V = Traced;
    static constexpr int WIDTH = 1;
    static V set1(double v) { return {v, 0.0, true}; }
    static V load(const double* p) { return {*p, 0.0, false}; }
    static void store(double* p, V v) {
        *p = v.v;
        Trace& t = currentTrace();
        if (v.ready > t.finish) t.finish = v.ready;
    }
    static V sqrt(V v) {
        Trace& t = currentTrace();
        t.counts.sqrt++;
        return {std::sqrt(v.v), v.ready + t.latency.sqrt, false};
    }
};

/* The trace of one evaluation at (x, y, z) with limits N, M (clamped to
   the model by the caller) and the given latencies. */
inline Trace traceOnePoint(double x, double y, double z, int N, int M, const Latencies& latency) {
    Trace& t = currentTrace();
    t = Trace{};
    t.latency = latency;
    double ax, ay, az;
    geoharm::GEOHARM_LEVEL::laneGroup<TracedLanes>(&x, &y, &z, N, M, &ax, &ay, &az);
    return t;
}

}  // namespace geoharm_test

#endif
