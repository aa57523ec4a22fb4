/*
 * c_api.cpp - the C interface (<geoharm/geoharm_c.h>) on the C++ one: each
 * routine hands its arguments to its C++ counterpart (geoharm::acceleration,
 * gradient, version, model) as they are, so that the two interfaces cannot
 * give different bits; the many-point routines to the one that takes any
 * output left out (evaluateSomeOutputsMany), with the C++ routines'
 * limits (limitArgument).
 *
 * The C routines also take the null pointers the C header allows, which
 * the C++ routines do not: a null input (with points to read) makes the
 * call write nothing, and any output may be null.
 */
#include "geoharm/geoharm_c.h"

#include <cstring>

#include "geoharm/geoharm.h"
#include "many/evaluate_some_outputs_many.h"
#include "model/limit_argument.h"

static_assert(GEOHARM_GM == geoharm::GM && GEOHARM_R_REF == geoharm::R_REF &&
                  GEOHARM_MAX_DEGREE == geoharm::MAX_DEGREE,
              "the C constants are the C++ ones");
static_assert(sizeof(geoharm_model::c) == sizeof(geoharm::Model::C) &&
                  sizeof(geoharm_model::s) == sizeof(geoharm::Model::S),
              "the C tables are the C++ tables' size");

extern "C" {

void geoharm_acceleration(const double position[3], int n, int m, double a[3]) {
    if (position == nullptr || a == nullptr) return;
    geoharm::acceleration(position, n, m, a);
}

void geoharm_acceleration_many(size_t count, const double* x, const double* y, const double* z, int n, int m,
                               double* ax, double* ay, double* az) {
    if (x == nullptr || y == nullptr || z == nullptr) return;
    geoharm::evaluateSomeOutputsMany(count, x, y, z, geoharm::limitArgument(n), geoharm::limitArgument(m), nullptr, ax,
                                     ay, az, nullptr);
}

void geoharm_gradient(const double position[3], int n, int m, double t[9], double a[3], double* u) {
    if (position == nullptr || (t == nullptr && a == nullptr && u == nullptr)) return;
    double scratch[9];
    geoharm::gradient(position, n, m, t != nullptr ? t : scratch, a, u);
}

void geoharm_gradient_many(size_t count, const double* x, const double* y, const double* z, int n, int m, double* t,
                           double* ax, double* ay, double* az, double* u) {
    if (x == nullptr || y == nullptr || z == nullptr) return;
    geoharm::evaluateSomeOutputsMany(count, x, y, z, geoharm::limitArgument(n), geoharm::limitArgument(m), u, ax, ay,
                                     az, t);
}

const char* geoharm_version(void) { return geoharm::version(); }

void geoharm_get_model(struct geoharm_model* model) {
    if (model == nullptr) return;
    const geoharm::Model md = geoharm::model();
    model->gm = md.gm;
    model->r_ref = md.referenceRadius;
    model->max_degree = md.maxDegree;
    std::memcpy(model->c, md.C, sizeof model->c);
    std::memcpy(model->s, md.S, sizeof model->s);
}

}  // extern "C"
