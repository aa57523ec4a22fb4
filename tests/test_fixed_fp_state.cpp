// The caller's floating-point state changes no result of the field's entry
// points, nothing traps, and the caller gets its state back exactly, flags
// it had raised included.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <limits>
#include <vector>

#include "bits.h"
#include "caller_fp_states.h"
#include "point/evaluate_acceleration.h"
#include "many/evaluate_acceleration_many.h"

namespace {

using geoharm::FieldInput;
using geoharm_test::bitsOf;

const double INF = std::numeric_limits<double>::infinity();
const double NAN_ = std::numeric_limits<double>::quiet_NaN();

/* Positions whose evaluation divides by zero, overflows, underflows,
   meets subnormal values or rounds in the last bit: the origin, non-finite
   and extreme coordinates next to ordinary ones. */
const FieldInput POSITIONS[] = {
    {7000000.0, 1000000.0, 2000000.0, 10, 10}, {0.0, 0.0, 0.0, 10, 10},       {-0.0, 0.0, -0.0, 0, 0},
    {NAN_, 1.0e6, 2.0e6, 10, 10},              {INF, 1.0e6, 2.0e6, 10, 10},   {7.0e6, -INF, 2.0e6, 0, 0},
    {1.0e154, 1.0e154, 1.0e154, 10, 10},       {1.0e-17, 2.0e-17, 0.0, 10, 10}, {1.0e-150, 0.0, 0.0, 0, 0},
    {4.9e-324, 7.0e6, 1.0e6, 10, 10},          {7.0e6, 1.0e-310, -2.5e-320, 4, 2},
    {6378137.0, 0.0, 1.0e-300, 10, 10},        {488603.552, 8134012.108, -9947002.437, 3, 1},
    {2.0e8, -3.0e8, 1.0e8, 10, 10},            {1.0e20, 1.0e20, -1.0e20, 10, 10},
};
constexpr std::size_t COUNT = sizeof POSITIONS / sizeof POSITIONS[0];

/* Flags a caller may have raised before the call: overflow and inexact. */
constexpr unsigned int RAISED_BEFORE = 0x0028u;

void expectSameBits(const double want[3], const double got[3], const FieldInput& p, const char* state) {
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(bitsOf(want[i]), bitsOf(got[i]))
            << state << ": (" << p.x << ", " << p.y << ", " << p.z << ") N=" << int(p.n) << " M=" << int(p.m)
            << " component " << i << ": " << geoharm_test::describe(got[i]) << " instead of "
            << geoharm_test::describe(want[i]);
    }
}

TEST(FixedFpState, EveryCallerStateGivesTheDefaultStatesBitsAndGetsItsStateBack) {
    /* The results in the default state. */
    double want[COUNT][3];
    for (std::size_t k = 0; k < COUNT; k++) geoharm::evaluateAcceleration(POSITIONS[k], want[k]);

    double x[COUNT], y[COUNT], z[COUNT];
    for (std::size_t k = 0; k < COUNT; k++) {
        x[k] = POSITIONS[k].x;
        y[k] = POSITIONS[k].y;
        z[k] = POSITIONS[k].z;
    }

    const unsigned int testState = _mm_getcsr();
    for (const geoharm::CallerFpState& s : geoharm::CALLER_FP_STATES) {
        const unsigned int caller = s.mxcsr | RAISED_BEFORE;

        /* One point at a time; the state is checked after every call. */
        double got[COUNT][3];
        unsigned int after[COUNT];
        for (std::size_t k = 0; k < COUNT; k++) {
            _mm_setcsr(caller);
            geoharm::evaluateAcceleration(POSITIONS[k], got[k]);
            after[k] = _mm_getcsr();
            _mm_setcsr(testState);
        }

        /* All points in one call, each with its own N and M. */
        double many[COUNT][3];
        unsigned int afterMany[COUNT];
        for (std::size_t k = 0; k < COUNT; k++) {
            double ax, ay, az;
            _mm_setcsr(caller);
            geoharm::evaluateAccelerationMany(1, &x[k], &y[k], &z[k], POSITIONS[k].n, POSITIONS[k].m, &ax, &ay, &az);
            afterMany[k] = _mm_getcsr();
            _mm_setcsr(testState);
            many[k][0] = ax;
            many[k][1] = ay;
            many[k][2] = az;
        }

        for (std::size_t k = 0; k < COUNT; k++) {
            expectSameBits(want[k], got[k], POSITIONS[k], s.name);
            expectSameBits(want[k], many[k], POSITIONS[k], s.name);
            EXPECT_EQ(after[k], caller) << s.name << ": state after evaluateAcceleration at point " << k;
            EXPECT_EQ(afterMany[k], caller) << s.name << ": state after evaluateAccelerationMany at point " << k;
        }
    }
}

}  // namespace
