/*
 * routine_table.cpp - the choice of routines, made once, and the routines
 * that refuse where GEOHARM_SIMD_LEVEL cannot be used.
 */
#include "machine/routine_table.h"

#include "machine/cpu_features.h"
#include "machine/default_nan.h"
#include "machine/once.h"
#include "machine/settings.h"

namespace geoharm {

/* Each level's table (level_table.cpp). */
namespace sse2 {
extern const Routines ROUTINES;
}
namespace avx2 {
extern const Routines ROUTINES;
}
namespace avx2_fma {
extern const Routines ROUTINES;
}
namespace avx512f {
extern const Routines ROUTINES;
}
namespace avx512f_fma {
extern const Routines ROUTINES;
}

namespace {

const Routines& tableOf(SimdLevel level) {
    switch (level) {
        case SimdLevel::SSE2: return sse2::ROUTINES;
        case SimdLevel::AVX2: return avx2::ROUTINES;
        case SimdLevel::AVX2_FMA: return avx2_fma::ROUTINES;
        case SimdLevel::AVX512F: return avx512f::ROUTINES;
        case SimdLevel::AVX512F_FMA: return avx512f_fma::ROUTINES;
    }
    return sse2::ROUTINES;
}

/* The refusing routines: the default NaN in every output. */
void fill(double* out, std::size_t count) {
    if (out == nullptr) return;
    for (std::size_t i = 0; i < count; i++) out[i] = DEFAULT_NAN;
}
void refusedSums(const FieldScalars&, int, int, double sum[3]) { fill(sum, 3); }
void refusedGradient(const FieldInput&, double T[9], double a[3], double* U) {
    fill(T, 9);
    fill(a, 3);
    fill(U, 1);
}
void refusedAcceleration(std::size_t count, const double*, const double*, const double*, int, int, double* ax,
                         double* ay, double* az) {
    fill(ax, count);
    fill(ay, count);
    fill(az, count);
}
void refusedGradientLanes(std::size_t count, const double*, const double*, const double*, int, int, double* T,
                          double* ax, double* ay, double* az, double* U) {
    fill(T, 9 * count);
    refusedAcceleration(count, nullptr, nullptr, nullptr, 0, 0, ax, ay, az);
    fill(U, count);
}
void refusedModelPoint(const ModelData&, const double*, int, int, double* U, double a[3], double T[9]) {
    fill(U, 1);
    fill(a, 3);
    fill(T, 9);
}
void refusedModelPoints(const ModelData&, std::size_t count, const double*, const double*, const double*, int, int,
                        double* U, double* ax, double* ay, double* az, double* T) {
    fill(U, count);
    refusedAcceleration(count, nullptr, nullptr, nullptr, 0, 0, ax, ay, az);
    fill(T, 9 * count);
}
const Routines REFUSED = {SimdLevel::SSE2,     SimdLevel::SSE2,     refusedSums,       refusedGradient,
                          refusedAcceleration, refusedGradientLanes, refusedModelPoint, refusedModelPoints};

/* The choice, made by the first call and kept. */
Once<Routines> chosen;

Routines choose() {
    const Settings& s = settings();
    if (s.levelProblem != nullptr) return REFUSED;
    if (s.levelForced) return tableOf(s.forcedLevel);

    const SimdLevel widest = cpuHasAvx512f() ? SimdLevel::AVX512F
                             : cpuHasAvx2()  ? SimdLevel::AVX2
                                             : SimdLevel::SSE2;
    const SimdLevel withFma = widest == SimdLevel::AVX512F ? SimdLevel::AVX512F_FMA
                              : widest == SimdLevel::AVX2  ? SimdLevel::AVX2_FMA
                                                           : SimdLevel::SSE2;
    const SimdLevel many = processorRuns(withFma) && fmaDivisionPays() ? withFma : widest;
    const SimdLevel point =
        many == SimdLevel::AVX512F && processorRuns(SimdLevel::AVX512F_FMA) ? SimdLevel::AVX512F_FMA : many;

    Routines r = tableOf(many);
    const Routines& p = tableOf(point);
    r.pointLevel = p.pointLevel;
    r.pointSums = p.pointSums;
    r.pointGradient = p.pointGradient;
    r.modelOnePoint = p.modelOnePoint;
    return r;
}

}  // namespace

const Routines& activeRoutines() { return chosen.get(choose); }

const char* routineProblem() { return settings().levelProblem; }

const Routines* levelRoutines(SimdLevel level) { return processorRuns(level) ? &tableOf(level) : nullptr; }

}  // namespace geoharm
