/*
 * evaluate_acceleration_many.cpp - many points, one after the other through
 * the single-point evaluation, in one fixed floating-point state.
 */
#include "evaluate_acceleration_many.h"

#include "evaluate_acceleration.h"
#include "fixed_fp_state.h"

namespace geoharm {

void evaluateAccelerationMany(std::size_t count, const double* x, const double* y, const double* z,
                              std::int8_t n, std::int8_t m, double* ax, double* ay, double* az) {
    /* One save and load of the caller's state for the whole batch. */
    const FixedFpState fixedState;
    for (std::size_t k = 0; k < count; k++) {
        const FieldInput in{x[k], y[k], z[k], n, m};
        double a[3];
        evaluateAccelerationUnguarded(in, a);
        ax[k] = a[0];
        ay[k] = a[1];
        az[k] = a[2];
    }
}

}  // namespace geoharm
