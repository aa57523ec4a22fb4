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
 * With --many, the records are read in blocks of RECORDS_AT_ONCE, and the
 * records of each N and M in a block evaluated by one call of
 * evaluateAccelerationMany (one point per vector lane, threads for many
 * points) instead of one evaluateAcceleration per record: the same lines
 * in the same order, so that the identity tests hold the many-point
 * routines of every build to the single-point ones.  The memory it takes
 * does not grow with the input; should it run out all the same, the lines
 * before are written and the status is 6 ("geoharm-eval: out of memory").
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

#include "point/evaluate_acceleration.h"
#include "many/evaluate_acceleration_many.h"
#include "record_io.h"
#include "tool_exit.h"
#include "tool_platform.h"

namespace {

/*
 * For --many: up to RECORDS_AT_ONCE records, evaluated together when the
 * block is full, at the end, or before a malformed record: one call per N
 * and M among them, the lines written in the records' order.  Its storage
 * is taken once, for a full block.
 */
class RecordBlock {
public:
    RecordBlock() {
        records_.reserve(geoharm::RECORDS_AT_ONCE);
        order_.reserve(geoharm::RECORDS_AT_ONCE);
        in_.resize(3 * geoharm::RECORDS_AT_ONCE);
        out_.resize(3 * geoharm::RECORDS_AT_ONCE);
        results_.resize(3 * geoharm::RECORDS_AT_ONCE);
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
            geoharm::evaluateAccelerationMany(g, in_.data(), in_.data() + g, in_.data() + 2 * g, first.n, first.m,
                                              out_.data(), out_.data() + g, out_.data() + 2 * g);
            for (std::size_t k = 0; k < g; k++)
                for (std::size_t c = 0; c < 3; c++) results_[3 * order_[begin + k] + c] = out_[c * g + k];
        }
        records_.clear();
        for (std::size_t i = 0; i < count; i++)
            if (!output.write(&results_[3 * i])) return false;
        return true;
    }

private:
    static int limitsOf(const geoharm::FieldInput& r) { return r.n * 256 + r.m; }

    std::vector<geoharm::FieldInput> records_;
    std::vector<std::size_t> order_;
    std::vector<double> in_, out_, results_;
};

/* The records of the reader, evaluated one by one or (many) in blocks,
   and written; the reader's last outcome in `read`.  std::bad_alloc is
   the caller's to report. */
void evaluateRecords(bool many, geoharm::RecordReader& reader, geoharm::ResultOutput& output,
                     geoharm::ReadStatus& read, std::string& why) {
    if (!many) {
        geoharm::FieldInput in;
        while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
            double a[3];
            geoharm::evaluateAcceleration(in, a);
            if (!output.write(a)) return;
        }
        return;
    }
    RecordBlock block;
    geoharm::FieldInput in;
    while ((read = reader.next(in, why)) == geoharm::ReadStatus::Record) {
        if (block.add(in) && !block.flush(output)) return;
    }
    /* The lines of the records before the end or the bad record. */
    block.flush(output);
}

}  // namespace

int main(int argc, char** argv) {
    bool many = false, bits = false, good = true;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--many") == 0 && !many)
            many = true;
        else if (std::strcmp(argv[i], "--bits") == 0 && !bits)
            bits = true;
        else
            good = false;
    }
    if (!good) {
        std::fprintf(stderr,
                     "usage: %s [--many] [--bits] < records\n"
                     "  reads lines 'x y z N M' (metres; degree and order in -128..127)\n"
                     "  writes 'a_x a_y a_z' (m/s^2) for each, as %%.17g\n"
                     "  --many: the records of each N and M in one many-point call\n"
                     "  --bits: each double as the 16 hexadecimal digits of its bits\n",
                     argv[0]);
        return geoharm::STATUS_USAGE;
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
        evaluateRecords(many, reader, output, read, why);
        status = geoharm::readEndStatus("geoharm-eval", read, reader, why);
    } catch (const std::bad_alloc&) {
        status = geoharm::outOfMemory("geoharm-eval");
    }
    return output.finish(status);
}
