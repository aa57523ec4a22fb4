/*
 * limit_arguments.cpp - N and M of a call, as the three plug-ins that
 * evaluate (geoharm, geoharm_batch, geoharm_gradient) read them:
 * checked and classified before anything is created, an int8 copied by its
 * first byte afterwards.
 */
#include "gateway_errors.h"
#include "gateway_routines.h"
#include "mex_host.h"

namespace geoharm {

namespace {

const MexInt ONE = 1;

}  // namespace

void checkLimitArguments(const FixedFpState& fixedState, const MexPointer* prhs, const char* degreeId,
                         const char* orderId, LimitArguments* limits, int inputShift) {
    /* N: unusable, not one number, NaN. */
    limits->nReading = readLimitArgument(&prhs[1], &limits->n);
    if (limits->nReading == LimitReading::Unusable) raiseHostError(fixedState, degreeId, DEGREE_MESSAGE, inputShift);
    if (limits->nReading == LimitReading::NotScalar) raiseHostError(fixedState, degreeId, DEGREE_SCALAR_MESSAGE, inputShift);
    if (limits->nReading == LimitReading::NotANumber) raiseHostError(fixedState, degreeId, DEGREE_NAN_MESSAGE, inputShift);
    /* M likewise. */
    limits->mReading = readLimitArgument(&prhs[2], &limits->m);
    if (limits->mReading == LimitReading::Unusable) raiseHostError(fixedState, orderId, ORDER_MESSAGE, inputShift);
    if (limits->mReading == LimitReading::NotScalar) raiseHostError(fixedState, orderId, ORDER_SCALAR_MESSAGE, inputShift);
    if (limits->mReading == LimitReading::NotANumber) raiseHostError(fixedState, orderId, ORDER_NAN_MESSAGE, inputShift);
}

void copyInt8Limits(MexPointer degreeData, MexPointer orderData, LimitArguments* limits) {
    std::int8_t byte = 0;
    if (limits->nReading == LimitReading::Byte) {
        GEOHARM_MEX_NAME(mxcopyptrtointeger1700_, MXCOPYPTRTOINTEGER1700)(&degreeData, &byte, &ONE);
        limits->n = byte;
    }
    if (limits->mReading == LimitReading::Byte) {
        GEOHARM_MEX_NAME(mxcopyptrtointeger1700_, MXCOPYPTRTOINTEGER1700)(&orderData, &byte, &ONE);
        limits->m = byte;
    }
}

}  // namespace geoharm
