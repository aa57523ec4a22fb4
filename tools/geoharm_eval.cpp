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
 * With --bits, each double is written as the 16 hexadecimal digits of its
 * bits (record_io.h), NaN included.
 *
 * With --gradient, each record's line is the gradient's 13 values
 * "U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz" (record_io.h), from
 * evaluateGradient, or with --many from one evaluateGradientMany call per N
 * and M in a block.
 *
 * With --many, the records are read in blocks of RECORDS_AT_ONCE, and the
 * records of each N and M in a block evaluated by one call of
 * evaluateAccelerationMany (one point per vector lane, threads for many
 * points) instead of one evaluateAcceleration per record: the same lines
 * in the same order, so that the identity tests hold the many-point
 * routines of every build to the single-point ones.  The memory it takes
 * does not grow with the input; should it run out all the same, the lines
 * before are written and the status is 6 ("geoharm-eval: out of memory").
 *
 * With --version, it prints its version and the levels of vector routines
 * the evaluation takes on this processor, and reads nothing.  Where
 * GEOHARM_SIMD_LEVEL cannot be used (machine/settings.h), it says why and
 * exits with status 2 before reading a record.
 *
 * The whole run is in the default floating-point environment, whatever the
 * process was started with: reading a number (strtod) and printing one
 * follow the rounding mode too, and each evaluation fixes its own state
 * anyway.
 */
#include <algorithm>
#include <cfenv>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <geoharm/version.h>

#include "machine/routine_table.h"
#include "many/evaluate_acceleration_many.h"
#include "many/evaluate_gradient_many.h"
#include "point/evaluate_acceleration.h"
#include "point/evaluate_gradient.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

/* One record's line: the acceleration, or with --gradient the 13 values
   of the gradient; returns the number of values. */
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

/*
 * For --many: up to RECORDS_AT_ONCE records, evaluated together when the
 * block is full, at the end, or before a malformed record: one call per N
 * and M among them (the acceleration, or with --gradient the gradient),
 * the lines written in the records' order.  Its storage is taken once,
 * for a full block.
 */
class RecordBlock {
public:
    explicit RecordBlock(bool gradient)
        : gradient_(gradient), width_(gradient ? geoharm::GRADIENT_LINE_VALUES : 3) {
        const std::size_t most = geoharm::RECORDS_AT_ONCE;
        records_.reserve(most);
        order_.reserve(most);
        in_.resize(3 * most);
        out_.resize(3 * most);
        if (gradient) {
            T_.resize(9 * most);
            U_.resize(most);
        }
        results_.resize(static_cast<std::size_t>(width_) * most);
    }

    /* Adds a record; true when the block is full (flush it then). */
    bool add(const geoharm::FieldInput& record) {
        records_.push_back(record);
        return records_.size() == geoharm::RECORDS_AT_ONCE;
    }

    /* Evaluates and writes the records held, and empties the block; false
       when a line could not be written. */
    bool flush(geoharm::ResultOutput& output) {
        /* The records' indices by N and M, each group in input order. */
        const std::size_t count = records_.size();
        order_.resize(count);
        for (std::size_t i = 0; i < count; i++) order_[i] = i;
        std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
            return limitsOf(records_[a]) < limitsOf(records_[b]);
        });

        /* One many-point call per group: coordinates in, components out. */
        for (std::size_t begin = 0, end; begin < count; begin = end) {
            const geoharm::FieldInput& first = records_[order_[begin]];
            for (end = begin; end < count && limitsOf(records_[order_[end]]) == limitsOf(first); end++) {
            }
            const std::size_t g = end - begin;
            for (std::size_t k = 0; k < g; k++) {
                const geoharm::FieldInput& r = records_[order_[begin + k]];
                in_[k] = r.x;
                in_[g + k] = r.y;
                in_[2 * g + k] = r.z;
            }
            const double *x = in_.data(), *y = x + g, *z = y + g;
            double *ax = out_.data(), *ay = ax + g, *az = ay + g;
            if (gradient_)
                geoharm::evaluateGradientMany(g, x, y, z, first.n, first.m, T_.data(), ax, ay, az, U_.data());
            else
                geoharm::evaluateAccelerationMany(g, x, y, z, first.n, first.m, ax, ay, az);
            for (std::size_t k = 0; k < g; k++) {
                double* line = &results_[static_cast<std::size_t>(width_) * order_[begin + k]];
                const double a[3] = {ax[k], ay[k], az[k]};
                if (gradient_)
                    geoharm::gradientLine(U_[k], a, &T_[9 * k], line);
                else
                    for (int c = 0; c < 3; c++) line[c] = a[c];
            }
        }
        records_.clear();
        for (std::size_t i = 0; i < count; i++)
            if (!output.write(&results_[static_cast<std::size_t>(width_) * i], width_)) return false;
        return true;
    }

private:
    static int limitsOf(const geoharm::FieldInput& r) { return r.n * 256 + r.m; }

    bool gradient_;
    int width_;
    std::vector<geoharm::FieldInput> records_;
    std::vector<std::size_t> order_;
    std::vector<double> in_, out_, T_, U_, results_;
};

/* The records of the reader, evaluated one by one or (many) in blocks,
   and written; the reader's last outcome in `read`.  std::bad_alloc is
   the caller's to report. */
void evaluateRecords(bool many, bool gradient, geoharm::RecordReader& reader, geoharm::ResultOutput& output,
                     geoharm::ReadStatus& read, std::string& why) {
    if (!many) {
        geoharm::FieldInput in;
        while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
            double line[geoharm::GRADIENT_LINE_VALUES];
            const int width = evaluateRecord(in, gradient, line);
            if (!output.write(line, width)) return;
        }
        return;
    }
    RecordBlock block(gradient);
    geoharm::FieldInput in;
    while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        if (block.add(in) && !block.flush(output)) return;
    }
    /* The lines of the records before the end or the bad record. */
    block.flush(output);
}

}  // namespace

int main(int argc, char** argv) {
    /* Options: --many, --gradient, --bits and --version, each at most once,
       in any order. */
    bool many = false, gradient = false, bits = false, version = false, good = true;
    for (int i = 1; i < argc; i++) {
        bool* flag = std::strcmp(argv[i], "--many") == 0       ? &many
                     : std::strcmp(argv[i], "--gradient") == 0 ? &gradient
                     : std::strcmp(argv[i], "--bits") == 0     ? &bits
                     : std::strcmp(argv[i], "--version") == 0  ? &version
                                                               : nullptr;
        if (flag == nullptr || *flag) good = false;
        if (flag != nullptr) *flag = true;
    }
    if (!good) {
        std::fprintf(stderr,
                     "usage: %s [--many] [--gradient] [--bits] < records\n"
                     "       %s --version\n"
                     "  reads lines 'x y z N M' (metres; degree and order in -128..127)\n"
                     "  writes 'a_x a_y a_z' (m/s^2) for each, as %%.17g\n"
                     "  --many: the records of each N and M in one many-point call\n"
                     "  --gradient: writes 'U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz'\n"
                     "    (m^2/s^2, m/s^2, 1/s^2) instead\n"
                     "  --bits: each double as the 16 hexadecimal digits of its bits\n"
                     "  --version: the version and the vector routines this processor takes\n",
                     argv[0], argv[0]);
        return geoharm::STATUS_USAGE;
    }
    if (geoharm::routineProblem() != nullptr) {
        std::fprintf(stderr, "geoharm-eval: %s\n", geoharm::routineProblem());
        return geoharm::STATUS_USAGE;
    }
    if (version) {
        const geoharm::Routines& routines = geoharm::activeRoutines();
        std::printf("geoharm-eval %s, vector routines %s (one point %s)\n", GEOHARM_VERSION_STRING,
                    geoharm::levelName(routines.level), geoharm::levelName(routines.pointLevel));
        return geoharm::STATUS_DONE;
    }
    /* Round to nearest, exceptions masked, for the reading and printing. */
    std::fesetenv(FE_DFL_ENV);

    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin);
    geoharm::ResultOutput output("geoharm-eval", bits ? geoharm::NumberFormat::Bits : geoharm::NumberFormat::Decimal);
    std::string why;
    geoharm::ReadStatus read = geoharm::ReadStatus::End;
    int status;
    try {
        evaluateRecords(many, gradient, reader, output, read, why);
        status = geoharm::readEndStatus("geoharm-eval", read, reader, why);
    } catch (const std::bad_alloc&) {
        status = geoharm::outOfMemory("geoharm-eval");
    }
    return output.finish(status);
}
