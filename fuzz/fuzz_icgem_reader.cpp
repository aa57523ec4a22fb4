/*
 * fuzz_icgem_reader.cpp - libFuzzer target: the ICGEM model reader
 * (field/models/icgem_reader.h) on any bytes.
 *
 * Per input:
 *   - the bytes are read as a model twice, without an epoch and at the
 *     epoch 2010.5.  Each reading is a refusal, with `out` emptied and a
 *     message of printable ASCII that starts with the name "fuzz:", or a
 *     model as documented: max_degree within 0..MAX_MODEL_DEGREE, GM and
 *     radius positive and finite, every coefficient finite;
 *   - each blank-separated field (up to 64 of them) is read as a number:
 *     one the reader takes must have the bits glibc's strtod gives for the
 *     same text (with the D exponent written e), one it finds beyond the
 *     doubles must be infinite for strtod too;
 *   - the first line, read as a user's epoch, is refused or gives a year
 *     in [0, 10000).
 * A failed check prints what differed and aborts: libFuzzer keeps the
 * input as a crash.  At exit the counts are printed.
 */
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "models/decimal_number.h"
#include "models/icgem_reader.h"

namespace {

struct Counts {
    unsigned long long inputs = 0, models = 0, refusals = 0, numbers = 0;
} counts;

void printCounts() {
    std::printf("fuzz: icgem reader: %llu inputs read twice: %llu models, %llu refusals; %llu numbers checked "
                "against strtod\n",
                counts.inputs, counts.models, counts.refusals, counts.numbers);
}

void check(bool good, const char* what, const std::string& detail) {
    if (good) return;
    std::fprintf(stderr, "icgem fuzzer: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool isFinite(double v) { return v - v == 0.0; }

void checkReading(const char* text, std::size_t size, const double* epoch) {
    geoharm::ModelFileContents model;
    std::memset(&model, 0x5A, sizeof model);
    char message[1024];
    std::memset(message, 0x5A, sizeof message);
    bool ok = geoharm::readIcgemText(text, size, "fuzz", epoch, &model, message, sizeof message);
    if (!ok) {
        counts.refusals++;
        std::string shown(message, strnlen(message, sizeof message));
        check(shown.size() < sizeof message && shown.compare(0, 5, "fuzz:") == 0, "refusal message", shown);
        for (char c : shown) check(c >= 0x20 && c < 0x7F, "message not printable ASCII", shown);
        geoharm::ModelFileContents empty;
        std::memset(&empty, 0, sizeof empty);
        check(std::memcmp(&model, &empty, sizeof model) == 0, "out not emptied on a refusal", shown);
        return;
    }
    counts.models++;
    check(model.maxDegree >= 0 && model.maxDegree <= geoharm::MAX_MODEL_DEGREE, "max_degree",
          std::to_string(model.maxDegree));
    check(model.gm > 0.0 && isFinite(model.gm) && model.radius > 0.0 && isFinite(model.radius), "GM or radius", "");
    check(std::memchr(model.name, 0, sizeof model.name) != nullptr &&
              std::memchr(model.tideSystem, 0, sizeof model.tideSystem) != nullptr,
          "name or tide system not terminated", "");
    std::size_t count = geoharm::coefficientIndex(model.maxDegree, model.maxDegree) + 1;
    for (std::size_t i = 0; i < count; i++)
        check(isFinite(model.C[i]) && isFinite(model.S[i]), "coefficient not finite", std::to_string(i));
    geoharm::releaseModelFileContents(&model);
}

void checkNumber(const char* begin, const char* end) {
    double value = 0.0;
    geoharm::NumberStatus status = geoharm::parseDecimal(begin, end, &value);
    if (status == geoharm::NumberStatus::Malformed) return;
    counts.numbers++;
    std::string text(begin, end);
    for (char& c : text)
        if (c == 'd' || c == 'D') c = 'e';
    char* stop = nullptr;
    double expected = std::strtod(text.c_str(), &stop);
    check(stop == text.c_str() + text.size(), "strtod does not take all of a number the reader takes", text);
    if (status == geoharm::NumberStatus::OutOfRange) {
        check(!isFinite(expected), "beyond the doubles for the reader, not for strtod", text);
        return;
    }
    std::uint64_t a, b;
    std::memcpy(&a, &value, sizeof a);
    std::memcpy(&b, &expected, sizeof b);
    check(a == b, "not strtod's double", text);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(printCounts);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    counts.inputs++;
    const char* text = reinterpret_cast<const char*>(data);
    const double epoch = 2010.5;
    checkReading(text, size, nullptr);
    checkReading(text, size, &epoch);

    const char* p = text;
    const char* end = text + size;
    for (int fields = 0; fields < 64; fields++) {
        while (p < end && isBlank(*p)) p++;
        if (p == end) break;
        const char* begin = p;
        while (p < end && !isBlank(*p)) p++;
        checkNumber(begin, p);
    }

    std::string firstLine(text, strnlen(text, size));
    firstLine = firstLine.substr(0, firstLine.find('\n'));
    double year = -1.0;
    char message[256];
    if (geoharm::parseEpoch(firstLine.c_str(), &year, message, sizeof message))
        check(year >= 0.0 && year < 10000.0, "epoch out of its years", firstLine);
    return 0;
}
