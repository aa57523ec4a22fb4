/*
 * geoharm-eval - the model from the command line.
 *
 * Reads records "x y z N M" from standard input and writes "a_x a_y a_z"
 * for each, one line a record, in order (formats in record_io.h).  A
 * malformed record is reported on standard error with its line number;
 * the lines before it have been written, and the tool exits with status 1.
 * Input that cannot be read or output that cannot be written ends it with
 * status 4 (every status: tool_exit.h).
 */
#include <cstdio>
#include <string>

#include "evaluate_acceleration.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        std::fprintf(stderr,
                     "usage: %s < records\n"
                     "  reads lines 'x y z N M' (metres; degree and order in -128..127)\n"
                     "  writes 'a_x a_y a_z' (m/s^2) for each, as %%.17g\n",
                     argv[0]);
        return geoharm::STATUS_USAGE;
    }
    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin);
    geoharm::ResultOutput output("geoharm-eval");
    geoharm::FieldInput in;
    std::string why;
    geoharm::ReadStatus read;
    while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        double a[3];
        geoharm::evaluateAcceleration(in, a);
        if (!output.write(a)) break;
    }
    return output.finish(geoharm::readEndStatus("geoharm-eval", read, reader, why));
}
