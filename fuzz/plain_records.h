/*
 * plain_records.h - the records a byte stream holds, read plainly and
 * apart from the tools' reader (tools/record_io.h), as the record fuzzer's
 * reference.
 *
 * The reading, step by step:
 *   - three bytes EF BB BF at the very start are dropped;
 *   - the rest is cut at every '\n' into lines (a piece after the last
 *     '\n' is a line when it is not empty), numbered from 1;
 *   - a line of more than maxLine bytes ends the reading, malformed (a
 *     '\r' that ends the line is not counted);
 *   - its fields are the runs of bytes other than blank, tab and CR; no
 *     field, or a first field starting with '#': no record;
 *   - otherwise exactly five fields, or malformed: x, y, z each printable
 *     ASCII only (0x21..0x7e), all of it read by strtod, and not an
 *     infinity unless it spells one ("inf"); N, M an optional sign and
 *     decimal digits whose value is in -128..127.
 * The first malformed line ends the reading.
 */
#ifndef GEOHARM_FUZZ_PLAIN_RECORDS_H
#define GEOHARM_FUZZ_PLAIN_RECORDS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kernels/field_types.h"

namespace geoharm_fuzz {

struct PlainReading {
    std::vector<geoharm::FieldInput> records; /* in order */
    long malformedLine = 0;                   /* the line that ended it, or 0 */
    long lines = 0;                           /* lines looked at */
};

PlainReading readPlainRecords(const std::uint8_t* data, std::size_t size, std::size_t maxLine);

}  // namespace geoharm_fuzz

#endif
