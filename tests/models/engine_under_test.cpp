/*
 * engine_under_test.cpp - the engine as an evaluator of the accuracy
 * report and tests: the model's tables given to makeModelData as the
 * fully normalised triangular tables they are, evaluated by evaluateModel
 * (the potential, the acceleration and the tensor at once).
 */
#include "engine_under_test.h"

#include <cstdio>

#include "models/evaluate_model.h"

namespace geoharm_test {

const char* const ENGINE_NAME = "geoharm";

namespace {

class EngineEvaluator : public FieldEvaluator {
public:
    EngineEvaluator(const geoharm::ModelData* model, int N, int M) : model_(model), N_(N), M_(M) {}
    ~EngineEvaluator() override { geoharm::releaseModelData(model_); }
    bool hasTensor() const override { return true; }
    void evaluate(const double position[3], DoubleField& field) const override {
        double T[9];
        geoharm::evaluateModel(*model_, position, N_, M_, &field.U, field.a, T);
        for (int i = 0; i < 9; i++) field.T[i / 3][i % 3] = T[i];
    }

private:
    const geoharm::ModelData* model_;
    int N_, M_;
};

}  // namespace

std::unique_ptr<FieldEvaluator> makeEngineEvaluator(const HarmonicModel& model, int N, int M) {
    const geoharm::CoefficientTable C{model.C.data(), 0, 0, true, false};
    const geoharm::CoefficientTable S{model.S.data(), 0, 0, true, false};
    const geoharm::ModelDescription d{model.gm, model.radius, model.maxDegree,
                                      geoharm::Normalization::FullyNormalized, "synthetic", "", C, S};
    char why[256];
    const geoharm::ModelData* data = geoharm::makeModelData(d, nullptr, why, sizeof why);
    if (data == nullptr) {
        std::fprintf(stderr, "engine_under_test: %s\n", why);
        return nullptr;
    }
    return std::unique_ptr<FieldEvaluator>(new EngineEvaluator(data, N, M));
}

}  // namespace geoharm_test
