/*
 * model_c_api.cpp - the gravity models of the C interface
 * (<geoharm/geoharm_c.h>): a handle is a GravityModel of the C++ interface
 * (<geoharm/gravity_model.h>) in memory of its own, and each routine hands
 * its arguments to the C++ one as they are, so that the two interfaces
 * cannot give different bits.  The engine takes every output null on its
 * own, so the null rules of the C header need no scratch memory here.
 */
#include "geoharm/geoharm_c.h"
#include "geoharm/gravity_model.h"
#include "models/message_text.h"
#include "models/plain_new.h"

static_assert(GEOHARM_MAX_MODEL_DEGREE == geoharm::MAX_MODEL_DEGREE, "the C limit is the C++ one");

struct geoharm_gravity_model {
    geoharm::GravityModel model;
};

namespace {

/* The handle of a model that was made, or null (refused: the message says
   why; no memory: said here). */
geoharm_gravity_model* handleOf(const geoharm::GravityModel& model, char* message, size_t messageSize) {
    if (!model.ok()) return nullptr;
    geoharm_gravity_model* handle = geoharm::plainNew<geoharm_gravity_model>(model);
    if (handle == nullptr) geoharm::writeMessage(message, messageSize, "not enough memory for the model");
    return handle;
}

}  // namespace

extern "C" {

geoharm_gravity_model* geoharm_gravity_model_load(const char* path, const char* epoch, char* message,
                                                  size_t message_size) {
    if (path == nullptr) {
        geoharm::writeMessage(message, message_size, "no file name (path is NULL)");
        return nullptr;
    }
    return handleOf(geoharm::GravityModel::load(path, epoch, message, message_size), message, message_size);
}

geoharm_gravity_model* geoharm_gravity_model_from_tables(double gm, double radius, int max_degree, const double* c,
                                                         const double* s, int normalization, const char* name,
                                                         char* message, size_t message_size) {
    if (c == nullptr || s == nullptr) {
        geoharm::writeMessage(message, message_size, "no coefficient table (c or s is NULL)");
        return nullptr;
    }
    if (normalization != GEOHARM_FULLY_NORMALIZED && normalization != GEOHARM_UNNORMALIZED) {
        geoharm::writeMessage(message, message_size,
                              "normalization must be GEOHARM_FULLY_NORMALIZED or GEOHARM_UNNORMALIZED");
        return nullptr;
    }
    const geoharm::Normalization norm = normalization == GEOHARM_UNNORMALIZED ? geoharm::Normalization::Unnormalized
                                                                              : geoharm::Normalization::FullyNormalized;
    return handleOf(geoharm::GravityModel::fromTables(gm, radius, max_degree, c, s, norm, name, message, message_size),
                    message, message_size);
}

void geoharm_gravity_model_free(geoharm_gravity_model* model) {
    geoharm::plainDelete(model);
}

double geoharm_gravity_model_gm(const geoharm_gravity_model* model) {
    return model != nullptr ? model->model.gm() : __builtin_nan("");
}

double geoharm_gravity_model_radius(const geoharm_gravity_model* model) {
    return model != nullptr ? model->model.radius() : __builtin_nan("");
}

int geoharm_gravity_model_max_degree(const geoharm_gravity_model* model) {
    return model != nullptr ? model->model.maxDegree() : -1;
}

void geoharm_gravity_model_acceleration(const geoharm_gravity_model* model, const double position[3], int n, int m,
                                        double a[3]) {
    if (model == nullptr || position == nullptr || a == nullptr) return;
    model->model.acceleration(position, n, m, a);
}

void geoharm_gravity_model_acceleration_many(const geoharm_gravity_model* model, size_t count, const double* x,
                                             const double* y, const double* z, int n, int m, double* ax, double* ay,
                                             double* az) {
    if (model == nullptr || x == nullptr || y == nullptr || z == nullptr) return;
    model->model.accelerationMany(count, x, y, z, n, m, ax, ay, az);
}

void geoharm_gravity_model_gradient(const geoharm_gravity_model* model, const double position[3], int n, int m,
                                    double t[9], double a[3], double* u) {
    if (model == nullptr || position == nullptr) return;
    model->model.gradient(position, n, m, t, a, u);
}

void geoharm_gravity_model_gradient_many(const geoharm_gravity_model* model, size_t count, const double* x,
                                         const double* y, const double* z, int n, int m, double* t, double* ax,
                                         double* ay, double* az, double* u) {
    if (model == nullptr || x == nullptr || y == nullptr || z == nullptr) return;
    model->model.gradientMany(count, x, y, z, n, m, t, ax, ay, az, u);
}

}  // extern "C"
