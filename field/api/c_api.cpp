/*
 * c_api.cpp - the C interface (<geoharm/geoharm_c.h>) on the C++ one: each
 * routine hands its arguments to its C++ counterpart (geoharm::acceleration,
 * accelerationMany, gradient, gradientMany, version, model) as they are,
 * so that the two interfaces cannot give different bits.
 */
#include "geoharm/geoharm_c.h"

#include <cstring>

#include "geoharm/geoharm.h"

static_assert(GEOHARM_GM == geoharm::GM && GEOHARM_R_REF == geoharm::R_REF &&
                  GEOHARM_MAX_DEGREE == geoharm::MAX_DEGREE,
              "the C constants are the C++ ones");
static_assert(sizeof(geoharm_model::c) == sizeof(geoharm::Model::C) &&
                  sizeof(geoharm_model::s) == sizeof(geoharm::Model::S),
              "the C tables are the C++ tables' size");

extern "C" {

void geoharm_acceleration(const double position[3], int n, int m, double a[3]) {
    geoharm::acceleration(position, n, m, a);
}

void geoharm_acceleration_many(size_t count, const double* x, const double* y, const double* z, int n, int m,
                               double* ax, double* ay, double* az) {
    geoharm::accelerationMany(count, x, y, z, n, m, ax, ay, az);
}

void geoharm_gradient(const double position[3], int n, int m, double t[9], double a[3], double* u) {
    geoharm::gradient(position, n, m, t, a, u);
}

void geoharm_gradient_many(size_t count, const double* x, const double* y, const double* z, int n, int m, double* t,
                           double* ax, double* ay, double* az, double* u) {
    geoharm::gradientMany(count, x, y, z, n, m, t, ax, ay, az, u);
}

const char* geoharm_version(void) { return geoharm::version(); }

void geoharm_get_model(struct geoharm_model* model) {
    const geoharm::Model md = geoharm::model();
    model->gm = md.gm;
    model->r_ref = md.referenceRadius;
    model->max_degree = md.maxDegree;
    std::memcpy(model->c, md.C, sizeof model->c);
    std::memcpy(model->s, md.S, sizeof model->s);
}

}  // extern "C"
