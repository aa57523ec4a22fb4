/*
 * eval_field.cpp - one record or many points of the compiled-in model or
 * a loaded one (eval_field.h).
 */
#include "eval_field.h"

#include <cstdint>

#include "many/evaluate_acceleration_many.h"
#include "many/evaluate_gradient_many.h"
#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"

namespace geoharm {

int EvalField::line(const Record& record, bool gradient, double line[GRADIENT_LINE_VALUES]) const {
    const double position[3] = {record.x, record.y, record.z};
    if (!gradient) {
        if (model_ != nullptr) {
            model_->acceleration(position, record.n, record.m, line);
        } else {
            evaluateAcceleration(fieldInputOf(record), line);
        }
        return 3;
    }
    double T[9], a[3], U;
    if (model_ != nullptr) {
        model_->gradient(position, record.n, record.m, T, a, &U);
    } else {
        evaluateGradient(fieldInputOf(record), T, a, &U);
    }
    gradientLine(U, a, T, line);
    return GRADIENT_LINE_VALUES;
}

void EvalField::many(std::size_t count, const double* x, const double* y, const double* z, int n, int m, double* T,
                     double* ax, double* ay, double* az, double* U) const {
    if (model_ != nullptr) {
        if (T != nullptr)
            model_->gradientMany(count, x, y, z, n, m, T, ax, ay, az, U);
        else
            model_->accelerationMany(count, x, y, z, n, m, ax, ay, az);
        return;
    }
    const std::int8_t n8 = static_cast<std::int8_t>(n), m8 = static_cast<std::int8_t>(m);
    if (T != nullptr)
        evaluateGradientMany(count, x, y, z, n8, m8, T, ax, ay, az, U);
    else
        evaluateAccelerationMany(count, x, y, z, n8, m8, ax, ay, az);
}

}  // namespace geoharm
