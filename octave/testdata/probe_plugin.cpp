/*
 * probe_plugin.cpp - TEST FIXTURE, not a deliverable.  A stand-in for
 * geoharm.mexa64 used only to exercise the Octave adapter (libmx.so,
 * libmex.so) while the real plug-in is built elsewhere.
 *
 * It is linked like the real plug-in (by-reference entry point mexfunction_
 * in version node FMEX, soname geoharm.mexa64, needs libmx/libmex/libmat,
 * static libstdc++ and libgcc), calls every adapter routine, and answers
 * as the gateway does: the checks in the same order with the same error
 * identifiers, N and M read by value, then the field evaluated by the
 * project's own field library.  Passing tests against it show the adapter
 * works; they say nothing about the real gateway.
 */
#include <cmath>
#include <cstring>

#include "evaluate_acceleration.h"
#include "mex_host.h"

namespace {

using geoharm::MexInt;
using geoharm::MexPointer;

const MexInt THREE = 3;
const MexInt ONE = 1;
const MexInt REAL = 0;

/* The identifiers packed into one buffer with no terminators between them,
   as a character constant of the by-reference binding is: the adapter must
   go by the hidden lengths, not look for a NUL. */
const char IDS[] = "geoharm:nrhsgeoharm:positiongeoharm:degreegeoharm:order";
struct Id {
    std::size_t offset, length;
};
const Id NRHS{0, 12}, POSITION{12, 16}, DEGREE{28, 14}, ORDER{42, 13};

/* The message ends in "(100%%)" plus an unterminated tail: a '%' must print
   as itself ("%%" stays two characters) and the tail must not show. */
[[noreturn]] void fail(Id id, const char* message) {
    GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)(IDS + id.offset, message, id.length,
                                                            std::strlen(message) - 4);
}

/* A scalar of any numeric or logical class as a double; false if the class
   is not numeric/logical or the array is empty. */
bool readNumber(const MexPointer* slot, double* value, std::int8_t* byte, bool* isInt8) {
    if (GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(slot) < 1) return false;
    const MexInt classId = GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(slot);
    MexPointer data = GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(slot);
    const void* p = reinterpret_cast<const void*>(data);
    *isInt8 = classId == 8;
    switch (classId) {
        case 3: *value = *static_cast<const unsigned char*>(p); return true;
        case 6: GEOHARM_MEX_NAME(mxcopyptrtoreal8700_, MXCOPYPTRTOREAL8700)(&data, value, &ONE); return true;
        case 7: *value = *static_cast<const float*>(p); return true;
        case 8: {
            /* The real-data address of an int8 array, as a gateway that reads
               the first byte of any class asks for it. */
            const MexPointer pr = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(slot);
            GEOHARM_MEX_NAME(mxcopyptrtointeger1700_, MXCOPYPTRTOINTEGER1700)(&pr, byte, &ONE);
            return true;
        }
        case 9: *value = *static_cast<const std::uint8_t*>(p); return true;
        case 10: *value = *static_cast<const std::int16_t*>(p); return true;
        case 11: *value = *static_cast<const std::uint16_t*>(p); return true;
        case 12: *value = *static_cast<const std::int32_t*>(p); return true;
        case 13: *value = *static_cast<const std::uint32_t*>(p); return true;
        case 14: *value = static_cast<double>(*static_cast<const std::int64_t*>(p)); return true;
        case 15: *value = static_cast<double>(*static_cast<const std::uint64_t*>(p)); return true;
        default: return false;
    }
}

/* N or M: int8 by its byte; other classes truncated and saturated. */
std::int8_t readLimit(const MexPointer* slot, Id id) {
    double value = 0.0;
    std::int8_t byte = 0;
    bool isInt8 = false;
    if (!readNumber(slot, &value, &byte, &isInt8) || std::isnan(value))
        fail(id, "N and M must be numeric scalars, not NaN (100%%)TAIL");
    if (isInt8) return byte;
    const double t = std::trunc(value);
    return static_cast<std::int8_t>(t < -128.0 ? -128.0 : (t > 127.0 ? 127.0 : t));
}

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                           const MexPointer* prhs) {
    (void)nlhs;
    if (*nrhs < 3) fail(NRHS, "three inputs are needed: position, N, M (100%%)TAIL");
    if (GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&prhs[0]) != 6 ||
        GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(&prhs[0]) != 0 ||
        GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(&prhs[0]) != 0 ||
        GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&prhs[0]) < 3)
        fail(POSITION, "the position must be a real double array of at least 3 elements (100%%)TAIL");
    geoharm::FieldInput in{};
    in.n = readLimit(&prhs[1], DEGREE);
    in.m = readLimit(&prhs[2], ORDER);
    const MexPointer position = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&prhs[0]);
    double xyz[3];
    GEOHARM_MEX_NAME(mxcopyptrtoreal8700_, MXCOPYPTRTOREAL8700)(&position, xyz, &THREE);
    in.x = xyz[0];
    in.y = xyz[1];
    in.z = xyz[2];
    double a[3];
    geoharm::evaluateAcceleration(in, a);
    plhs[0] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&THREE, &ONE, &REAL);
    const MexPointer out = GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&plhs[0]);
    GEOHARM_MEX_NAME(mxcopyreal8toptr700_, MXCOPYREAL8TOPTR700)(a, &out, &THREE);
}
