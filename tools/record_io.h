/*
 * record_io.h - the text records of the command-line tools.
 *
 * Input, one record a line:   x y z N M
 *   x, y, z  decimal doubles (m); "nan", "inf", "-0.0" and hex floats are
 *            accepted as strtod reads them
 *   N, M     decimal integers in -128..127 (they travel as int8), or with
 *            LimitRange::Int any int (a model loaded from a file takes
 *            them as int)
 * Fields are separated by blanks or tabs.  Blank lines and lines whose first
 * non-blank character is '#' carry no record.
 *
 * Every byte of the input counts, the same on every platform: lines end at
 * '\n', a '\r' reads as a blank (so CR LF text reads as LF text), and any
 * other byte (NUL, 0x1A, a byte-order mark after the start) is part of the
 * field it stands in, which then is malformed.  A UTF-8 byte-order mark at
 * the very start of the input is skipped.  A line may be MAX_LINE_BYTES
 * long (its content: without its '\n', a '\r' just before it or before
 * the end of the input, and a leading mark); a longer one is malformed.
 * A reason that quotes a field shows other bytes than printable ASCII (and
 * '\\') as \xNN, at most QUOTED_FIELD_CHARS characters of it, and the
 * field's length when it is cut.
 *
 * Output, one line a record:  a_x a_y a_z
 *   each as %.17g (which reads back to the same double), except that a NaN
 *   prints as "nan" whatever its bits and infinities as "inf" / "-inf",
 *   identically on every platform (NumberFormat::Decimal); or each as the
 *   16 hexadecimal digits of its bits, upper case, "7FF8000000000000" for
 *   the default NaN (NumberFormat::Bits: what the identity tests compare,
 *   so that a NaN's bits count too).
 *   The gradient's line holds 13 such values (gradientLine):
 *   U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz.
 */
#ifndef GEOHARM_RECORD_IO_H
#define GEOHARM_RECORD_IO_H

#include <cstddef>
#include <cstdio>
#include <string>

#include "kernels/field_types.h"

namespace geoharm {

constexpr std::size_t MAX_LINE_BYTES = std::size_t{1} << 20;

/* The most records a tool holds at once: geoharm-call's batch mode and
   geoharm-eval --many make one call per run of at most this many, so that
   their memory is the same for an input of any length (about 5 MB of
   records, arguments and results, past the program itself) and every
   finished line is written before the next run is read. */
constexpr std::size_t RECORDS_AT_ONCE = std::size_t{1} << 16;
constexpr std::size_t QUOTED_FIELD_CHARS = 40;

enum class RecordKind { Record, Empty, Malformed };

/* The values of N and M a record may hold. */
enum class LimitRange {
    Int8, /* -128..127: the compiled-in model's (FieldInput holds int8) */
    Int   /* INT_MIN..INT_MAX: a loaded model's (GravityModel takes int) */
};

/* A record as read: the position and the limits, N and M as int. */
struct Record {
    double x, y, z;
    int n, m;
};

/* fieldInputOf - a record of LimitRange::Int8 as the field takes it. */
FieldInput fieldInputOf(const Record& r);

/*
 * parseRecord - one input line.  Returns Record and fills `in`, Empty for a
 * blank or comment line, or Malformed with the reason in `why` (for N or M
 * outside `range`: "N is not an integer in -128..127: '200'").  The
 * FieldInput form reads N and M in LimitRange::Int8.
 */
RecordKind parseRecord(const std::string& line, Record& in, std::string& why, LimitRange range);
RecordKind parseRecord(const std::string& line, FieldInput& in, std::string& why);

/* What RecordReader::next found. */
enum class ReadStatus { Record, End, Malformed, InputError };

/*
 * RecordReader - the records of a byte stream, line by line.
 *
 * next() skips blank and comment lines and returns Record with `in`
 * filled; End after the last line; Malformed with the reason in `why` for
 * a line that is not a record or is too long; InputError with the
 * system's reason in `why` when the stream cannot be read.  After anything
 * but Record the stream is not read further.  lineNumber() is the number
 * of the line last read, counted from 1.
 *
 * in       the stream, open for reading (binary mode on Windows:
 *          tool_platform.h)
 * maxLine  the longest line taken, in bytes
 * range    the N and M it takes (parseRecord); next(FieldInput&) needs
 *          LimitRange::Int8, whose values an int8 holds
 */
class RecordReader {
public:
    explicit RecordReader(std::FILE* in, std::size_t maxLine = MAX_LINE_BYTES, LimitRange range = LimitRange::Int8)
        : in_(in), maxLine_(maxLine), range_(range) {}
    ReadStatus next(Record& in, std::string& why);
    ReadStatus next(FieldInput& in, std::string& why);
    long lineNumber() const { return line_; }

private:
    std::FILE* in_;
    std::size_t maxLine_;
    LimitRange range_;
    long line_ = 0;
    bool stopped_ = false;
    std::string text_;
};

/* How the output writes a double. */
enum class NumberFormat { Decimal, Bits };

/* formatResult - the output line for one result of `count` values (3 for
   an acceleration), without the newline. */
std::string formatResult(const double* values, int count = 3, NumberFormat format = NumberFormat::Decimal);

/* writeResult - formatResult and a newline to `out`; false when the write
   failed (errno tells why). */
bool writeResult(std::FILE* out, const double* values, int count = 3, NumberFormat format = NumberFormat::Decimal);

/* The values of a gradient line, and their order: the potential U, the
   acceleration, the tensor T[3i+j] row by row. */
constexpr int GRADIENT_LINE_VALUES = 13;
inline void gradientLine(double U, const double a[3], const double T[9], double line[GRADIENT_LINE_VALUES]) {
    line[0] = U;
    for (int i = 0; i < 3; i++) line[1 + i] = a[i];
    for (int i = 0; i < 9; i++) line[4 + i] = T[i];
}

}  // namespace geoharm

#endif
