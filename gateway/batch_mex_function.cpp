/*
 * batch_mex_function.cpp - the entry point of the second plug-in:
 * geoharm_batch(P, N, M), the acceleration at K points in one call, of the
 * compiled-in model, or geoharm_batch(model, P, N, M), of a model given as
 * a struct (model_argument.h).
 *
 * Given (every argument by address, as the host passes them):
 *   nlhs   number of outputs asked for: 0 or 1 (one K-by-3 array, in slot
 *          0 also for 0, where the host keeps it as the answer) or 3
 *          (three K-by-1 arrays); any other count is refused
 *   nrhs   number of inputs given (exactly 3, or 4 with a model)
 *   prhs   input slots: with a model, the model struct first, the others
 *          after it; positions P, a real double K-by-3 array, one point per
 *          row, columns x, y, z (m, in the model's body-fixed axes; K >= 0);
 *          maximum degree N, maximum order M, read as geoharm reads them
 *          (int8 by the first byte; other numeric or logical classes by
 *          value, truncated; for the compiled-in model saturated to int8)
 * Returned:
 *   plhs   nlhs 0 or 1: slot 0, a new K-by-3 real double array, row k the
 *          acceleration a_x, a_y, a_z (m/s^2) at row k of P;
 *          nlhs 3: slots 0, 1, 2, new K-by-1 arrays a_x, a_y, a_z
 *
 * Notes:
 *   1. Row k is, bit for bit, what geoharm gives for P(k,:) with the same
 *      N and M (evaluateAccelerationMany holds to the single-point path);
 *      with a model, what the model's one-point evaluation gives.
 *   2. A call that cannot be read ends with an error through the host,
 *      checked in this order: geoharm_batch:simdlevel (GEOHARM_SIMD_LEVEL
 *      names a level this processor cannot use), geoharm_batch:nrhs (the
 *      count of inputs), geoharm_batch:nlhs, geoharm_batch:positions
 *      (class, shape, 3-by-K, too many rows), geoharm_batch:degree,
 *      geoharm_batch:order, geoharm_batch:model (its fields, then its
 *      tables' contents unless the plug-in keeps the model prepared);
 *      texts in gateway_errors.h, inputs numbered as the caller wrote
 *      them.  All checks run before any output array exists, so such a
 *      call leaves nothing behind and holds nothing when the host unwinds
 *      it.
 *   3. Host routines of a valid call, in this order:
 *        before the outputs: mxgetclassid_ of input 1 (a model?); for P:
 *          mxgetclassid_, mxiscomplex_, mxissparse_,
 *          mxgetnumberofdimensions_, mxgetm_, mxgetn_; for N, then M:
 *          mxgetclassid_, mxissparse_, mxgetnumberofelements_, and
 *          mxgetdata_ unless it is int8; the model's fields
 *          (mxgetfield700_ and the checks of each);
 *        mxcreatedoublematrix700_(K, 3, 0) into slot 0, or (K, 1, 0) into
 *          slots 0, 1, 2, each stored at once;
 *        mxgetpr_ of P, N and M, then of each output;
 *        mxcopyptrtointeger1700_ for N, then M, one byte each, when int8;
 *        the evaluation.
 *      The points are read, and the results written, in place through the
 *      data addresses: the host stores a K-by-3 array column by column, so
 *      its x, y and z columns are already the arrays of coordinates the
 *      evaluation takes, and a K-by-3 result its arrays of components.
 *   4. The call computes in the fixed floating-point state (round to
 *      nearest, subnormals kept, exceptions masked), set first of all; the
 *      caller's state is given back on return, before an error is raised
 *      through the host, which does not come back, and while the host
 *      creates the outputs, which it may end the call inside.
 *   5. The call's own storage is on the stack; what passes from one call
 *      to the next is the models prepared from structs with a cache field
 *      (model_cache.h), safe for overlapping calls on several threads.
 */
#include "many/evaluate_acceleration_many.h"
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

/* The data address as the doubles it holds. */
double* doublesAt(geoharm::MexPointer data) { return reinterpret_cast<double*>(data); }

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                            const MexPointer* prhs) {
    using namespace geoharm;

    /* The fixed floating-point state, before the first comparison of a
       value read from the caller (a signalling NaN must not trap). */
    const FixedFpState fixedState;

    /* The vector routines: GEOHARM_SIMD_LEVEL, if set, must name a level
       this processor runs. */
    if (routineProblem() != nullptr) raiseHostError(fixedState, BATCH_SIMD_LEVEL_ID, routineProblem());

    /* A model struct first: the other inputs follow it. */
    const bool withModel = *nrhs >= 1 && GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&prhs[0]) == STRUCT_CLASS;
    const int shift = withModel ? 1 : 0;
    const MexPointer* inputs = prhs + shift;
    const MexInt given = *nrhs - shift;

    /* Checks: three inputs after the model, one or three outputs, K-by-3
       positions, readable N and M, a readable model. */
    if (given < 3)
        raiseHostError(fixedState, BATCH_NRHS_ID, withModel ? BATCH_NRHS_MODEL_FEW_MESSAGE : BATCH_NRHS_FEW_MESSAGE);
    if (given > 3)
        raiseHostError(fixedState, BATCH_NRHS_ID, withModel ? BATCH_NRHS_MODEL_MANY_MESSAGE : BATCH_NRHS_MANY_MESSAGE);
    const bool threeOutputs = *nlhs == 3;
    if (!threeOutputs && *nlhs != 0 && *nlhs != 1) raiseHostError(fixedState, BATCH_NLHS_ID, BATCH_NLHS_MESSAGE);
    const MexInt rows = checkPositionRows(fixedState, &inputs[0], MAX_BATCH_POINTS, BATCH_POSITIONS_ID,
                                          BATCH_POSITIONS_ROWS_MESSAGE, shift);
    LimitArguments limits;
    checkLimitArguments(fixedState, inputs, BATCH_DEGREE_ID, BATCH_ORDER_ID, &limits, shift);
    ModelArgument model;
    if (withModel) {
        checkModelArgument(fixedState, &prhs[0], BATCH_MODEL_ID, &model);
        if (!model.cacheable || !isModelKept(model.key)) checkModelContents(fixedState, model, BATCH_MODEL_ID);
    }

    /* 1. The outputs, each stored in its slot at once: the host owns them.
       The host may end the call inside (no memory): in the caller's state. */
    const MexInt outputs = threeOutputs ? 3 : 1;
    {
        const CallerFpState hostMayEndTheCall(fixedState);
        for (MexInt i = 0; i < outputs; i++) {
            plhs[i] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(
                &rows, threeOutputs ? &ONE : &THREE, &ZERO);
        }
    }

    /* 2. Real-data addresses of P, N and M and of the outputs. */
    const MexPointer positionsData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&inputs[0]);
    const MexPointer degreeData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&inputs[1]);
    const MexPointer orderData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&inputs[2]);
    MexPointer resultData[3];
    for (MexInt i = 0; i < outputs; i++) resultData[i] = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&plhs[i]);

    /* 3. N, then M: an int8 by its first byte, another class by value. */
    copyInt8Limits(degreeData, orderData, &limits);

    /* 4. The columns of P and of the result(s): K doubles each, one after
       the other in a K-by-3 array.  No column is formed for K = 0 (an
       empty array may have no data). */
    const std::size_t count = static_cast<std::size_t>(rows);
    if (count == 0) return;
    const double* x = doublesAt(positionsData);
    double* ax = doublesAt(resultData[0]);
    double* ay = threeOutputs ? doublesAt(resultData[1]) : ax + count;
    double* az = threeOutputs ? doublesAt(resultData[2]) : ax + 2 * count;

    /* 5. The field at every point: of the model, prepared now or kept from
       an earlier call, or of the compiled-in model. */
    if (withModel) {
        const ModelData* prepared = modelForCall(fixedState, model, BATCH_MODEL_ID);
        evaluateModelMany(*prepared, count, x, x + count, x + 2 * count, limits.n, limits.m, nullptr, ax, ay, az,
                          nullptr);
        releaseModelData(prepared);
        return;
    }
    evaluateAccelerationMany(count, x, x + count, x + 2 * count, compiledModelLimit(limits.n),
                             compiledModelLimit(limits.m), ax, ay, az);
}
