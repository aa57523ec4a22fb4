/*
 * eval_field.h - the field geoharm-eval evaluates: the compiled-in model,
 * through the field's own entry points (8-bit limits), or a model loaded
 * from a file (GravityModel, limits of any int).  Every double is the
 * routine's own; a record's line is formed as record_io.h says.
 */
#ifndef GEOHARM_TOOLS_EVAL_FIELD_H
#define GEOHARM_TOOLS_EVAL_FIELD_H

#include <cstddef>

#include "geoharm/gravity_model.h"
#include "record_io.h"

namespace geoharm {

class EvalField {
public:
    /* The compiled-in model for a null `model`, else *model (which must
       outlive this). */
    explicit EvalField(const GravityModel* model) : model_(model) {}

    /* The N and M its records may hold. */
    LimitRange limitRange() const { return model_ != nullptr ? LimitRange::Int : LimitRange::Int8; }

    /* One record's line: the acceleration, or with `gradient` the 13
       values of gradientLine; returns the number of values.  The record's
       N and M must be in limitRange(). */
    int line(const Record& record, bool gradient, double line[GRADIENT_LINE_VALUES]) const;

    /* The acceleration at count points (x[k], y[k], z[k]) of one N and M,
       through the many-point routines; with T non-null the gradient (T,
       the acceleration and U), as evaluateGradientMany gives it. */
    void many(std::size_t count, const double* x, const double* y, const double* z, int n, int m, double* T,
              double* ax, double* ay, double* az, double* U) const;

private:
    const GravityModel* model_;
};

}  // namespace geoharm

#endif
