/*
 * model_data.cpp - a model from its description: checked, normalised,
 * laid out for the engine.
 */
#include "models/model_data.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "models/compiled_in_model.h"
#include "models/message_text.h"
#include "models/model_layout.h"
#include "models/plain_new.h"
#include "models/unnormalized_factors.h"
#include "models/utf8_cut.h"

namespace geoharm {

namespace {

/* The reason, after "source: " when there is a source. */
template <class... Args>
void refuse(char* message, std::size_t size, const char* source, const char* format, Args... args) {
    char what[256];
    writeMessage(what, sizeof what, format, args...);
    if (source != nullptr)
        writeMessage(message, size, "%s: %s", source, what);
    else
        writeMessage(message, size, "%s", what);
}

/* Copies text (null: none) into a fixed field, cut to fit at a
   character boundary (utf8_cut.h), NUL-terminated; reads no further into
   text than the field holds and one byte more. */
template <std::size_t SIZE>
void copyText(char (&field)[SIZE], const char* text) {
    std::size_t n = 0;
    if (text != nullptr)
        while (n < SIZE && text[n] != '\0') n++;
    copyTextCut(text, n, field, SIZE);
}

/* The first coefficient of the tables that a model cannot hold, in
   message; false when there is one. */
bool checkTables(const ModelDescription& d, const char* source, char* message, std::size_t size) {
    const struct {
        const CoefficientTable& table;
        const char* name;
    } tables[] = {{d.C, "C"}, {d.S, "S"}};
    for (const auto& t : tables) {
        for (int m = 0; m <= d.maxDegree; m++) {
            for (int n = 0; n <= d.maxDegree; n++) {
                if (n < m && !t.table.hasUpperTriangle) continue;
                const double v = t.table.at(n, m);
                if (!std::isfinite(v)) {
                    refuse(message, size, source, "%s(%d,%d) is not a finite number", t.name, n, m);
                    return false;
                }
                if (n < m && v != 0.0) {
                    refuse(message, size, source, "%s(%d,%d) is not zero, but order %d is above degree %d", t.name, n,
                           m, m, n);
                    return false;
                }
            }
        }
    }
    for (int n = 0; n <= d.maxDegree; n++) {
        if (d.S.at(n, 0) != 0.0) {
            refuse(message, size, source, "S(%d,0) is not zero (sine terms of order 0 do not exist)", n);
            return false;
        }
    }
    return true;
}

}  // namespace

bool checkModelDescription(const ModelDescription& d, const char* source, char* message, std::size_t messageSize) {
    if (!(std::isfinite(d.gm) && d.gm > 0.0)) {
        refuse(message, messageSize, source, "GM must be a finite number above zero, not %.17g", d.gm);
        return false;
    }
    if (!(std::isfinite(d.radius) && d.radius > 0.0)) {
        refuse(message, messageSize, source, "the reference radius must be a finite number above zero, not %.17g",
               d.radius);
        return false;
    }
    if (d.maxDegree < 0 || d.maxDegree > MAX_MODEL_DEGREE) {
        refuse(message, messageSize, source, "the degree %d is outside 0..%d, the degrees this library evaluates",
               d.maxDegree, MAX_MODEL_DEGREE);
        return false;
    }
    return checkTables(d, source, message, messageSize);
}

const ModelData* makeModelData(const ModelDescription& d, const char* source, char* message,
                               std::size_t messageSize) {
    if (!checkModelDescription(d, source, message, messageSize)) return nullptr;

    const int L = d.maxDegree;
    const std::size_t size = layoutSize(L);
    ModelData* model = plainNew<ModelData>();
    double* tables = static_cast<double*>(std::calloc(2 * size, sizeof(double)));
    double* factors = static_cast<double*>(std::malloc((static_cast<std::size_t>(L) + 1) * sizeof(double)));
    const DegreeFactors* degree = acquireDegreeFactors(L);
    if (model == nullptr || tables == nullptr || factors == nullptr || degree == nullptr) {
        plainDelete(model);
        std::free(tables);
        std::free(factors);
        releaseDegreeFactors(degree);
        refuse(message, messageSize, source, "not enough memory for a model of degree %d", L);
        return nullptr;
    }

    /* The coefficients, fully normalised, in the engine's layout. */
    double* C = tables;
    double* S = tables + size;
    bool converted = true;
    int badN = 0, badM = 0;
    for (int n = 0; n <= L && converted; n++) {
        if (d.normalization == Normalization::Unnormalized) unnormalizedFactors(n, factors);
        for (int m = 0; m <= n; m++) {
            double c = d.C.at(n, m);
            double s = d.S.at(n, m);
            if (d.normalization == Normalization::Unnormalized) {
                c = c == 0.0 ? 0.0 : c * factors[m];
                s = s == 0.0 ? 0.0 : s * factors[m];
                if (!std::isfinite(c) || !std::isfinite(s)) {
                    converted = false;
                    badN = n, badM = m;
                    break;
                }
            }
            C[layoutIndex(L, n, m)] = c;
            S[layoutIndex(L, n, m)] = s;
        }
    }
    std::free(factors);
    if (!converted) {
        std::free(tables);
        plainDelete(model);
        releaseDegreeFactors(degree);
        refuse(message, messageSize, source,
               "C(%d,%d) or S(%d,%d), unnormalised, is beyond the range of a double once normalised", badN, badM,
               badN, badM);
        return nullptr;
    }

    model->gm = d.gm;
    model->radius = d.radius;
    model->gmOverRadius = d.gm / d.radius;
    model->maxDegree = L;
    model->normalization = d.normalization;
    copyText(model->name, d.name);
    copyText(model->tideSystem, d.tideSystem);
    model->C = C;
    model->S = S;
    model->factors = degree;
    model->compiledIn = isCompiledInModel(d);
    model->holders.store(1, std::memory_order_relaxed);
    return model;
}

void retainModelData(const ModelData* model) {
    if (model != nullptr) model->holders.fetch_add(1, std::memory_order_relaxed);
}

void releaseModelData(const ModelData* model) {
    if (model == nullptr || model->holders.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    std::free(const_cast<double*>(model->C));
    releaseDegreeFactors(model->factors);
    plainDelete(model);
}

}  // namespace geoharm
