/*
 * record_fuzzer.cpp - libFuzzer target: the tools' record reader
 * (tools/record_io.h) on any bytes, against a plain reading of the same
 * bytes (plain_records.h).
 *
 * Per input, read twice, with the tools' longest line and with lines of
 * at most SHORT_LINE bytes:
 *   - every record the reader returns has the bits of the plain reading's
 *     record at that place (a NaN matches any NaN), and there are as many;
 *   - the reader ends where the plain reading ends: at the end of the
 *     input, or at the same malformed line, reported by its number with a
 *     reason of printable ASCII no longer than REASON_BYTES;
 *   - nothing is read after that (the next call says End).
 * A failed check prints what differed and aborts: libFuzzer keeps the
 * input as a crash.  At exit the counts are printed.
 */
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plain_records.h"
#include "record_io.h"

namespace {

constexpr std::size_t SHORT_LINE = 16;
constexpr std::size_t REASON_BYTES = 120;

struct Counts {
    unsigned long long inputs = 0, lines = 0, records = 0, malformed = 0;
} counts;

void printCounts() {
    std::printf("fuzz: record reader: %llu inputs, each read with lines of up to %zu and %zu bytes: %llu lines "
                "tried, %llu records read, %llu malformed lines reported\n",
                counts.inputs, geoharm::MAX_LINE_BYTES, SHORT_LINE, counts.lines, counts.records, counts.malformed);
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "record fuzzer: %s\n", what.c_str());
    std::abort();
}

void check(bool good, const std::string& what) {
    if (!good) fail(what);
}

bool sameBits(double a, double b) {
    std::uint64_t ba, bb;
    std::memcpy(&ba, &a, sizeof a);
    std::memcpy(&bb, &b, sizeof b);
    return (std::isnan(a) && std::isnan(b)) || ba == bb;
}

bool sameRecord(const geoharm::FieldInput& a, const geoharm::FieldInput& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z) && a.n == b.n && a.m == b.m;
}

void checkReading(const std::uint8_t* data, std::size_t size, std::size_t maxLine) {
    const geoharm_fuzz::PlainReading want = geoharm_fuzz::readPlainRecords(data, size, maxLine);
    /* The bytes as a stream (fmemopen takes no empty buffer). */
    std::FILE* in = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : std::fopen("/dev/null", "rb");
    check(in != nullptr, "cannot open the bytes as a stream");

    geoharm::RecordReader reader(in, maxLine);
    geoharm::FieldInput got;
    std::string why;
    std::size_t read = 0;
    geoharm::ReadStatus status;
    while ((status = reader.next(got, why)) == geoharm::ReadStatus::Record) {
        check(read < want.records.size(), "record " + std::to_string(read + 1) + " accepted at line " +
                                              std::to_string(reader.lineNumber()) + ", which the plain reading "
                                              "does not take");
        check(sameRecord(got, want.records[read]),
              "record " + std::to_string(read + 1) + " at line " + std::to_string(reader.lineNumber()) +
                  " read to other values than the plain reading's");
        read++;
    }
    check(read == want.records.size(), "only " + std::to_string(read) + " of " +
                                           std::to_string(want.records.size()) + " records read");
    if (want.malformedLine != 0) {
        check(status == geoharm::ReadStatus::Malformed,
              "line " + std::to_string(want.malformedLine) + " is malformed, the reader says " +
                  (status == geoharm::ReadStatus::End ? "end" : "input error"));
        check(reader.lineNumber() == want.malformedLine, "malformed line reported as line " +
                                                             std::to_string(reader.lineNumber()) + ", not " +
                                                             std::to_string(want.malformedLine));
        check(!why.empty() && why.size() <= REASON_BYTES, "reason of " + std::to_string(why.size()) + " bytes");
        for (char c : why) check(c >= 0x20 && c < 0x7f, "reason with a byte that is not printable ASCII");
        counts.malformed++;
    } else {
        check(status == geoharm::ReadStatus::End, "the reader stopped at line " +
                                                      std::to_string(reader.lineNumber()) + ": " + why);
    }
    check(reader.next(got, why) == geoharm::ReadStatus::End, "the reader went on after its end");
    std::fclose(in);
    counts.lines += static_cast<unsigned long long>(want.lines);
    counts.records += read;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(printCounts);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkReading(data, size, geoharm::MAX_LINE_BYTES);
    checkReading(data, size, SHORT_LINE);
    counts.inputs++;
    return 0;
}
