/*
 * mex_function.cpp - the plug-in's entry point: geoharm(position, N, M).
 *
 * Given (every argument by address, as the host passes them):
 *   nlhs   number of outputs asked for (not read: output slot 0 is filled
 *          even when it is 0, where the host keeps it as the answer)
 *   nrhs   number of inputs given (exactly 3)
 *   prhs   input slots: 0 position x, y, z (m, Earth-fixed; a real double
 *          vector, elements after the third ignored), 1 maximum degree N,
 *          2 maximum order M (int8 read by their first byte; other numeric
 *          or logical classes by value, truncated and saturated to int8)
 * Returned:
 *   plhs   slot 0: a new 3x1 real double array, a_x, a_y, a_z (m/s^2)
 *
 * Notes:
 *   1. A call that cannot be read ends with an error through the host
 *      (identifiers geoharm:simdlevel where GEOHARM_SIMD_LEVEL names a
 *      level this processor cannot use, geoharm:nrhs for fewer or more than three inputs,
 *      geoharm:position, also for a matrix, geoharm:degree, geoharm:order;
 *      texts in gateway_errors.h).  All checks run before the output array
 *      is created, so such a call leaves nothing behind and holds nothing
 *      when the host unwinds it.
 *   2. A valid call talks to the host in a fixed order: create the output
 *      and store it at once; real-data addresses of inputs 0, 1, 2 and of
 *      the output; copy the position in; copy the int8 limits in; evaluate;
 *      copy the result out.
 *   3. The call computes in the fixed floating-point state (round to
 *      nearest, subnormals kept, exceptions masked), set first of all; the
 *      caller's state is given back on return, before an error is raised
 *      through the host, which does not come back, and while the host
 *      creates the output, which it may end the call inside.
 *   4. No state passes from one call to the next; all storage is on the
 *      stack, so overlapping calls on several threads are safe.
 */
#include "point/evaluate_acceleration.h"
#include "machine/fixed_fp_state.h"
#include "machine/routine_table.h"
#include "gateway_errors.h"
#include "gateway_routines.h"
#include "mex_host.h"

namespace {

/* Sizes and flags handed to the host, in constant storage. */
const geoharm::MexInt THREE = 3;
const geoharm::MexInt ONE = 1;
const geoharm::MexInt ZERO = 0;

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                            const MexPointer* prhs) {
    using namespace geoharm;
    static_cast<void>(nlhs);

    /* The fixed floating-point state, before the first comparison of a
       value read from the caller (a signalling NaN must not trap). */
    const FixedFpState fixedState;

    /* The vector routines: GEOHARM_SIMD_LEVEL, if set, must name a level
       this processor runs. */
    if (routineProblem() != nullptr) raiseHostError(fixedState, SIMD_LEVEL_ID, routineProblem());

    /* Checks: three inputs, a position that is one point, readable N and M. */
    if (*nrhs < 3) raiseHostError(fixedState, NRHS_ID, NRHS_FEW_MESSAGE);
    if (*nrhs > 3) raiseHostError(fixedState, NRHS_ID, NRHS_MANY_MESSAGE);
    switch (readPosition(&prhs[0])) {
        case PositionReading::Usable:
            break;
        case PositionReading::Unusable:
            raiseHostError(fixedState, POSITION_ID, POSITION_MESSAGE);
        case PositionReading::Matrix:
            raiseHostError(fixedState, POSITION_ID, POSITION_MATRIX_MESSAGE);
    }
    LimitArguments limits;
    checkLimitArguments(fixedState, prhs, DEGREE_ID, ORDER_ID, &limits);

    /* 1. The 3x1 real output, stored in slot 0 at once: the host owns it.
       The host may end the call inside (no memory): in the caller's state. */
    {
        const CallerFpState hostMayEndTheCall(fixedState);
        plhs[0] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&THREE, &ONE, &ZERO);
    }

    /* 2. Real-data addresses of inputs 0, 1, 2 and of output 0. */
    const MexPointer positionData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&prhs[0]);
    const MexPointer degreeData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&prhs[1]);
    const MexPointer orderData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&prhs[2]);
    const MexPointer resultData = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&plhs[0]);

    /* 3. x, y, z: the first three doubles of the position. */
    double xyz[3];
    GEOHARM_MEX_NAME(mxcopyptrtoreal8700_, MXCOPYPTRTOREAL8700)(&positionData, xyz, &THREE);
    FieldInput in;
    in.x = xyz[0];
    in.y = xyz[1];
    in.z = xyz[2];

    /* 4. N, then M: an int8 by its first byte, another class by value. */
    copyInt8Limits(degreeData, orderData, &limits);
    in.n = compiledModelLimit(limits.n);
    in.m = compiledModelLimit(limits.m);

    /* 5. The field at this point. */
    double a[3];
    evaluateAccelerationUnguarded(in, a);

    /* 6. a_x, a_y, a_z into the output's real data. */
    GEOHARM_MEX_NAME(mxcopyreal8toptr700_, MXCOPYREAL8TOPTR700)(a, &resultData, &THREE);
}
