/*
 * gradient_mex_function.cpp - the entry point of the third plug-in:
 * [T, A, U] = geoharm_gradient(P, N, M), the gravity-gradient tensor, the
 * acceleration and the potential at K points in one call, of the
 * compiled-in model; geoharm_gradient(model, P, N, M), of a model given as
 * a struct (model_argument.h).
 *
 * Given (every argument by address, as the host passes them):
 *   nlhs   number of outputs asked for: 0 (one output, kept by the host as
 *          the answer), 1, 2 or 3; more are refused
 *   nrhs   number of inputs given: exactly 3, or 4 with a model
 *   prhs   input slots: with a model, the model struct first, the others
 *          after it; positions P, a real double K-by-3 array, one point
 *          per row, columns x, y, z (m, in the model's body-fixed axes;
 *          K >= 0); maximum degree N, maximum order M, read as
 *          geoharm_batch reads them (gateway_routines.h)
 * Returned:
 *   plhs   slot 0: T, a new 3-by-3-by-K real double array (3-by-3 for
 *          K = 1), T(i,j,k) = d a_i / d x_j at row k of P (1/s^2);
 *          slot 1 (nlhs >= 2): A, a new K-by-3 array, row k the
 *          acceleration (m/s^2), bit for bit what geoharm_batch returns;
 *          slot 2 (nlhs 3): U, a new K-by-1 array, the potential (m^2/s^2)
 *
 * Notes:
 *   1. Point k's results are those of evaluateGradient at row k
 *      (evaluateGradientMany), or of the model's one-point evaluation;
 *      outputs not asked for are not computed.
 *      Each tensor is exactly symmetric, so column-major storage (the
 *      host's) holds it as it is computed.
 *   2. A call that cannot be read ends with an error through the host,
 *      checked in this order: geoharm_gradient:simdlevel,
 *      geoharm_gradient:nrhs, geoharm_gradient:nlhs,
 *      geoharm_gradient:positions (class, shape, 3-by-K, more than
 *      238609294 rows: 9*K must fit the host's 32-bit sizes),
 *      geoharm_gradient:degree, geoharm_gradient:order,
 *      geoharm_gradient:model (texts in gateway_errors.h, inputs numbered
 *      as the caller wrote them).  All checks run before any output
 *      exists.
 *   3. Host routines of a valid call, in this order:
 *        before the outputs: mxgetclassid_ of input 1 (a model?); for P:
 *          mxgetclassid_, mxiscomplex_, mxissparse_,
 *          mxgetnumberofdimensions_, mxgetm_, mxgetn_; for N, then M:
 *          mxgetclassid_, mxissparse_, mxgetnumberofelements_, and
 *          mxgetdata_ unless it is int8; the model's fields;
 *        mxcreatenumericarray700_(3, [3 3 K], double, 0) into slot 0, then
 *          mxcreatedoublematrix700_(K, 3, 0) into slot 1 and (K, 1, 0)
 *          into slot 2 as asked, each stored at once;
 *        mxgetpr_ of P, N and M, then of each output;
 *        mxcopyptrtointeger1700_ for N, then M, one byte each, when int8;
 *        the evaluation, reading P and writing the outputs in place.
 *   4. The fixed floating-point state is set first of all and the caller's
 *      given back on return, before an error is raised, and while the host
 *      creates the outputs (which it may end the call inside).
 *   5. The call's own storage is on the stack; what passes from one call
 *      to the next is the models prepared from structs with a cache field
 *      (model_cache.h), safe for overlapping calls on several threads.
 */
#include "many/evaluate_gradient_many.h"
#include "machine/fixed_fp_state.h"
#include "machine/routine_table.h"
#include "models/evaluate_model.h"
#include "gateway_errors.h"
#include "gateway_routines.h"
#include "mex_class_ids.h"
#include "mex_host.h"
#include "model_argument.h"
#include "model_cache.h"

namespace {

/* Sizes and flags handed to the host, in constant storage. */
const geoharm::MexInt THREE = 3;
const geoharm::MexInt ONE = 1;
const geoharm::MexInt ZERO = 0;
const geoharm::MexInt DOUBLE = geoharm::DOUBLE_CLASS;

/* The data address as the doubles it holds. */
double* doublesAt(geoharm::MexPointer data) { return reinterpret_cast<double*>(data); }

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                            const MexPointer* prhs) {
    using namespace geoharm;

    /* The fixed floating-point state, before the first comparison of a
       value read from the caller. */
    const FixedFpState fixedState;

    /* The vector routines: GEOHARM_SIMD_LEVEL, if set, must name a level
       this processor runs. */
    if (routineProblem() != nullptr) raiseHostError(fixedState, GRADIENT_SIMD_LEVEL_ID, routineProblem());

    /* A model struct first: the other inputs follow it. */
    const bool withModel = *nrhs >= 1 && GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&prhs[0]) == STRUCT_CLASS;
    const int shift = withModel ? 1 : 0;
    const MexPointer* inputs = prhs + shift;

    /* Checks: three inputs after the model, at most three outputs, K-by-3
       positions, readable N and M, a readable model. */
    if (*nrhs - shift != 3)
        raiseHostError(fixedState, GRADIENT_NRHS_ID, withModel ? GRADIENT_NRHS_MODEL_MESSAGE : GRADIENT_NRHS_MESSAGE);
    if (*nlhs > 3) raiseHostError(fixedState, GRADIENT_NLHS_ID, GRADIENT_NLHS_MESSAGE);
    const MexInt rows = checkPositionRows(fixedState, &inputs[0], MAX_GRADIENT_POINTS, GRADIENT_POSITIONS_ID,
                                          GRADIENT_POSITIONS_ROWS_MESSAGE, shift);
    LimitArguments limits;
    checkLimitArguments(fixedState, inputs, GRADIENT_DEGREE_ID, GRADIENT_ORDER_ID, &limits, shift);
    ModelArgument model;
    if (withModel) {
        checkModelArgument(fixedState, &prhs[0], GRADIENT_MODEL_ID, &model);
        if (!model.cacheable || !isModelKept(model.key)) checkModelContents(fixedState, model, GRADIENT_MODEL_ID);
    }

    /* 1. The outputs, each stored in its slot at once: the host owns them.
       The host may end the call inside (no memory): in the caller's state. */
    const MexInt outputs = *nlhs < 1 ? 1 : *nlhs;
    const MexInt tensorDims[3] = {3, 3, rows};
    {
        const CallerFpState hostMayEndTheCall(fixedState);
        plhs[0] =
            GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(&THREE, tensorDims, &DOUBLE, &ZERO);
        if (outputs >= 2)
            plhs[1] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&rows, &THREE, &ZERO);
        if (outputs >= 3)
            plhs[2] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&rows, &ONE, &ZERO);
    }

    /* 2. Real-data addresses of P, N and M and of the outputs. */
    const MexPointer positionsData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&inputs[0]);
    const MexPointer degreeData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&inputs[1]);
    const MexPointer orderData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&inputs[2]);
    MexPointer resultData[3] = {0, 0, 0};
    for (MexInt i = 0; i < outputs; i++) resultData[i] = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&plhs[i]);

    /* 3. N, then M: an int8 by its first byte, another class by value. */
    copyInt8Limits(degreeData, orderData, &limits);

    /* 4. The columns of P and of A, the tensors nine doubles a point.  No
       column is formed for K = 0 (an empty array may have no data). */
    const std::size_t count = static_cast<std::size_t>(rows);
    if (count == 0) return;
    const double* x = doublesAt(positionsData);
    double* a = outputs >= 2 ? doublesAt(resultData[1]) : nullptr;
    double* u = outputs >= 3 ? doublesAt(resultData[2]) : nullptr;

    /* 5. The field at every point: of the model (prepared now or kept from
       an earlier call), or of the compiled-in model. */
    if (withModel) {
        const ModelData* prepared = modelForCall(fixedState, model, GRADIENT_MODEL_ID);
        evaluateModelMany(*prepared, count, x, x + count, x + 2 * count, limits.n, limits.m, u, a,
                          a != nullptr ? a + count : nullptr, a != nullptr ? a + 2 * count : nullptr,
                          doublesAt(resultData[0]));
        releaseModelData(prepared);
        return;
    }
    evaluateGradientMany(count, x, x + count, x + 2 * count, compiledModelLimit(limits.n), compiledModelLimit(limits.m), doublesAt(resultData[0]), a,
                         a != nullptr ? a + count : nullptr, a != nullptr ? a + 2 * count : nullptr, u);
}
