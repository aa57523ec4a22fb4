/*
 * model_file_mex_function.cpp - the entry point of the plug-in
 * geoharm_model_file, which geoharm_load.m calls: a model file's numbers,
 * and the keys of the cache field that lets geoharm_batch and
 * geoharm_gradient keep the models they prepare (model_argument.h).
 *
 *   [GM, R_REF, max_degree, C, S, normalization, name, tide_system, key]
 *       = geoharm_model_file(FILE, EPOCH)
 *   key = geoharm_model_file(MODEL)
 *
 * Given (every argument by address, as the host passes them):
 *   nlhs   number of outputs asked for: 0 to 9 (0 fills slot 0), or 0 to
 *          1 for a MODEL
 *   nrhs   1 or 2
 *   prhs   FILE: the file's name, its UTF-8 bytes as uint8 (at most
 *          MAX_PATH_BYTES, no NUL); EPOCH (optional): empty, or the text
 *          of the epoch as uint8 (a decimal year or yyyy-mm-dd; at most
 *          MAX_EPOCH_BYTES); or MODEL: a model struct
 * Returned (each a new array):
 *   plhs   0 GM, 1 R_REF, 2 max_degree L: 1-by-1 doubles;
 *          3 C, 4 S: (L+1)-by-(L+1) doubles, C(n+1, m+1) the coefficient
 *            of degree n and order m as the file gives it (zero above the
 *            diagonal and where the file gives none), time-variable terms
 *            at EPOCH;
 *          5 normalization: 0 fully normalised, 1 unnormalised (1-by-1);
 *          6 name, 7 tide_system: uint8 rows, the UTF-8 bytes the file
 *            gives (empty when it gives none);
 *          8 key: a new key (uint64 1-by-2).
 *          For a MODEL: slot 0, a new key, after the model's checks.
 *
 * Notes:
 *   1. A call that cannot be read ends with an error through the host:
 *      geoharm_model_file:nrhs, :nlhs, :file, :epoch (the arguments),
 *      :refused (the file is not a model: the reader's message, naming
 *      the file and the line), :model (a MODEL that is no model: the
 *      texts of geoharm_batch:model).  All before any output exists.
 *   2. The file's contents are held while the outputs are created; if the
 *      host ends the call there (no memory), the next call on the thread
 *      frees them (parked_contents.h).
 *   3. The fixed floating-point state is held throughout (the reader's
 *      numbers and epochs are computed in it), the caller's given back on
 *      return, before an error, and while the host creates the outputs.
 */
#include <cstring>

#include "gateway_errors.h"
#include "gateway_routines.h"
#include "machine/fixed_fp_state.h"
#include "mex_class_ids.h"
#include "mex_host.h"
#include "model_argument.h"
#include "model_key.h"
#include "models/icgem_reader.h"
#include "models/model_epoch.h"
#include "parked_contents.h"

namespace {

using geoharm::MexInt;
using geoharm::MexPointer;
using geoharm::MexSize;

constexpr MexSize MAX_PATH_BYTES = 4096;
constexpr MexSize MAX_EPOCH_BYTES = 63;
constexpr MexInt OUTPUTS = 9;

const MexInt TWO = 2;
const MexInt REAL = 0;
const MexInt UINT8 = geoharm::UINT8_CLASS;
const MexInt UINT64 = geoharm::UINT64_CLASS;

/*
 * The bytes of a uint8 argument into text (NUL-terminated), at most
 * `most`; false when it is not a uint8 array of 1..most bytes without a
 * NUL.
 */
bool bytesOf(const MexPointer* slot, MexSize most, char* text) {
    if (GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(slot) != geoharm::UINT8_CLASS) return false;
    const MexSize count = GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(slot);
    if (count < 1 || count > most) return false;
    std::memcpy(text, reinterpret_cast<const void*>(GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(slot)),
                static_cast<std::size_t>(count));
    text[count] = '\0';
    return std::strlen(text) == static_cast<std::size_t>(count);
}

/* A new array in slot k: a rows x cols double, or (classId) a 1 x cols
   integer row; its data address. */
void* newOutput(MexPointer* plhs, int k, MexInt rows, MexInt cols) {
    plhs[k] = GEOHARM_MEX_NAME(mxcreatedoublematrix700_, MXCREATEDOUBLEMATRIX700)(&rows, &cols, &REAL);
    return reinterpret_cast<void*>(GEOHARM_MEX_NAME(mxgetpr_, MXGETPR)(&plhs[k]));
}

void* newRow(MexPointer* plhs, int k, const MexInt* classId, MexInt cols) {
    const MexInt dims[2] = {1, cols};
    plhs[k] = GEOHARM_MEX_NAME(mxcreatenumericarray700_, MXCREATENUMERICARRAY700)(&TWO, dims, classId, &REAL);
    return reinterpret_cast<void*>(GEOHARM_MEX_NAME(mxgetdata_, MXGETDATA)(&plhs[k]));
}

/* A double into a new 1-by-1 array in slot k. */
void putScalar(MexPointer* plhs, int k, double value) { *static_cast<double*>(newOutput(plhs, k, 1, 1)) = value; }

/* A NUL-terminated text's bytes into a new uint8 row in slot k. */
void putBytes(MexPointer* plhs, int k, const char* text) {
    const std::size_t length = std::strlen(text);
    void* data = newRow(plhs, k, &UINT8, static_cast<MexInt>(length));
    if (length > 0) std::memcpy(data, text, length);
}

/* A table (the reader's triangle) into a new (L+1)-by-(L+1) array in slot
   k, column by column. */
void putTable(MexPointer* plhs, int k, int L, const double* triangle) {
    const MexInt side = L + 1;
    double* out = static_cast<double*>(newOutput(plhs, k, side, side));
    for (int n = 0; n <= L; n++)
        for (int m = 0; m <= n; m++) out[n + static_cast<std::size_t>(side) * m] = triangle[geoharm::coefficientIndex(n, m)];
}

/* A new key into a new uint64 1-by-2 row in slot k. */
void putKey(MexPointer* plhs, int k) {
    std::uint64_t key[2];
    geoharm::newModelKey(key);
    std::memcpy(newRow(plhs, k, &UINT64, 2), key, sizeof key);
}

}  // namespace

extern "C" void GEOHARM_MEX_NAME(mexfunction_, MEXFUNCTION)(const MexInt* nlhs, MexPointer* plhs, const MexInt* nrhs,
                                                            const MexPointer* prhs) {
    using namespace geoharm;
    const FixedFpState fixedState;
    freeLeftContents();

    /* Checks: one or two inputs; a model struct alone, or a file's name
       and epoch; the outputs asked for. */
    if (*nrhs < 1 || *nrhs > 2) raiseHostError(fixedState, MODEL_FILE_NRHS_ID, MODEL_FILE_NRHS_MESSAGE);
    if (GEOHARM_MEX_NAME(mxgetclassid_, MXGETCLASSID)(&prhs[0]) == STRUCT_CLASS) {
        if (*nrhs != 1) raiseHostError(fixedState, MODEL_FILE_NRHS_ID, MODEL_FILE_NRHS_MESSAGE);
        if (*nlhs > 1) raiseHostError(fixedState, MODEL_FILE_NLHS_ID, MODEL_FILE_NLHS_MESSAGE);
        ModelArgument model;
        checkModelArgument(fixedState, &prhs[0], MODEL_FILE_MODEL_ID, &model);
        checkModelContents(fixedState, model, MODEL_FILE_MODEL_ID);
        const CallerFpState hostMayEndTheCall(fixedState);
        putKey(plhs, 0);
        return;
    }
    if (*nlhs > OUTPUTS) raiseHostError(fixedState, MODEL_FILE_NLHS_ID, MODEL_FILE_NLHS_MESSAGE);
    char path[MAX_PATH_BYTES + 1];
    if (!bytesOf(&prhs[0], MAX_PATH_BYTES, path))
        raiseHostError(fixedState, MODEL_FILE_NAME_ID, MODEL_FILE_NAME_MESSAGE);
    char epochText[MAX_EPOCH_BYTES + 1];
    const bool withEpoch =
        *nrhs == 2 && GEOHARM_MEX_NAME(mxgetnumberofelements_, MXGETNUMBEROFELEMENTS)(&prhs[1]) != 0;
    if (withEpoch && !bytesOf(&prhs[1], MAX_EPOCH_BYTES, epochText))
        raiseHostError(fixedState, MODEL_FILE_EPOCH_ID, MODEL_FILE_EPOCH_MESSAGE);

    /* The epoch and the file, read in the fixed state. */
    char message[1024];
    double epoch = 0.0;
    if (withEpoch && !parseEpoch(epochText, &epoch, message, sizeof message))
        raiseHostError(fixedState, MODEL_FILE_EPOCH_ID, message);
    ModelFileContents contents;
    if (!readIcgemFile(path, withEpoch ? &epoch : nullptr, &contents, message, sizeof message))
        raiseHostError(fixedState, MODEL_FILE_REFUSED_ID, message);

    /* The outputs asked for, in order, in the caller's state: the host may
       end the call inside (the contents are parked meanwhile). */
    parkContents(contents);
    {
        const CallerFpState hostMayEndTheCall(fixedState);
        const MexInt wanted = *nlhs < 1 ? 1 : *nlhs;
        for (int k = 0; k < wanted; k++) {
            switch (k) {
                case 0: putScalar(plhs, k, contents.gm); break;
                case 1: putScalar(plhs, k, contents.radius); break;
                case 2: putScalar(plhs, k, contents.maxDegree); break;
                case 3: putTable(plhs, k, contents.maxDegree, contents.C); break;
                case 4: putTable(plhs, k, contents.maxDegree, contents.S); break;
                case 5: putScalar(plhs, k, contents.normalization == Normalization::Unnormalized ? 1.0 : 0.0); break;
                case 6: putBytes(plhs, k, contents.name); break;
                case 7: putBytes(plhs, k, contents.tideSystem); break;
                default: putKey(plhs, k); break;
            }
        }
    }
    releaseParkedContents(&contents);
}
