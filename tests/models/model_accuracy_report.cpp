/*
 * model_accuracy_report - the worst errors of GeographicLib (and of the
 * engine, once engine_under_test.cpp plugs it in) on synthetic Kaula-rule
 * models, against the 113-bit reference.
 *
 *   model_accuracy_report [--seed S] [--threads T] [--check] [DEGREE[:RANDOM] ...]
 *
 * Given:
 *   --seed S      the models' and the random points' seed (default 1)
 *   --check       hold the engine to its bounds: the acceleration within
 *                 2e-15 of its norm, the harmonic part within 4e-15 (1e-14
 *                 above degree 360) and at most twice GeographicLib's worst,
 *                 U within 2e-15, T within 1e-14, no NaN
 *   --threads T   threads for the reference (default: the processors)
 *   DEGREE:RANDOM a model of that degree (2..2700), evaluated in full
 *                 (N = M = DEGREE) at the twelve fixed points of
 *                 accuracy_points.h and RANDOM random ones; default
 *                 70:200 360:100 2190:16
 * Returned:
 *   for each degree and evaluator, the worst relative error over the
 *   points and where it occurred: the acceleration (|error| / |a|), the
 *   harmonic part (the model with C(0,0) = 0, |error| / |its a|), U
 *   (relative), T and T of the harmonic part (|error|_F / |T|_F) when the
 *   evaluator gives them;
 *   exit status 0; 1 when --check finds a bound exceeded (a line
 *   "exceeds: ..." says which); 2 for a bad command line.
 */
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "accuracy_errors.h"
#include "accuracy_points.h"
#include "engine_under_test.h"
#include "geographiclib_sum.h"
#include "synthetic_constants.h"
#include "synthetic_model.h"

namespace {

using namespace geoharm_test;

struct Job {
    int degree;
    int randomPoints;
};

/* GeographicLib's sum as an evaluator: U and a, no tensor. */
class GeographicLibEvaluator : public FieldEvaluator {
public:
    GeographicLibEvaluator(const HarmonicModel& model, int N, bool withDegreeZero)
        : sum_(model, N, N, withDegreeZero) {}
    bool hasTensor() const override { return false; }
    void evaluate(const double position[3], DoubleField& field) const override {
        sum_.evaluate(position, field.U, field.a);
    }

private:
    GeographicLibSum sum_;
};

/* An implementation under test: the whole model and its harmonic part. */
struct Candidate {
    std::string name;
    std::unique_ptr<FieldEvaluator> model, harmonic;
};

/* The largest error and its point; a NaN counts as larger than any
   number, and the NaNs are counted. */
struct Worst {
    double error = 0.0;
    std::size_t at = 0, nans = 0;
    void note(double e, std::size_t point) {
        if (e != e) nans++;
        if (e > error || (e != e && error == error)) {
            error = e;
            at = point;
        }
    }
};

/* The reference at every point, the points shared out over threads. */
std::vector<QuadEvaluation> referenceAt(const QuadReference& reference, const std::vector<AccuracyPoint>& points,
                                        int N, unsigned threads) {
    std::vector<QuadEvaluation> out(points.size());
    std::atomic<std::size_t> next{0};
    auto work = [&]() {
        for (std::size_t i; (i = next++) < points.size();) out[i] = reference.evaluate(points[i].p, N, N);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; t++) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    return out;
}

/* The worst errors of one evaluator over the points. */
struct WorstErrors {
    Worst a, aHarmonic, U, T, THarmonic;
};

WorstErrors report(const Candidate& c, const std::vector<AccuracyPoint>& points,
                   const std::vector<QuadEvaluation>& refs) {
    WorstErrors w;
    if (!c.model || !c.harmonic) {
        std::printf("  %-14s not plugged in (engine_under_test.cpp)\n", c.name.c_str());
        return w;
    }
    const bool tensor = c.model->hasTensor();
    Worst &a = w.a, &aHarmonic = w.aHarmonic, &U = w.U, &T = w.T, &THarmonic = w.THarmonic;
    for (std::size_t i = 0; i < points.size(); i++) {
        DoubleField model, harmonic;
        c.model->evaluate(points[i].p, model);
        c.harmonic->evaluate(points[i].p, harmonic);
        const PointErrors e = pointErrors(refs[i], model, harmonic, tensor);
        a.note(e.a, i);
        aHarmonic.note(e.aHarmonic, i);
        U.note(e.U, i);
        T.note(e.T, i);
        THarmonic.note(e.THarmonic, i);
    }
    auto line = [&](const char* quantity, const Worst& worst) {
        std::printf("  %-14s %-12s %-10.3g at %s", c.name.c_str(), quantity, worst.error,
                    points[worst.at].label.c_str());
        if (worst.nans > 0) std::printf(" (NaN at %zu of %zu points)", worst.nans, points.size());
        std::printf("\n");
    };
    line("a", a);
    line("a harmonic", aHarmonic);
    line("U", U);
    if (tensor) {
        line("T", T);
        line("T harmonic", THarmonic);
    }
    return w;
}

/* The engine's bounds at a degree; false (and a line each) when one is
   exceeded. */
bool withinBounds(int degree, const WorstErrors& engine, const WorstErrors& geographicLib) {
    const double harmonicBound = degree <= 360 ? 4e-15 : 1e-14;
    const struct {
        const char* what;
        const Worst& worst;
        double bound;
    } checks[] = {{"a", engine.a, 2e-15},
                  {"a harmonic", engine.aHarmonic, harmonicBound},
                  {"a harmonic (twice GeographicLib's)", engine.aHarmonic, 2.0 * geographicLib.aHarmonic.error},
                  {"U", engine.U, 2e-15},
                  {"T", engine.T, 1e-14}};
    bool ok = true;
    for (const auto& c : checks) {
        if (c.worst.nans == 0 && c.worst.error <= c.bound) continue;
        std::printf("exceeds: degree %d, %s: %.3g (bound %.3g, %zu NaN)\n", degree, c.what, c.worst.error, c.bound,
                    c.worst.nans);
        ok = false;
    }
    return ok;
}

int usage(const char* reason) {
    std::fprintf(stderr,
                 "model_accuracy_report: %s\n"
                 "usage: model_accuracy_report [--seed S] [--threads T] [--check] [DEGREE[:RANDOM] ...]\n",
                 reason);
    return 2;
}

/* A whole number in [low, high] filling the text, or false. */
bool parseNumber(const std::string& text, unsigned long long low, unsigned long long high,
                 unsigned long long& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long long seed = 1, threads = std::thread::hardware_concurrency();
    if (threads == 0) threads = 1;
    std::vector<Job> jobs;
    bool check = false, ok = true;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg == "--check") {
            check = true;
        } else if (arg == "--seed" && i + 1 < argc) {
            if (!parseNumber(argv[++i], 0, ~0ULL, seed)) return usage("--seed takes a whole number");
        } else if (arg == "--threads" && i + 1 < argc) {
            if (!parseNumber(argv[++i], 1, 256, threads)) return usage("--threads takes 1..256");
        } else {
            const std::size_t colon = arg.find(':');
            unsigned long long degree = 0, random = 0;
            if (!parseNumber(arg.substr(0, colon), 2, SYNTHETIC_MAX_DEGREE, degree) ||
                (colon != std::string::npos && !parseNumber(arg.substr(colon + 1), 0, 100000, random)))
                return usage(("not DEGREE[:RANDOM] with DEGREE 2..2700: " + arg).c_str());
            jobs.push_back({static_cast<int>(degree), static_cast<int>(random)});
        }
    }
    if (jobs.empty()) jobs = {{70, 200}, {360, 100}, {2190, 16}};

    std::printf("Synthetic Kaula-rule models (seed %llu), worst relative errors against the 113-bit reference\n",
                seed);
    for (const Job& job : jobs) {
        const HarmonicModel model = makeSyntheticModel(job.degree, seed);
        HarmonicModel harmonicModel = model;
        harmonicModel.C[triangularIndex(0, 0)] = 0.0;
        const std::vector<AccuracyPoint> points = accuracyPoints(model.radius, job.randomPoints, seed);
        std::printf("degree %d (fingerprint %016" PRIx64 "), N = M = %d, %zu points (%d random)\n", job.degree,
                    modelFingerprint(model), job.degree, points.size(), job.randomPoints);
        std::fflush(stdout);

        const QuadReference reference(model);
        const std::vector<QuadEvaluation> refs =
            referenceAt(reference, points, job.degree, static_cast<unsigned>(threads));

        Candidate geographicLib{"GeographicLib", std::make_unique<GeographicLibEvaluator>(model, job.degree, true),
                                std::make_unique<GeographicLibEvaluator>(model, job.degree, false)};
        const WorstErrors theirs = report(geographicLib, points, refs);
        Candidate engine{ENGINE_NAME, makeEngineEvaluator(model, job.degree, job.degree),
                         makeEngineEvaluator(harmonicModel, job.degree, job.degree)};
        const WorstErrors ours = report(engine, points, refs);
        if (check) ok = withinBounds(job.degree, ours, theirs) && ok;
        std::fflush(stdout);
    }
    return ok ? 0 : 1;
}
