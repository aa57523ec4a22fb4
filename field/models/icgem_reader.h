/*
 * icgem_reader.h - spherical-harmonic gravity models read from ICGEM
 * files (.gfc, format versions 1.0 and 2.0): the model's constants and
 * its coefficients at a chosen epoch.
 *
 * What the reader accepts and refuses, and the epoch rules:
 * docs/models-file-format.md.  In short: a header of keys up to
 * end_of_head, then lines gfc (static), and gfct, trnd, acos, asin
 * (time-variable: evaluated at the epoch given), n, m up to the header's
 * max_degree; a file that is not a valid model is refused with a message
 * "<name>:<line>: <what is wrong>".
 *
 * The reader never ends the process and never leaves a model half made:
 * a refusal leaves `out` empty and owning nothing; every byte of input is
 * checked (any file, any bytes, is either a model or a refusal); memory
 * that cannot be had is a refusal too.  The numbers are read correctly
 * rounded (decimal_number.h) and the time-variable terms summed in plain
 * IEEE operations in a fixed order (cos and sin from cycle_cos_sin.h):
 * the same doubles on every build, from any caller's floating-point
 * state.
 */
#ifndef GEOHARM_MODELS_ICGEM_READER_H
#define GEOHARM_MODELS_ICGEM_READER_H

#include <cstddef>

#include "models/model_epoch.h"
#include "models/model_limits.h"
#include "geoharm/gravity_model_types.h"

namespace geoharm {

/* The header's max_degree may not exceed MAX_MODEL_DEGREE
   (model_limits.h): a model of that degree holds 2 x 3,649,051
   coefficients (58 MB). */

/* The bytes kept of modelname and tide_system, NUL included: longer
   values are cut at a character boundary of their UTF-8. */
constexpr std::size_t MODEL_NAME_SIZE = 128;
constexpr std::size_t TIDE_SYSTEM_SIZE = 64;

/*
 * ModelFileContents - a model as read.  Owns C and S; free them with
 * releaseModelFileContents.
 *
 *   gm             earth_gravity_constant (or gravity_constant), m^3/s^2
 *   radius         the reference radius, m
 *   maxDegree      the header's max_degree, 0..MAX_MODEL_DEGREE
 *   normalization  the header's norm (fully normalised when absent)
 *   name           modelname as read ("" when absent)
 *   tideSystem     tide_system as read ("" when absent)
 *   C, S           (maxDegree + 1)(maxDegree + 2)/2 coefficients each,
 *                  (n, m) at n(n+1)/2 + m for 0 <= m <= n <= maxDegree:
 *                  the values the file gives, not renormalised; 0.0 where
 *                  the file gives none; time-variable terms evaluated at
 *                  the epoch
 */
struct ModelFileContents {
    double gm;
    double radius;
    int maxDegree;
    Normalization normalization;
    char name[MODEL_NAME_SIZE];
    char tideSystem[TIDE_SYSTEM_SIZE];
    double* C;
    double* S;
};

/* The index of (n, m) in C and S. */
inline std::size_t coefficientIndex(int n, int m) {
    return static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2 + static_cast<std::size_t>(m);
}

/*
 * readIcgemFile - a model from an ICGEM file.
 *
 * Given:
 *   pathUtf8     the file's path in UTF-8 (on Windows too)
 *   epoch        the epoch for time-variable terms as a Julian epoch year
 *                (parseEpoch), or null when none is given: a file with
 *                such terms is then refused
 *   messageSize  the size of `message`, NUL included (0: none written)
 * Returned:
 *   out          the model on success; on failure emptied (null arrays)
 *   message      on failure, why: "<path>:<line>: <what>" or
 *                "<path>: <what>"
 * Returns true on success.
 *
 * Notes:
 *   1. The file is read in chunks of 1 MiB; lines may be 65536 bytes long
 *      (icgem_file.cpp).
 *   2. `out` may be the contents of an earlier successful call only after
 *      releaseModelFileContents: it is overwritten, not freed.
 */
bool readIcgemFile(const char* pathUtf8, const double* epoch, ModelFileContents* out, char* message,
                   std::size_t messageSize);

/*
 * readIcgemText - a model from the text of an ICGEM file in memory: the
 * same as readIcgemFile, with `nameForMessages` (null: "model") in place
 * of the path in messages.
 */
bool readIcgemText(const char* text, std::size_t length, const char* nameForMessages, const double* epoch,
                   ModelFileContents* out, char* message, std::size_t messageSize);

/* releaseModelFileContents - frees C and S and empties the contents; a
   null pointer or an empty contents is left as it is. */
void releaseModelFileContents(ModelFileContents* contents);

}  // namespace geoharm

#endif
