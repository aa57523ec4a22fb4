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
 * With --model FILE, the model of that ICGEM file (GravityModel::load)
 * instead of the compiled-in one, its time-variable terms at the epoch of
 * --epoch EPOCH (a decimal year or a date yyyy-mm-dd); every option and
 * output works with it, and N and M may be any int.  A file that cannot
 * be loaded ends the tool with status 2 and the loader's message, which
 * names the file, before a record is read.
 *
 * With --version, it prints its version and the levels of vector routines
 * the evaluation takes on this processor, and reads nothing (with --model,
 * also what the file holds).  Where GEOHARM_SIMD_LEVEL cannot be used
 * (machine/settings.h), it says why and exits with status 2 before
 * reading a record.  --help prints the usage (eval_options.h).
 *
 * The whole run is in the default floating-point environment, whatever the
 * process was started with: reading a number (strtod) and printing one
 * follow the rounding mode too, and each evaluation fixes its own state
 * anyway.
 */
#include <algorithm>
#include <cfenv>
#include <cstdio>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <geoharm/version.h>

#include "eval_field.h"
#include "eval_options.h"
#include "geoharm/gravity_model.h"
#include "machine/routine_table.h"
#include "models/model_epoch.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

/*
 * For --many: up to RECORDS_AT_ONCE records, evaluated together when the
 * block is full, at the end, or before a malformed record: one call per N
 * and M among them (the acceleration, or with --gradient the gradient),
 * the lines written in the records' order.  Its storage is taken once,
 * for a full block.
 */
class RecordBlock {
public:
    RecordBlock(const geoharm::EvalField& field, bool gradient)
        : field_(field), gradient_(gradient), width_(gradient ? geoharm::GRADIENT_LINE_VALUES : 3) {
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
    bool add(const geoharm::Record& record) {
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
            const geoharm::Record& first = records_[order_[begin]];
            for (end = begin; end < count && limitsOf(records_[order_[end]]) == limitsOf(first); end++) {
            }
            const std::size_t g = end - begin;
            for (std::size_t k = 0; k < g; k++) {
                const geoharm::Record& r = records_[order_[begin + k]];
                in_[k] = r.x;
                in_[g + k] = r.y;
                in_[2 * g + k] = r.z;
            }
            const double *x = in_.data(), *y = x + g, *z = y + g;
            double *ax = out_.data(), *ay = ax + g, *az = ay + g;
            field_.many(g, x, y, z, first.n, first.m, gradient_ ? T_.data() : nullptr, ax, ay, az,
                        gradient_ ? U_.data() : nullptr);
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
    static std::pair<int, int> limitsOf(const geoharm::Record& r) { return {r.n, r.m}; }

    const geoharm::EvalField& field_;
    bool gradient_;
    int width_;
    std::vector<geoharm::Record> records_;
    std::vector<std::size_t> order_;
    std::vector<double> in_, out_, T_, U_, results_;
};

/* The records of the reader, evaluated one by one or (many) in blocks,
   and written; the reader's last outcome in `read`.  std::bad_alloc is
   the caller's to report. */
void evaluateRecords(const geoharm::EvalField& field, bool many, bool gradient, geoharm::RecordReader& reader,
                     geoharm::ResultOutput& output, geoharm::ReadStatus& read, std::string& why) {
    if (!many) {
        geoharm::Record in;
        while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
            double line[geoharm::GRADIENT_LINE_VALUES];
            const int width = field.line(in, gradient, line);
            if (!output.write(line, width)) return;
        }
        return;
    }
    RecordBlock block(field, gradient);
    geoharm::Record in;
    while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        if (block.add(in) && !block.flush(output)) return;
    }
    /* The lines of the records before the end or the bad record. */
    block.flush(output);
}

/*
 * The model of --model, or a reason on standard error (status 2).  An
 * epoch the loader refuses is reported with the file's name in front, as
 * every other refusal names the file.
 */
bool loadModel(const geoharm::EvalOptions& options, geoharm::GravityModel& model) {
    char message[1024];
    const char* epoch = options.hasEpoch ? options.epoch.c_str() : nullptr;
    double year;
    if (epoch != nullptr && !geoharm::parseEpoch(epoch, &year, message, sizeof message)) {
        std::fprintf(stderr, "geoharm-eval: %s: %s\n", options.model.c_str(), message);
        return false;
    }
    model = geoharm::GravityModel::load(options.model.c_str(), epoch, message, sizeof message);
    if (!model.ok()) std::fprintf(stderr, "geoharm-eval: %s\n", message);
    return model.ok();
}

}  // namespace

int main(int argc, char** argv) {
    geoharm::EvalOptions options;
    std::string why;
    const std::vector<std::string> args = geoharm::argumentsAsUtf8(argc, argv);
    if (!geoharm::parseEvalOptions(std::vector<std::string>(args.begin() + 1, args.end()), options, why)) {
        std::fprintf(stderr, "geoharm-eval: %s\n%s", why.c_str(), geoharm::evalUsage(argv[0]).c_str());
        return geoharm::STATUS_USAGE;
    }
    if (options.help) {
        std::fputs(geoharm::evalUsage(argv[0]).c_str(), stdout);
        return geoharm::ResultOutput("geoharm-eval").finish(geoharm::STATUS_DONE);
    }
    if (geoharm::routineProblem() != nullptr) {
        std::fprintf(stderr, "geoharm-eval: %s\n", geoharm::routineProblem());
        return geoharm::STATUS_USAGE;
    }
    /* Round to nearest, exceptions masked, for the reading and printing
       (and the epoch's reading). */
    std::fesetenv(FE_DFL_ENV);

    /* The model before anything is read. */
    geoharm::GravityModel model;
    if (options.hasModel && !loadModel(options, model)) return geoharm::STATUS_USAGE;
    if (options.version) {
        const geoharm::Routines& routines = geoharm::activeRoutines();
        std::printf("geoharm-eval %s, vector routines %s (one point %s)\n", GEOHARM_VERSION_STRING,
                    geoharm::levelName(routines.level), geoharm::levelName(routines.pointLevel));
        if (options.hasModel)
            std::printf("model %s: '%s', degree %d%s\n", options.model.c_str(), model.name(), model.maxDegree(),
                        model.isCompiledIn() ? " (the compiled-in model: its routines)" : "");
        else
            std::printf("model: the compiled-in one (--model FILE [--epoch EPOCH]: an ICGEM file's)\n");
        return geoharm::ResultOutput("geoharm-eval").finish(geoharm::STATUS_DONE);
    }
    const geoharm::EvalField field(options.hasModel ? &model : nullptr);
    geoharm::readStandardInputAsBytes();
    geoharm::RecordReader reader(stdin, geoharm::MAX_LINE_BYTES, field.limitRange());
    geoharm::ResultOutput output("geoharm-eval",
                                 options.bits ? geoharm::NumberFormat::Bits : geoharm::NumberFormat::Decimal);
    geoharm::ReadStatus read = geoharm::ReadStatus::End;
    int status;
    try {
        evaluateRecords(field, options.many, options.gradient, reader, output, read, why);
        status = geoharm::readEndStatus("geoharm-eval", read, reader, why);
    } catch (const std::bad_alloc&) {
        status = geoharm::outOfMemory("geoharm-eval");
    }
    return output.finish(status);
}
