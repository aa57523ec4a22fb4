/*
 * mx_routines.cpp - the by-reference array routines the plug-in imports
 * from libmx (declared in mex_host.h).  Every argument is an address; an
 * array handle arrives as the address of the slot that holds it, a data
 * address as the address of a variable that holds it.  Each call is noted
 * in the thread's trace (host_api.h), when one is set, before it is
 * carried out.
 *
 * An array the plug-in asks for that cannot be created ends the call with
 * the host's error HOST_NOMEM_ID, as a host does: the plug-in never gets a
 * null handle back.
 */
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "call_frame.h"
#include "host_api.h"
#include "mex_class_ids.h"
#include "mex_host.h"
#include "mx_array.h"

using geoharm::host::arrayOf;
using geoharm::host::noteHostCall;

namespace {

/*
 * The array just created, or, when there is none (createArray gave 0: a
 * negative size, or memory that ran out), the end of the call with the
 * host's error HOST_NOMEM_ID.  Its text goes into a buffer of its own:
 * nothing is left to allocate.
 */
MexPointer createdOrHostError(MexPointer handle, const MexInt* dims, MexInt ndim, MexInt classId, bool complex) {
    if (handle != 0) return handle;
    char size[96] = "";
    bool negative = false;
    double bytes = static_cast<double>(geoharm::host::elementSize(classId)) * (complex ? 2.0 : 1.0);
    for (MexInt i = 0; i < ndim; i++) {
        const std::size_t used = std::strlen(size);
        std::snprintf(size + used, sizeof size - used, "%s%ld", i > 0 ? "-by-" : "", static_cast<long>(dims[i]));
        negative = negative || dims[i] < 0;
        bytes *= static_cast<double>(dims[i]);
    }
    char message[200];
    const int length = negative ? std::snprintf(message, sizeof message,
                                                "Cannot create a %s %s array: a size is negative.", size,
                                                geoharm::host::className(classId))
                                : std::snprintf(message, sizeof message,
                                                "Out of memory: cannot create a %s %s%s array (%.0f bytes).", size,
                                                complex ? "complex " : "", geoharm::host::className(classId), bytes);
    const std::size_t kept = length < 0                                         ? 0
                             : static_cast<std::size_t>(length) < sizeof message ? static_cast<std::size_t>(length)
                                                                                 : sizeof message - 1;
    geoharm::host::endCallWithError(geoharm::host::HOST_NOMEM_ID, std::strlen(geoharm::host::HOST_NOMEM_ID), message,
                                    kept, true);
}

}  // namespace

extern "C" {

MexPointer GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(const MexInt* rows, const MexInt* cols,
                                                                               const MexInt* complexFlag) {
    noteHostCall("mxcreatedoublematrix700_", {*rows, *cols, *complexFlag});
    const MexInt dims[2] = {*rows, *cols};
    const MexPointer handle = geoharm::host::createArray(geoharm::DOUBLE_CLASS, {*rows, *cols}, *complexFlag != 0, false);
    return createdOrHostError(handle, dims, 2, geoharm::DOUBLE_CLASS, *complexFlag != 0);
}

MexPointer GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(const MexInt* ndim, const MexInt* dims,
                                                                               const MexInt* classId,
                                                                               const MexInt* complexFlag) {
    /* The host's shape: trailing dimensions of 1 after the second dropped,
       at least two (createArray pads with 1).  The lists this needs that
       cannot be allocated are memory that ran out, as the array itself. */
    MexPointer handle = 0;
    try {
        std::vector<long long> noted{*ndim};
        for (MexInt i = 0; i < *ndim; i++) noted.push_back(dims[i]);
        noted.push_back(*classId);
        noted.push_back(*complexFlag);
        noteHostCall("mxcreatenumericarray700_", noted);
        std::vector<MexSize> shape;
        for (MexInt i = 0; i < *ndim; i++) shape.push_back(dims[i]);
        while (shape.size() > 2 && shape.back() == 1) shape.pop_back();
        handle = geoharm::host::createArray(*classId, shape, *complexFlag != 0, false);
    } catch (const std::bad_alloc&) {
        handle = 0;
    }
    return createdOrHostError(handle, dims, *ndim, *classId, *complexFlag != 0);
}

MexPointer GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(const MexPointer* slot) {
    noteHostCall("mxgetpr_", {*slot});
    return reinterpret_cast<MexPointer>(arrayOf(*slot, "mxgetpr")->real);
}

MexPointer GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(const MexPointer* slot) {
    noteHostCall("mxgetdata_", {*slot});
    return reinterpret_cast<MexPointer>(arrayOf(*slot, "mxgetdata")->real);
}

MexInt GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(const MexPointer* slot) {
    noteHostCall("mxgetclassid_", {*slot});
    return arrayOf(*slot, "mxgetclassid")->classId;
}

MexSize GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(const MexPointer* slot) {
    noteHostCall("mxgetnumberofelements_", {*slot});
    return arrayOf(*slot, "mxgetnumberofelements")->count;
}

MexSize GEOHARM_MEX_NAME(mxgetm_, MXGETM)(const MexPointer* slot) {
    noteHostCall("mxgetm_", {*slot});
    return arrayOf(*slot, "mxgetm")->dims[0];
}

MexSize GEOHARM_MEX_NAME(mxgetn_, MXGETN)(const MexPointer* slot) {
    noteHostCall("mxgetn_", {*slot});
    const std::vector<MexSize>& dims = arrayOf(*slot, "mxgetn")->dims;
    MexSize n = 1;
    for (std::size_t i = 1; i < dims.size(); i++) n *= dims[i];
    return n;
}

MexSize GEOHARM_MEX_NAME(mxgetnumberofdimensions_, MXGETNUMBEROFDIMENSIONS)(const MexPointer* slot) {
    noteHostCall("mxgetnumberofdimensions_", {*slot});
    /* As the host counts them: trailing dimensions of 1 after the second
       do not count. */
    const std::vector<MexSize>& dims = arrayOf(*slot, "mxgetnumberofdimensions")->dims;
    std::size_t count = dims.size();
    while (count > 2 && dims[count - 1] == 1) count--;
    return static_cast<MexSize>(count);
}

MexInt GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(const MexPointer* slot) {
    noteHostCall("mxiscomplex_", {*slot});
    return arrayOf(*slot, "mxiscomplex")->complex ? 1 : 0;
}

MexInt GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(const MexPointer* slot) {
    noteHostCall("mxissparse_", {*slot});
    return arrayOf(*slot, "mxissparse")->sparse ? 1 : 0;
}

void GEOHARM_MEX_NAME(mxcopyptrtoreal8700_, MXCOPYPTRTOREAL8700)(const MexPointer* src, double* dst,
                                                                 const MexInt* count) {
    noteHostCall("mxcopyptrtoreal8700_", {*src, *count});
    std::memcpy(dst, reinterpret_cast<const void*>(*src), static_cast<std::size_t>(*count) * sizeof(double));
}

void GEOHARM_MEX_NAME(mxcopyptrtointeger1700_, MXCOPYPTRTOINTEGER1700)(const MexPointer* src, std::int8_t* dst,
                                                                       const MexInt* count) {
    noteHostCall("mxcopyptrtointeger1700_", {*src, *count});
    std::memcpy(dst, reinterpret_cast<const void*>(*src), static_cast<std::size_t>(*count));
}

void GEOHARM_MEX_NAME(mxcopyreal8toptr700_, MXCOPYREAL8TOPTR700)(const double* src, const MexPointer* dst,
                                                                 const MexInt* count) {
    noteHostCall("mxcopyreal8toptr700_", {*dst, *count});
    std::memcpy(reinterpret_cast<void*>(*dst), src, static_cast<std::size_t>(*count) * sizeof(double));
}

MexPointer GEOHARM_MEX_NAME(mxgetfield700_, MXGETFIELD700)(const MexPointer* slot, const MexInt* index,
                                                           const char* name, std::size_t nameLength) {
    noteHostCall("mxgetfield700_", {*slot, *index, static_cast<long long>(nameLength)});
    arrayOf(*slot, "mxgetfield700");
    return geoharm::host::getField(*slot, *index - 1, std::string_view(name, nameLength));
}

MexInt GEOHARM_MEX_NAME(mxgetstring700_, MXGETSTRING700)(const MexPointer* slot, char* text, const MexInt* size,
                                                         std::size_t textLength) {
    noteHostCall("mxgetstring700_", {*slot, *size, static_cast<long long>(textLength)});
    const geoharm::host::MxArray* a = arrayOf(*slot, "mxgetstring700");
    const MexSize room = *size < 0 ? 0 : *size;
    const bool isChar = a->classId == geoharm::CHAR_CLASS;
    const MexSize count = isChar ? a->count : 0;
    const std::uint16_t* chars = static_cast<const std::uint16_t*>(a->real);
    for (MexSize i = 0; i < room; i++) text[i] = i < count ? (chars[i] < 128 ? static_cast<char>(chars[i]) : '?') : ' ';
    return isChar && count <= room ? 0 : 1;
}

}  // extern "C"
