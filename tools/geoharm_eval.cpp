/*
 * geoharm-eval - the model from the command line.
 *
 * Reads records "x y z N M" from standard input and writes "a_x a_y a_z"
 * for each, one line a record, in order (formats in record_io.h).  A
 * malformed record is reported on standard error with its line number;
 * the lines before it have been written, and the tool exits with status 1.
 * Input that cannot be read or output that cannot be written ends it with
 * status 4 (every status: tool_exit.h).
 *
 * With --many, the records are read first and the records of each N and
 * M evaluated by one call of evaluateAccelerationMany (one point per
 * vector lane, threads for many points) instead of one
 * evaluateAcceleration per record: the same lines in the same order, so
 * that the identity tests hold the many-point routines of every build to
 * the single-point ones.
 *
 * The whole run is in the default floating-point environment, whatever the
 * process was started with: reading a number (strtod) and printing one
 * follow the rounding mode too, and each evaluation fixes its own state
 * anyway.
 */
#include <cfenv>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "point/evaluate_acceleration.h"
#include "many/evaluate_acceleration_many.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

/* The records read so far, for --many: evaluated together at the end (or
   before a malformed record), one call per N and M, written in order. */
struct RecordBatch {
    std::vector<geoharm::FieldInput> records;

    /* False when a line could not be written. */
    bool flush(geoharm::ResultOutput& output) {
        /* The records of each N and M, in their order. */
        std::map<std::pair<int, int>, std::vector<std::size_t>> groups;
        for (std::size_t i = 0; i < records.size(); i++) groups[{records[i].n, records[i].m}].push_back(i);

        std::vector<double> results(3 * records.size());
        for (const auto& g : groups) {
            const std::size_t count = g.second.size();
            std::vector<double> in(3 * count), out(3 * count);
            for (std::size_t k = 0; k < count; k++) {
                const geoharm::FieldInput& r = records[g.second[k]];
                in[k] = r.x;
                in[count + k] = r.y;
                in[2 * count + k] = r.z;
            }
            geoharm::evaluateAccelerationMany(count, in.data(), in.data() + count, in.data() + 2 * count,
                                              static_cast<std::int8_t>(g.first.first),
                                              static_cast<std::int8_t>(g.first.second), out.data(),
                                              out.data() + count, out.data() + 2 * count);
            for (std::size_t k = 0; k < count; k++)
                for (int c = 0; c < 3; c++) results[3 * g.second[k] + c] = out[c * count + k];
        }
        for (std::size_t i = 0; i < records.size(); i++)
            if (!output.write(&results[3 * i])) return false;
        records.clear();
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const bool many = argc == 2 && std::strcmp(argv[1], "--many") == 0;
    if (argc > 1 && !many) {
        std::fprintf(stderr,
                     "usage: %s [--many] < records\n"
                     "  reads lines 'x y z N M' (metres; degree and order in -128..127)\n"
                     "  writes 'a_x a_y a_z' (m/s^2) for each, as %%.17g\n"
                     "  --many: the records of each N and M in one many-point call\n",
                     argv[0]);
        return geoharm::STATUS_USAGE;
    }
    /* Round to nearest, exceptions masked, for the reading and printing. */
    std::fesetenv(FE_DFL_ENV);

    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin);
    geoharm::ResultOutput output("geoharm-eval");
    RecordBatch batch;
    geoharm::FieldInput in;
    std::string why;
    geoharm::ReadStatus read;
    bool written = true;
    while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        if (many) {
            batch.records.push_back(in);
            continue;
        }
        double a[3];
        geoharm::evaluateAcceleration(in, a);
        if (!(written = output.write(a))) break;
    }
    /* --many: the lines of the records before the end or the bad record. */
    if (written) batch.flush(output);
    return output.finish(geoharm::readEndStatus("geoharm-eval", read, reader, why));
}
