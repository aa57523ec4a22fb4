/*
 * old_glibc_host.c - a host of the fewest routines a Linux plug-in imports,
 * in C, built against an older glibc than the build machine's and run on
 * it: it loads the plug-in given, calls it once with K rows of the worked
 * example's position at N = M = 10, and prints the glibc it runs on and
 * the first and last rows of the result.  Host routines come from this
 * program (linked with -rdynamic); the plug-in's libmx.so, libmex.so and
 * libmat.so are empty libraries beside it.
 *
 * Usage: old_glibc_host PLUGIN K     (K = 1 for geoharm, any K for
 *                                      geoharm_batch: one K-by-3 output, and
 *                                      geoharm_gradient: its second output,
 *                                      the K-by-3 accelerations)
 * Exit status 0 after the call, 1 when the plug-in does not load, 2 when it
 * raised an error.
 */
#include <dlfcn.h>
#include <gnu/libc-version.h>
#include <setjmp.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int32_t MexInt;
typedef intptr_t MexPointer;
typedef intptr_t MexSize;

/* Every array is a real double matrix. */
typedef struct {
    MexSize rows, cols;
    double* data;
} Array;

static jmp_buf errorExit;

static Array* array(MexPointer slot) { return (Array*)slot; }

MexPointer mxcreatedoublematrix700_(const MexInt* rows, const MexInt* cols, const MexInt* complexFlag) {
    (void)complexFlag;
    Array* a = malloc(sizeof *a);
    a->rows = *rows;
    a->cols = *cols;
    a->data = calloc((size_t)(*rows * *cols) + 1, sizeof(double));
    return (MexPointer)a;
}
MexPointer mxcreatenumericarray700_(const MexInt* ndim, const MexInt* dims, const MexInt* classId,
                                    const MexInt* complexFlag) {
    MexInt cols = 1;
    for (MexInt i = 1; i < *ndim; i++) cols *= dims[i];
    (void)classId;
    return mxcreatedoublematrix700_(&dims[0], &cols, complexFlag);
}
MexPointer mxgetpr_(const MexPointer* slot) { return (MexPointer)array(*slot)->data; }
MexPointer mxgetdata_(const MexPointer* slot) { return (MexPointer)array(*slot)->data; }
MexInt mxgetclassid_(const MexPointer* slot) { (void)slot; return 6; /* double */ }
MexSize mxgetnumberofelements_(const MexPointer* slot) { return array(*slot)->rows * array(*slot)->cols; }
MexSize mxgetm_(const MexPointer* slot) { return array(*slot)->rows; }
MexSize mxgetn_(const MexPointer* slot) { return array(*slot)->cols; }
MexSize mxgetnumberofdimensions_(const MexPointer* slot) { (void)slot; return 2; }
MexInt mxiscomplex_(const MexPointer* slot) { (void)slot; return 0; }
MexInt mxissparse_(const MexPointer* slot) { (void)slot; return 0; }
void mxcopyptrtoreal8700_(const MexPointer* src, double* dst, const MexInt* count) {
    memcpy(dst, (const double*)*src, (size_t)*count * sizeof(double));
}
void mxcopyptrtointeger1700_(const MexPointer* src, int8_t* dst, const MexInt* count) {
    memcpy(dst, (const int8_t*)*src, (size_t)*count);
}
void mxcopyreal8toptr700_(const double* src, const MexPointer* dst, const MexInt* count) {
    memcpy((double*)*dst, src, (size_t)*count * sizeof(double));
}
/* No struct or char arrays here: the plug-ins' model argument is not used. */
MexPointer mxgetfield700_(const MexPointer* slot, const MexInt* index, const char* name, size_t nameLength) {
    (void)slot, (void)index, (void)name, (void)nameLength;
    return 0;
}
MexInt mxgetstring700_(const MexPointer* slot, char* text, const MexInt* size, size_t textLength) {
    (void)slot, (void)text, (void)size, (void)textLength;
    return 1;
}
void mexerrmsgidandtxt_(const char* id, const char* message, size_t idLength, size_t messageLength) {
    fprintf(stderr, "error %.*s: %.*s\n", (int)idLength, id, (int)messageLength, message);
    longjmp(errorExit, 1);
}

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    const MexInt K = atoi(argv[2]);
    printf("glibc %s\n", gnu_get_libc_version());
    void* plugin = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!plugin) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    void (*entry)(const MexInt*, MexPointer*, const MexInt*, const MexPointer*) =
        (void (*)(const MexInt*, MexPointer*, const MexInt*, const MexPointer*))dlsym(plugin, "mexfunction_");
    if (!entry) return 1;

    /* geoharm takes one 3-element position; geoharm_batch and
       geoharm_gradient K rows. */
    const MexInt one = 1, three = 3, real = 0;
    const int gradient = strstr(argv[1], "geoharm_gradient") != NULL;
    const int batch = strstr(argv[1], "geoharm_batch") != NULL || gradient;
    MexPointer rhs[3];
    rhs[0] = batch ? mxcreatedoublematrix700_(&K, &three, &real) : mxcreatedoublematrix700_(&three, &one, &real);
    const double position[3] = {7000000.0, 1000000.0, 2000000.0};
    double* p = array(rhs[0])->data;
    const MexSize rows = batch ? K : 1;
    for (MexSize i = 0; i < rows; i++)
        for (int c = 0; c < 3; c++) p[batch ? i + c * rows : c] = position[c];
    for (int i = 1; i <= 2; i++) {
        rhs[i] = mxcreatedoublematrix700_(&one, &one, &real);
        array(rhs[i])->data[0] = 10.0;
    }

    MexPointer lhs[2] = {0, 0};
    const MexInt nlhs = gradient ? 2 : 1, nrhs = 3;
    if (setjmp(errorExit)) return 2;
    entry(&nlhs, lhs, &nrhs, rhs);

    const double* a = array(lhs[gradient ? 1 : 0])->data;
    for (MexSize i = 0; i < rows; i += rows > 1 ? rows - 1 : 1)
        printf("%.17g %.17g %.17g\n", a[i], a[i + rows], a[i + 2 * rows]);
    return 0;
}
