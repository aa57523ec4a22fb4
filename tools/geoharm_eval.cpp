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
 * With --gradient, each record's line is the gradient's 13 values
 * "U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz" (record_io.h), from
 * evaluateGradient, or with --many from one evaluateGradientMany call per N
 * and M.
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
#include "many/evaluate_gradient_many.h"
#include "point/evaluate_gradient.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

/* One record's line: the acceleration, or with --gradient the 13 values
   of the gradient. */
int evaluateRecord(const geoharm::FieldInput& in, bool gradient, double line[geoharm::GRADIENT_LINE_VALUES]) {
    if (!gradient) {
        geoharm::evaluateAcceleration(in, line);
        return 3;
    }
    double T[9], a[3], U;
    geoharm::evaluateGradient(in, T, a, &U);
    geoharm::gradientLine(U, a, T, line);
    return geoharm::GRADIENT_LINE_VALUES;
}

/* The records read so far, for --many: evaluated together at the end (or
   before a malformed record), one call per N and M, written in order. */
struct RecordBatch {
    std::vector<geoharm::FieldInput> records;
    bool gradient = false;

    /* False when a line could not be written. */
    bool flush(geoharm::ResultOutput& output) {
        /* The records of each N and M, in their order. */
        std::map<std::pair<int, int>, std::vector<std::size_t>> groups;
        for (std::size_t i = 0; i < records.size(); i++) groups[{records[i].n, records[i].m}].push_back(i);

        const int width = gradient ? geoharm::GRADIENT_LINE_VALUES : 3;
        std::vector<double> results(static_cast<std::size_t>(width) * records.size());
        for (const auto& g : groups) {
            const std::size_t count = g.second.size();
            const auto n = static_cast<std::int8_t>(g.first.first);
            const auto m = static_cast<std::int8_t>(g.first.second);
            std::vector<double> in(3 * count), out(3 * count), T(gradient ? 9 * count : 0), U(count);
            for (std::size_t k = 0; k < count; k++) {
                const geoharm::FieldInput& r = records[g.second[k]];
                in[k] = r.x;
                in[count + k] = r.y;
                in[2 * count + k] = r.z;
            }
            const double *x = in.data(), *y = x + count, *z = y + count;
            double *ax = out.data(), *ay = ax + count, *az = ay + count;
            if (gradient)
                geoharm::evaluateGradientMany(count, x, y, z, n, m, T.data(), ax, ay, az, U.data());
            else
                geoharm::evaluateAccelerationMany(count, x, y, z, n, m, ax, ay, az);
            for (std::size_t k = 0; k < count; k++) {
                double* line = &results[static_cast<std::size_t>(width) * g.second[k]];
                const double a[3] = {ax[k], ay[k], az[k]};
                if (gradient)
                    geoharm::gradientLine(U[k], a, &T[9 * k], line);
                else
                    for (int c = 0; c < 3; c++) line[c] = a[c];
            }
        }
        for (std::size_t i = 0; i < records.size(); i++)
            if (!output.write(&results[static_cast<std::size_t>(width) * i], width)) return false;
        records.clear();
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    /* Options: --many and --gradient, each at most once, in any order. */
    bool many = false, gradient = false, good = true;
    for (int i = 1; i < argc; i++) {
        bool& flag = std::strcmp(argv[i], "--many") == 0 ? many : gradient;
        if ((std::strcmp(argv[i], "--many") != 0 && std::strcmp(argv[i], "--gradient") != 0) || flag) good = false;
        flag = true;
    }
    if (!good) {
        std::fprintf(stderr,
                     "usage: %s [--many] [--gradient] < records\n"
                     "  reads lines 'x y z N M' (metres; degree and order in -128..127)\n"
                     "  writes 'a_x a_y a_z' (m/s^2) for each, as %%.17g\n"
                     "  --many: the records of each N and M in one many-point call\n"
                     "  --gradient: writes 'U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz'\n"
                     "    (m^2/s^2, m/s^2, 1/s^2) instead\n",
                     argv[0]);
        return geoharm::STATUS_USAGE;
    }
    /* Round to nearest, exceptions masked, for the reading and printing. */
    std::fesetenv(FE_DFL_ENV);

    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin);
    geoharm::ResultOutput output("geoharm-eval");
    RecordBatch batch;
    batch.gradient = gradient;
    geoharm::FieldInput in;
    std::string why;
    geoharm::ReadStatus read;
    bool written = true;
    while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        if (many) {
            batch.records.push_back(in);
            continue;
        }
        double line[geoharm::GRADIENT_LINE_VALUES];
        const int width = evaluateRecord(in, gradient, line);
        if (!(written = output.write(line, width))) break;
    }
    /* --many: the lines of the records before the end or the bad record. */
    if (written) batch.flush(output);
    return output.finish(geoharm::readEndStatus("geoharm-eval", read, reader, why));
}
