/*
 * gravity_model_api.cpp - GravityModel (<geoharm/gravity_model.h>) on the
 * engine's model value (models/model_data.h): a counted reference to it,
 * and the engine's entry points (models/evaluate_model.h).
 */
#include "geoharm/gravity_model.h"

#include "models/evaluate_model.h"
#include "models/load_model.h"
#include "models/model_epoch.h"
#include "models/model_limits.h"

namespace geoharm {

namespace {

const ModelData* modelOf(const void* data) { return static_cast<const ModelData*>(data); }

/* Every output the default NaN (no model). */
void fillNaN(double* out, std::size_t count) {
    if (out == nullptr) return;
    for (std::size_t i = 0; i < count; i++) out[i] = __builtin_nan("");
}

}  // namespace

GravityModel::GravityModel() noexcept : data_(nullptr) {}

GravityModel::GravityModel(const GravityModel& other) noexcept : data_(other.data_) { retainModelData(modelOf(data_)); }

GravityModel& GravityModel::operator=(const GravityModel& other) noexcept {
    retainModelData(modelOf(other.data_));
    releaseModelData(modelOf(data_));
    data_ = other.data_;
    return *this;
}

GravityModel::~GravityModel() { releaseModelData(modelOf(data_)); }

GravityModel GravityModel::load(const char* path, const char* epoch, char* message, std::size_t messageSize) {
    double year = 0.0;
    if (epoch != nullptr && !parseEpoch(epoch, &year, message, messageSize)) return GravityModel();
    return GravityModel(loadModelFile(path, epoch != nullptr ? &year : nullptr, message, messageSize));
}

GravityModel GravityModel::fromTables(double gm, double radius, int maxDegree, const double* C, const double* S,
                                      Normalization normalization, const char* name, char* message,
                                      std::size_t messageSize) {
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(maxDegree) + 1;
    const CoefficientTable c{C, row, 1, false, true}, s{S, row, 1, false, true};
    return GravityModel(makeModelData({gm, radius, maxDegree, normalization, name, "", c, s}, nullptr, message,
                                      messageSize));
}

double GravityModel::gm() const { return ok() ? modelOf(data_)->gm : __builtin_nan(""); }
double GravityModel::radius() const { return ok() ? modelOf(data_)->radius : __builtin_nan(""); }
int GravityModel::maxDegree() const { return ok() ? modelOf(data_)->maxDegree : -1; }
Normalization GravityModel::normalization() const {
    return ok() ? modelOf(data_)->normalization : Normalization::FullyNormalized;
}
const char* GravityModel::name() const { return ok() ? modelOf(data_)->name : ""; }
const char* GravityModel::tideSystem() const { return ok() ? modelOf(data_)->tideSystem : ""; }
bool GravityModel::isCompiledIn() const { return ok() && modelOf(data_)->compiledIn; }

double GravityModel::C(int n, int m) const {
    if (!ok() || m < 0 || n < m || n > maxDegree()) return 0.0;
    return normalizedC(*modelOf(data_), n, m);
}

double GravityModel::S(int n, int m) const {
    if (!ok() || m < 0 || n < m || n > maxDegree()) return 0.0;
    return normalizedS(*modelOf(data_), n, m);
}

void GravityModel::acceleration(const double position[3], int N, int M, double a[3]) const {
    if (!ok()) return fillNaN(a, 3);
    evaluateModel(*modelOf(data_), position, N, M, nullptr, a, nullptr);
}

void GravityModel::accelerationMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                                    double* ax, double* ay, double* az) const {
    if (!ok()) {
        fillNaN(ax, count), fillNaN(ay, count), fillNaN(az, count);
        return;
    }
    evaluateModelMany(*modelOf(data_), count, x, y, z, N, M, nullptr, ax, ay, az, nullptr);
}

void GravityModel::gradient(const double position[3], int N, int M, double T[9], double a[3], double* U) const {
    if (!ok()) {
        fillNaN(T, 9), fillNaN(a, 3), fillNaN(U, 1);
        return;
    }
    evaluateModel(*modelOf(data_), position, N, M, U, a, T);
}

void GravityModel::gradientMany(std::size_t count, const double* x, const double* y, const double* z, int N, int M,
                                double* T, double* ax, double* ay, double* az, double* U) const {
    if (!ok()) {
        fillNaN(T, 9 * count), fillNaN(ax, count), fillNaN(ay, count), fillNaN(az, count), fillNaN(U, count);
        return;
    }
    evaluateModelMany(*modelOf(data_), count, x, y, z, N, M, U, ax, ay, az, T);
}

}  // namespace geoharm
