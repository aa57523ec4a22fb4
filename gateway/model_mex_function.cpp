/*
 * model_mex_function.cpp - the entry point of the plug-in
 * geoharm_model_tables: the model's numbers, for geoharm_model.m, which
 * puts them in a struct.
 *
 *   [GM, R_REF, maxDegree, C, S, version] = geoharm_model_tables()
 *
 * Given (every argument by address, as the host passes them):
 *   nlhs   number of outputs asked for: 0 to 6 (0 fills slot 0, where the
 *          host keeps the answer)
 *   nrhs   number of inputs given: 0
 * Returned (each a new real double array):
 *   plhs   0: GM (m^3/s^2), 1x1
 *          1: R_REF (m), 1x1
 *          2: the highest degree and order, 1x1
 *          3: C, (MAX_DEGREE+1)-by-(MAX_DEGREE+1), C(n+1, m+1) the
 *             unnormalised cosine coefficient of degree n and order m
 *          4: S, the same for the sine coefficients
 *          5: the version, 1x3: MAJOR, MINOR, PATCH
 *
 * Notes:
 *   1. The numbers come from geoharm::model(), which reads the compiled
 *      tables the evaluation uses: they are those every result of geoharm
 *      and geoharm_batch is computed from, not a copy.
 *   2. A call with inputs or with more than six outputs ends with an error
 *      through the host (geoharm_model_tables:nrhs,
 *      geoharm_model_tables:nlhs), before any array exists.
 *   3. Host routines of a valid call: for each output in turn,
 *      mxcreatedoublematrix700_ (stored in its slot at once), mxgetpr_,
 *      mxcopyreal8toptr700_.
 *   4. No floating-point operation is done (the numbers are copied), but
 *      the call holds the fixed floating-point state all the same, as
 *      every entry point does, and gives the caller's back.
 */
#include <geoharm/geoharm.h>
#include <geoharm/version.h>

#include "gateway_errors.h"
#include "gateway_routines.h"
#include "machine/fixed_fp_state.h"
#include "mex_host.h"

namespace {

constexpr int SIDE = geoharm::MAX_DEGREE + 1;
constexpr geoharm::MexInt OUTPUTS = 6;

/* Output k: a rows x cols real double array holding count doubles from
   values, stored in slot k at once. */
void putOutput(MexPointer* plhs, int k, geoharm::MexInt rows, geoharm::MexInt cols, const double* values) {
    const geoharm::MexInt real = 0;
    const geoharm::MexInt count = rows * cols;
    plhs[k] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&rows, &cols, &real);
    const MexPointer data = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&plhs[k]);
    GEOHARM_MEX_NAME(mxcopyreal8toptr700_, MXCOPYREAL8TOPTR700)(values, &data, &count);
}

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                            const MexPointer* prhs) {
    using namespace geoharm;
    static_cast<void>(prhs);
    const FixedFpState fixedState;

    /* Checks: no inputs, at most six outputs. */
    if (*nrhs != 0) raiseHostError(fixedState, MODEL_NRHS_ID, MODEL_NRHS_MESSAGE);
    if (*nlhs > OUTPUTS) raiseHostError(fixedState, MODEL_NLHS_ID, MODEL_NLHS_MESSAGE);

    /* The model, its tables laid out as the host stores a matrix: column
       by column, so that entry (n+1, m+1) is C(n, m). */
    const Model md = model();
    double C[SIDE * SIDE], S[SIDE * SIDE];
    for (int n = 0; n < SIDE; n++) {
        for (int m = 0; m < SIDE; m++) {
            C[n + SIDE * m] = md.C[n][m];
            S[n + SIDE * m] = md.S[n][m];
        }
    }
    const double maxDegree = md.maxDegree;
    const double version[3] = {GEOHARM_VERSION_MAJOR, GEOHARM_VERSION_MINOR, GEOHARM_VERSION_PATCH};

    /* The outputs asked for (slot 0 at least), in order, in the caller's
       state: the host may end the call inside (no memory). */
    const CallerFpState hostMayEndTheCall(fixedState);
    const MexInt wanted = *nlhs < 1 ? 1 : *nlhs;
    for (int k = 0; k < wanted; k++) {
        switch (k) {
            case 0: putOutput(plhs, k, 1, 1, &md.gm); break;
            case 1: putOutput(plhs, k, 1, 1, &md.referenceRadius); break;
            case 2: putOutput(plhs, k, 1, 1, &maxDegree); break;
            case 3: putOutput(plhs, k, SIDE, SIDE, C); break;
            case 4: putOutput(plhs, k, SIDE, SIDE, S); break;
            default: putOutput(plhs, k, 1, 3, version); break;
        }
    }
}
