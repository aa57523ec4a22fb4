/*
 * gateway_errors.h - identifiers and messages of the calls the gateway
 * refuses, for every entry point: geoharm (geoharm:*), geoharm_batch
 * (geoharm_batch:*), geoharm_gradient (geoharm_gradient:*) and
 * geoharm_model_tables (geoharm_model_tables:*) and geoharm_model_file
 * (geoharm_model_file:*).
 *
 * How the texts are written: the host shows the function's name with every
 * error ("Error using geoharm", "error: geoharm: ..."), so a message never
 * repeats it; it starts with a capital and ends with a full stop; it names
 * the argument at fault, counted from 1 as the caller writes them, and,
 * where the cause is a likely slip, what to pass instead.  N and M, and
 * the positions of the many-point calls, are read alike, so their texts
 * are shared; the identifiers carry the entry point's name
 * ("name:mnemonic").
 */
#ifndef GEOHARM_GATEWAY_ERRORS_H
#define GEOHARM_GATEWAY_ERRORS_H

namespace geoharm {

/* Every entry point that evaluates: GEOHARM_SIMD_LEVEL names a level that
   cannot be used (the message is machine/settings.h's, which says why). */
constexpr const char* SIMD_LEVEL_ID = "geoharm:simdlevel";
constexpr const char* BATCH_SIMD_LEVEL_ID = "geoharm_batch:simdlevel";
constexpr const char* GRADIENT_SIMD_LEVEL_ID = "geoharm_gradient:simdlevel";

/* geoharm(r, N, M) */
constexpr const char* NRHS_ID = "geoharm:nrhs";
constexpr const char* NRHS_FEW_MESSAGE = "Not enough inputs: position, N and M are needed.";
constexpr const char* NRHS_MANY_MESSAGE = "Too many inputs: only position, N and M are taken.";

constexpr const char* POSITION_ID = "geoharm:position";
constexpr const char* POSITION_MESSAGE =
    "Input 1 (position) must be a real, non-sparse double array of at least three elements.";
constexpr const char* POSITION_MATRIX_MESSAGE =
    "Input 1 (position) is a matrix: pass one point as a vector x, y, z, or many points to geoharm_batch, one "
    "per row.";

constexpr const char* DEGREE_ID = "geoharm:degree";
constexpr const char* DEGREE_MESSAGE = "Input 2 (N, maximum degree) must be a non-empty, non-sparse numeric or logical array.";
constexpr const char* DEGREE_NAN_MESSAGE = "Input 2 (N, maximum degree) must not be NaN.";
constexpr const char* DEGREE_SCALAR_MESSAGE = "Input 2 (N, maximum degree) must be one number, not an array of several.";

constexpr const char* ORDER_ID = "geoharm:order";
constexpr const char* ORDER_MESSAGE = "Input 3 (M, maximum order) must be a non-empty, non-sparse numeric or logical array.";
constexpr const char* ORDER_NAN_MESSAGE = "Input 3 (M, maximum order) must not be NaN.";
constexpr const char* ORDER_SCALAR_MESSAGE = "Input 3 (M, maximum order) must be one number, not an array of several.";

/* geoharm_batch(P, N, M) */
constexpr const char* BATCH_NRHS_ID = "geoharm_batch:nrhs";
constexpr const char* BATCH_NRHS_FEW_MESSAGE = "Not enough inputs: positions, N and M are needed.";
constexpr const char* BATCH_NRHS_MANY_MESSAGE = "Too many inputs: only positions, N and M are taken.";

constexpr const char* BATCH_NLHS_ID = "geoharm_batch:nlhs";
constexpr const char* BATCH_NLHS_MESSAGE =
    "Ask for one output (a K-by-3 array) or three (K-by-1 arrays a_x, a_y, a_z).";

/* The positions of the many-point calls (geoharm_batch, geoharm_gradient). */
constexpr const char* POSITIONS_CLASS_MESSAGE = "Input 1 (positions) must be a real, non-sparse double array.";
constexpr const char* POSITIONS_SHAPE_MESSAGE =
    "Input 1 (positions) must be a K-by-3 array: one point per row, columns x, y, z.";
constexpr const char* POSITIONS_TRANSPOSED_MESSAGE =
    "Input 1 (positions) is 3-by-K, but rows are points: pass its transpose, a K-by-3 array with columns x, y, z.";

constexpr const char* BATCH_POSITIONS_ID = "geoharm_batch:positions";
constexpr const char* BATCH_POSITIONS_ROWS_MESSAGE =
    "Input 1 (positions) has too many rows: one call takes at most 715827882 points, so that its 3*K elements "
    "fit the host's 32-bit sizes.";

constexpr const char* BATCH_DEGREE_ID = "geoharm_batch:degree";
constexpr const char* BATCH_ORDER_ID = "geoharm_batch:order";

/* [T, A, U] = geoharm_gradient(P, N, M) */
constexpr const char* GRADIENT_NRHS_ID = "geoharm_gradient:nrhs";
constexpr const char* GRADIENT_NRHS_MESSAGE = "Three inputs are needed, and no more: positions P, N and M.";

constexpr const char* GRADIENT_NLHS_ID = "geoharm_gradient:nlhs";
constexpr const char* GRADIENT_NLHS_MESSAGE =
    "At most three outputs: the tensors T (3-by-3-by-K), the accelerations A (K-by-3) and the potentials U "
    "(K-by-1).";

constexpr const char* GRADIENT_POSITIONS_ID = "geoharm_gradient:positions";
constexpr const char* GRADIENT_POSITIONS_ROWS_MESSAGE =
    "Input 1 (positions) has too many rows: one call takes at most 238609294 points, so that the 9*K elements of "
    "its tensors fit the host's 32-bit sizes.";

constexpr const char* GRADIENT_DEGREE_ID = "geoharm_gradient:degree";
constexpr const char* GRADIENT_ORDER_ID = "geoharm_gradient:order";

/* The model struct, input 1 of geoharm_batch and geoharm_gradient when
   given (the inputs after it are then counted from 2 in every message). */
constexpr const char* BATCH_NRHS_MODEL_FEW_MESSAGE = "Not enough inputs: after the model, positions, N and M are needed.";
constexpr const char* BATCH_NRHS_MODEL_MANY_MESSAGE = "Too many inputs: only the model, positions, N and M are taken.";
constexpr const char* GRADIENT_NRHS_MODEL_MESSAGE =
    "Four inputs are needed with a model, and no more: the model, positions P, N and M.";

constexpr const char* BATCH_MODEL_ID = "geoharm_batch:model";
constexpr const char* GRADIENT_MODEL_ID = "geoharm_gradient:model";
constexpr const char* MODEL_FILE_MODEL_ID = "geoharm_model_file:model";
constexpr const char* MODEL_ONE_STRUCT_MESSAGE =
    "Input 1 (model) must be one struct (1-by-1), as geoharm_load and geoharm_model return.";
/* printf formats: the field's name; what it must be. */
constexpr const char* MODEL_FIELD_MISSING_FORMAT =
    "Input 1 (model) has no field %s: a model has fields GM, R_REF, C, S and normalization (see geoharm_load).";
constexpr const char* MODEL_FIELD_FORMAT = "Input 1 (model): field %s must be %s.";
/* printf format: what makeModelData says is wrong. */
constexpr const char* MODEL_CONTENTS_FORMAT = "Input 1 (model): %s.";

/* geoharm_model_file(FILE, EPOCH) and geoharm_model_file(MODEL), the
   plug-in of geoharm_load */
constexpr const char* MODEL_FILE_NRHS_ID = "geoharm_model_file:nrhs";
constexpr const char* MODEL_FILE_NRHS_MESSAGE =
    "One or two inputs are taken: the file name and the epoch as UTF-8 bytes, or a model struct.";
constexpr const char* MODEL_FILE_NLHS_ID = "geoharm_model_file:nlhs";
constexpr const char* MODEL_FILE_NLHS_MESSAGE =
    "Ask for at most nine outputs: GM, R_REF, max_degree, C, S, normalization, name, tide_system, key.";
constexpr const char* MODEL_FILE_NAME_ID = "geoharm_model_file:file";
constexpr const char* MODEL_FILE_NAME_MESSAGE =
    "Input 1 (file) must be the file name as a row of uint8 UTF-8 bytes (geoharm_load passes it so).";
constexpr const char* MODEL_FILE_EPOCH_ID = "geoharm_model_file:epoch";
constexpr const char* MODEL_FILE_EPOCH_MESSAGE =
    "Input 2 (epoch) must be empty or the epoch's text as a row of uint8 bytes (geoharm_load passes it so).";
/* The file's refusal, as the reader words it. */
constexpr const char* MODEL_FILE_REFUSED_ID = "geoharm_model_file:refused";

/* geoharm_model_tables() */
constexpr const char* MODEL_NRHS_ID = "geoharm_model_tables:nrhs";
constexpr const char* MODEL_NRHS_MESSAGE = "Too many inputs: none are taken.";

constexpr const char* MODEL_NLHS_ID = "geoharm_model_tables:nlhs";
constexpr const char* MODEL_NLHS_MESSAGE = "Ask for at most six outputs: GM, R_REF, maximum degree, C, S, version.";

}  // namespace geoharm

#endif
