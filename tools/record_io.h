/*
 * record_io.h - the text records of the command-line tools.
 *
 * Input, one record a line:   x y z N M
 *   x, y, z  decimal doubles (m); "nan", "inf", "-0.0" and hex floats are
 *            accepted as strtod reads them
 *   N, M     decimal integers in -128..127 (they travel as int8)
 * Fields are separated by blanks or tabs.  Blank lines and lines whose first
 * non-blank character is '#' carry no record.
 *
 * Output, one line a record:  a_x a_y a_z
 *   each as %.17g (which reads back to the same double), except that a NaN
 *   prints as "nan" whatever its sign bit (which carries no meaning here)
 *   and infinities as "inf" / "-inf", identically on every platform.
 */
#ifndef GEOHARM_RECORD_IO_H
#define GEOHARM_RECORD_IO_H

#include <string>

#include "field_types.h"

namespace geoharm {

enum class RecordKind { Record, Empty, Malformed };

/*
 * parseRecord - one input line.  Returns Record and fills `in`, Empty for a
 * blank or comment line, or Malformed with the reason in `why`.
 */
RecordKind parseRecord(const std::string& line, FieldInput& in, std::string& why);

/* formatResult - the output line for one result, without the newline. */
std::string formatResult(const double a[3]);

}  // namespace geoharm

#endif
