/*
 * mx_routines.cpp - the by-reference array routines the plug-in imports
 * from libmx (declared in mex_host.h).  Every argument is an address; an
 * array handle arrives as the address of the slot that holds it, a data
 * address as the address of a variable that holds it.  Each call is noted
 * in the thread's trace (host_api.h), when one is set, before it is
 * carried out.
 */
#include <cstring>
#include <vector>

#include "host_api.h"
#include "mex_class_ids.h"
#include "mex_host.h"
#include "mx_array.h"

using geoharm::host::arrayOf;
using geoharm::host::noteHostCall;

extern "C" {

MexPointer GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(const MexInt* rows, const MexInt* cols,
                                                                               const MexInt* complexFlag) {
    noteHostCall("mxcreatedoublematrix700_", {*rows, *cols, *complexFlag});
    return geoharm::host::createArray(geoharm::DOUBLE_CLASS, {*rows, *cols}, *complexFlag != 0, false);
}

MexPointer GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(const MexInt* ndim, const MexInt* dims,
                                                                               const MexInt* classId,
                                                                               const MexInt* complexFlag) {
    std::vector<long long> noted{*ndim};
    for (MexInt i = 0; i < *ndim; i++) noted.push_back(dims[i]);
    noted.push_back(*classId);
    noted.push_back(*complexFlag);
    noteHostCall("mxcreatenumericarray700_", noted);
    /* The host's shape: trailing dimensions of 1 after the second dropped,
       at least two (createArray pads with 1). */
    std::vector<MexSize> shape;
    for (MexInt i = 0; i < *ndim; i++) shape.push_back(dims[i]);
    while (shape.size() > 2 && shape.back() == 1) shape.pop_back();
    return geoharm::host::createArray(*classId, shape, *complexFlag != 0, false);
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

}  // extern "C"
