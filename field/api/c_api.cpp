/*
 * c_api.cpp - the C interface (<geoharm/geoharm_c.h>) on the C++ one: each
 * routine hands its arguments to its C++ counterpart (geoharm::acceleration,
 * accelerationMany, gradient, gradientMany, version, model) as they are,
 * so that the two interfaces cannot give different bits.
 *
 * The C routines also take the null pointers the C header allows, which
 * the C++ routines do not: a null input (with points to read) makes the
 * call write nothing, and any output may be null.  An output the C++
 * routine needs all the same (the tensor, one or two of the acceleration's
 * components) goes to scratch memory on the stack, BLOCK points at a time:
 * every point's results have their bits whatever routine or block they
 * come from, so the outputs given get the bits of a call with all given.
 */
#include "geoharm/geoharm_c.h"

#include <algorithm>
#include <cstring>

#include "geoharm/geoharm.h"

static_assert(GEOHARM_GM == geoharm::GM && GEOHARM_R_REF == geoharm::R_REF &&
                  GEOHARM_MAX_DEGREE == geoharm::MAX_DEGREE,
              "the C constants are the C++ ones");
static_assert(sizeof(geoharm_model::c) == sizeof(geoharm::Model::C) &&
                  sizeof(geoharm_model::s) == sizeof(geoharm::Model::S),
              "the C tables are the C++ tables' size");

namespace {

/* Points per call of the C++ routine when outputs go to scratch: 256
   tensors and two components are 22.5 KiB of stack.  Blocks this small
   run on the calling thread alone (threads start at 8192 points). */
constexpr std::size_t BLOCK = 256;

/* Where block `begin` of an output goes: the caller's array, or (null)
   the next free scratch row. */
double* outputOrScratch(double* out, std::size_t begin, double (*scratch)[BLOCK], int& used) {
    return out != nullptr ? out + begin : scratch[used++];
}

}  // namespace

extern "C" {

void geoharm_acceleration(const double position[3], int n, int m, double a[3]) {
    if (position == nullptr || a == nullptr) return;
    geoharm::acceleration(position, n, m, a);
}

void geoharm_acceleration_many(size_t count, const double* x, const double* y, const double* z, int n, int m,
                               double* ax, double* ay, double* az) {
    if (x == nullptr || y == nullptr || z == nullptr || (ax == nullptr && ay == nullptr && az == nullptr)) return;
    if (ax != nullptr && ay != nullptr && az != nullptr) {
        geoharm::accelerationMany(count, x, y, z, n, m, ax, ay, az);
        return;
    }
    double scratch[2][BLOCK];
    for (std::size_t begin = 0; begin < count; begin += BLOCK) {
        int used = 0;
        double* bx = outputOrScratch(ax, begin, scratch, used);
        double* by = outputOrScratch(ay, begin, scratch, used);
        double* bz = outputOrScratch(az, begin, scratch, used);
        geoharm::accelerationMany(std::min(BLOCK, count - begin), x + begin, y + begin, z + begin, n, m, bx, by,
                                  bz);
    }
}

void geoharm_gradient(const double position[3], int n, int m, double t[9], double a[3], double* u) {
    if (position == nullptr || (t == nullptr && a == nullptr && u == nullptr)) return;
    double scratch[9];
    geoharm::gradient(position, n, m, t != nullptr ? t : scratch, a, u);
}

void geoharm_gradient_many(size_t count, const double* x, const double* y, const double* z, int n, int m, double* t,
                           double* ax, double* ay, double* az, double* u) {
    if (x == nullptr || y == nullptr || z == nullptr) return;
    const bool someAcceleration = ax != nullptr || ay != nullptr || az != nullptr;
    const bool wholeAcceleration = ax != nullptr && ay != nullptr && az != nullptr;
    if (t != nullptr && (wholeAcceleration || !someAcceleration)) {
        geoharm::gradientMany(count, x, y, z, n, m, t, ax, ay, az, u);
        return;
    }
    if (t == nullptr && u == nullptr) {
        /* The acceleration alone: the gradient's is acceleration()'s, bit
           for bit, and cheaper without the tensor. */
        geoharm_acceleration_many(count, x, y, z, n, m, ax, ay, az);
        return;
    }
    double tensors[9 * BLOCK];
    double scratch[2][BLOCK];
    for (std::size_t begin = 0; begin < count; begin += BLOCK) {
        int used = 0;
        double *bx = nullptr, *by = nullptr, *bz = nullptr;
        if (someAcceleration) {
            bx = outputOrScratch(ax, begin, scratch, used);
            by = outputOrScratch(ay, begin, scratch, used);
            bz = outputOrScratch(az, begin, scratch, used);
        }
        geoharm::gradientMany(std::min(BLOCK, count - begin), x + begin, y + begin, z + begin, n, m,
                              t != nullptr ? t + 9 * begin : tensors, bx, by, bz, u != nullptr ? u + begin : nullptr);
    }
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
