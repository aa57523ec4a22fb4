/*
 * geoharm-eval - the model from the command line.
 *
 * Reads records "x y z N M" from standard input and writes "a_x a_y a_z"
 * for each, one line a record, in order (formats in record_io.h).  A
 * malformed record is reported on standard error with its line number;
 * the lines before it have been written, and the tool exits with status 1.
 *
 * The whole run is in the default floating-point environment, whatever the
 * process was started with: reading a number (strtod) and printing one
 * follow the rounding mode too, and each evaluation fixes its own state
 * anyway.
 */
#include <cfenv>
#include <cstdio>
#include <iostream>
#include <string>

#include "evaluate_acceleration.h"
#include "record_io.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        std::fprintf(stderr,
                     "usage: %s < records\n"
                     "  reads lines 'x y z N M' (metres; degree and order in -128..127)\n"
                     "  writes 'a_x a_y a_z' (m/s^2) for each, as %%.17g\n",
                     argv[0]);
        return 2;
    }
    /* Round to nearest, exceptions masked, for the reading and printing. */
    std::fesetenv(FE_DFL_ENV);

    std::string line;
    long lineNo = 0;
    while (std::getline(std::cin, line)) {
        lineNo++;
        geoharm::FieldInput in;
        std::string why;
        switch (geoharm::parseRecord(line, in, why)) {
            case geoharm::RecordKind::Empty:
                continue;
            case geoharm::RecordKind::Malformed:
                std::fflush(stdout);
                std::fprintf(stderr, "geoharm-eval: line %ld: %s\n", lineNo, why.c_str());
                return 1;
            case geoharm::RecordKind::Record:
                break;
        }
        double a[3];
        geoharm::evaluateAcceleration(in, a);
        std::printf("%s\n", geoharm::formatResult(a).c_str());
    }
    return 0;
}
