/*
 * evaluate_some_outputs_many.cpp - the compiled-in model at many points
 * with any of its outputs left out.
 */
#include "many/evaluate_some_outputs_many.h"

#include "many/evaluate_acceleration_many.h"
#include "many/evaluate_gradient_many.h"

namespace geoharm {

void evaluateSomeOutputsMany(std::size_t count, const double* x, const double* y, const double* z, std::int8_t n,
                             std::int8_t m, double* U, double* ax, double* ay, double* az, double* T) {
    const bool someA = ax != nullptr || ay != nullptr || az != nullptr;
    const bool wholeA = ax != nullptr && ay != nullptr && az != nullptr;
    if (U == nullptr && T == nullptr) {
        if (wholeA) {
            evaluateAccelerationMany(count, x, y, z, n, m, ax, ay, az);
            return;
        }
        if (!someA) return;
    } else if (T != nullptr && (wholeA || !someA)) {
        evaluateGradientMany(count, x, y, z, n, m, T, ax, ay, az, U);
        return;
    }
    constexpr std::size_t BLOCK = 256;
    double tensors[9 * BLOCK], components[3][BLOCK];
    double* const a[3] = {ax, ay, az};
    for (std::size_t k = 0; k < count; k += BLOCK) {
        const std::size_t c = count - k < BLOCK ? count - k : BLOCK;
        double* b[3];
        for (int i = 0; i < 3; i++) b[i] = a[i] != nullptr ? a[i] + k : components[i];
        if (U == nullptr && T == nullptr)
            evaluateAccelerationMany(c, x + k, y + k, z + k, n, m, b[0], b[1], b[2]);
        else
            evaluateGradientMany(c, x + k, y + k, z + k, n, m, T != nullptr ? T + 9 * k : tensors,
                                 someA ? b[0] : nullptr, someA ? b[1] : nullptr, someA ? b[2] : nullptr,
                                 U != nullptr ? U + k : nullptr);
    }
}

}  // namespace geoharm
