/*
 * model_data.h - a gravity model as the engine evaluates it: its
 * constants, its fully normalised coefficients in the engine's layout
 * (model_layout.h), the recursion's factors of its degree, and what it
 * was made from.  One value for every interface: made from a file's
 * contents or from a caller's tables, never changed afterwards, shared by
 * counting its holders.
 */
#ifndef GEOHARM_MODEL_DATA_H
#define GEOHARM_MODEL_DATA_H

#include <atomic>
#include <cstddef>

#include "models/degree_factors.h"
#include "models/icgem_reader.h"
#include "models/model_layout.h"
#include "geoharm/gravity_model_types.h"

namespace geoharm {

/*
 * CoefficientTable - a caller's table of coefficients: entry (n, m) at
 * data[n degreeStep + m orderStep], or, triangular, at
 * data[n(n+1)/2 + m] (coefficientIndex, the reader's layout).
 */
struct CoefficientTable {
    const double* data;
    std::ptrdiff_t degreeStep;
    std::ptrdiff_t orderStep;
    bool triangular;
    /* square: entries with m > n exist, and must be zero */
    bool hasUpperTriangle;

    double at(int n, int m) const {
        return triangular ? data[coefficientIndex(n, m)] : data[n * degreeStep + m * orderStep];
    }
};

/* What a model is made from. */
struct ModelDescription {
    double gm;                   /* m^3/s^2 */
    double radius;               /* reference radius, m */
    int maxDegree;               /* 0..MAX_MODEL_DEGREE */
    Normalization normalization; /* of C and S */
    const char* name;            /* may be null */
    const char* tideSystem;      /* may be null */
    CoefficientTable C, S;       /* degrees and orders 0..maxDegree */
};

struct ModelData {
    double gm;
    double radius;
    double gmOverRadius; /* GM/R, rounded once */
    int maxDegree;
    Normalization normalization; /* as given */
    char name[MODEL_NAME_SIZE];
    char tideSystem[TIDE_SYSTEM_SIZE];
    /* fully normalised, layoutSize(maxDegree) each (model_layout.h) */
    const double* C;
    const double* S;
    const DegreeFactors* factors;
    /* The model is, number for number, the compiled-in one (given
       unnormalised: GM, R_REF, degree 10, C(0,0) = 1, its tables): it is
       evaluated by the compiled-in model's routines, for their bits. */
    bool compiledIn;
    mutable std::atomic<int> holders;
};

/*
 * makeModelData - the model of a description, or null with the reason in
 * message (at most messageSize bytes, NUL included; prefixed with
 * `source`, e.g. a file's name, when not null).
 *
 * Refused: GM or the radius not finite and above zero, a degree outside
 * 0..MAX_MODEL_DEGREE, a coefficient that is not finite, a nonzero entry
 * of order above its degree (square tables) or S(n,0); memory that cannot
 * be had.  An unnormalised model is converted (normalization.cpp), its
 * given numbers kept for nothing else.  The result has one holder.
 */
const ModelData* makeModelData(const ModelDescription& description, const char* source, char* message,
                               std::size_t messageSize);

/*
 * checkModelDescription - makeModelData's checks of the description alone
 * (allocating nothing): true when it describes a model, else false with
 * the reason in message.  makeModelData may still refuse it for memory,
 * or for unnormalised numbers beyond a double once normalised.
 */
bool checkModelDescription(const ModelDescription& description, const char* source, char* message,
                           std::size_t messageSize);

/* Another holder of the model; the last release frees it. */
void retainModelData(const ModelData* model);
void releaseModelData(const ModelData* model);

/* The fully normalised C(n,m), S(n,m) of the model (0 <= m <= n <= L).
   Inline: on 32-bit x86 a function's double result would come back
   through the x87 register st(0). */
inline double normalizedC(const ModelData& model, int n, int m) { return model.C[layoutIndex(model.maxDegree, n, m)]; }
inline double normalizedS(const ModelData& model, int n, int m) { return model.S[layoutIndex(model.maxDegree, n, m)]; }

}  // namespace geoharm

#endif
