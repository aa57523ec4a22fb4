/*
 * mex_host.h - the host routines the plug-in calls, in the host's
 * by-reference binding, and its own entry point.
 *
 * Every argument is the address of the value.  An array handle is a
 * MexPointer; "data address" is the address of an array's first element.
 * The routines come from the host's libmx, except the error routine, which
 * comes from libmex.  Implemented by the host (and by the project's
 * stand-in host and its Octave adapter); the plug-in only declares them.
 *
 * Class identifiers follow the host's numbering:
 *   0 unknown, 1 cell, 2 struct, 3 logical, 4 char, 5 void, 6 double,
 *   7 single, 8 int8, 9 uint8, 10 int16, 11 uint16, 12 int32, 13 uint32,
 *   14 int64, 15 uint64, 16 function handle.
 */
#ifndef GEOHARM_MEX_HOST_H
#define GEOHARM_MEX_HOST_H

#include "mex_platform.h"

extern "C" {

using geoharm::MexInt;
using geoharm::MexPointer;
using geoharm::MexSize;

/* --- The entry point the plug-in exports ------------------------------- */

/* nlhs, nrhs: counts of outputs asked for and inputs given; plhs, prhs:
   the host's output and input slots (array handles). */
void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                 const MexPointer* prhs);

/* --- Arrays (libmx) ----------------------------------------------------- */

/* A new rows x cols double array, zero-filled; complexFlag 0 = real. */
MexPointer GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(const MexInt* rows, const MexInt* cols,
                                                                               const MexInt* complexFlag);

/* A new array of *ndim dimensions dims[0..*ndim-1], of class *classId
   (numbering above), zero-filled; complexFlag 0 = real.  As the host keeps
   them, dimensions of 1 after the second are dropped from the end (3-by-
   3-by-1 is 3-by-3), and fewer than two are padded with 1. */
MexPointer GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(const MexInt* ndim, const MexInt* dims,
                                                                               const MexInt* classId,
                                                                               const MexInt* complexFlag);

/* Data address of the real part of the array whose handle is at *slot. */
MexPointer GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(const MexPointer* slot);

/* Data address of the array's data, whatever its class. */
MexPointer GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(const MexPointer* slot);

/* Class identifier (numbering above). */
MexInt GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(const MexPointer* slot);

/* Number of elements (product of the dimensions). */
MexSize GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(const MexPointer* slot);

/* Number of rows: the first dimension. */
MexSize GEOHARM_MEX_NAME(mxgetm_, MXGETM)(const MexPointer* slot);

/* Number of columns: the product of every dimension after the first. */
MexSize GEOHARM_MEX_NAME(mxgetn_, MXGETN)(const MexPointer* slot);

/* Number of dimensions (2 or more: trailing ones of size 1 are dropped). */
MexSize GEOHARM_MEX_NAME(mxgetnumberofdimensions_, MXGETNUMBEROFDIMENSIONS)(const MexPointer* slot);

/* 1 if the array has an imaginary part, else 0. */
MexInt GEOHARM_MEX_NAME(mxiscomplex_, MXISCOMPLEX)(const MexPointer* slot);

/* 1 if the array is sparse, else 0. */
MexInt GEOHARM_MEX_NAME(mxissparse_, MXISSPARSE)(const MexPointer* slot);

/* count doubles from the data address held in *src to dst. */
void GEOHARM_MEX_NAME(mxcopyptrtoreal8700_, MXCOPYPTRTOREAL8700)(const MexPointer* src, double* dst,
                                                                 const MexInt* count);

/* count bytes (signed 8-bit integers) from the data address in *src to dst. */
void GEOHARM_MEX_NAME(mxcopyptrtointeger1700_, MXCOPYPTRTOINTEGER1700)(const MexPointer* src, std::int8_t* dst,
                                                                       const MexInt* count);

/* count doubles from src to the data address held in *dst. */
void GEOHARM_MEX_NAME(mxcopyreal8toptr700_, MXCOPYREAL8TOPTR700)(const double* src, const MexPointer* dst,
                                                                 const MexInt* count);

/* The array in field `name` (nameLength bytes, not NUL-terminated: the
   character binding's hidden length) of element *index (counted from 1) of
   the struct array at *slot; 0 when the array is not a struct, the index
   is out of range or there is no such field.  The array stays the
   struct's: the plug-in only reads it. */
MexPointer GEOHARM_MEX_NAME(mxgetfield700_, MXGETFIELD700)(const MexPointer* slot, const MexInt* index,
                                                           const char* name, std::size_t nameLength);

/* The characters of the char array at *slot into text[0 .. *size-1],
   padded with blanks, one byte a character (characters beyond ASCII become
   '?'); textLength is the character binding's hidden length of text (at
   least *size).  Returns 0, or 1 when the array is not char or holds more
   than *size characters (the text is then what fits). */
MexInt GEOHARM_MEX_NAME(mxgetstring700_, MXGETSTRING700)(const MexPointer* slot, char* text, const MexInt* size,
                                                         std::size_t textLength);

/* --- Errors (libmex) ---------------------------------------------------- */

/* Ends the plug-in call with an error that reaches the caller with its
   identifier ("geoharm:nrhs") and message.  The strings need not be
   NUL-terminated: their lengths follow as hidden trailing arguments, passed
   by value, as the host's character binding does.  Does not return. */
[[noreturn]] void GEOHARM_MEX_NAME(mexerrmsgidandtxt_, MEXERRMSGIDANDTXT)(const char* id, const char* message,
                                                                          std::size_t idLength,
                                                                          std::size_t messageLength);

}  // extern "C"

#endif
