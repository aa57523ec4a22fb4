/*
 * icgem_parser.cpp - the ICGEM reader's state: lines cut into fields and
 * sent to the header or the data, the checks at the end, the refusals.
 */
#include "models/icgem_parser.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "models/message_text.h"

namespace geoharm {
namespace {

/* Blanks between fields: space, tab, and the '\r' of CR LF text. */
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool isFinite(double v) { return v - v == 0.0; }

}  // namespace

bool parseWhole(const Field& field, long* value) {
    const char* p = field.begin;
    bool negative = false;
    if (p < field.end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p == field.end) return false;
    long v = 0;
    for (; p < field.end; p++) {
        if (*p < '0' || *p > '9') return false;
        if (v < 1000000000L) v = v * 10 + (*p - '0');
    }
    if (v > 1000000000L) v = 1000000000L;
    *value = negative ? -v : v;
    return true;
}

bool isWord(const Field& field, const char* word) {
    std::size_t length = std::strlen(word);
    return static_cast<std::size_t>(field.end - field.begin) == length && std::memcmp(field.begin, word, length) == 0;
}

IcgemParser::IcgemParser(const char* name, const double* epoch, char* message, std::size_t messageSize)
    : name_(name), epoch_(epoch), message_(message), messageSize_(messageSize) {
    deferredMessage_[0] = '\0';
    resetHeader();
    model_.C = nullptr;
    model_.S = nullptr;
}

IcgemParser::~IcgemParser() { freeArrays(); }

void IcgemParser::resetHeader() {
    sawProductType_ = sawName_ = sawGm_ = sawRadius_ = sawMaxDegree_ = false;
    sawNorm_ = sawTideSystem_ = sawErrors_ = sawFormat_ = false;
    deferredFailure_ = false;
    version_ = 0;
    model_.gm = 0.0;
    model_.radius = 0.0;
    model_.maxDegree = 0;
    model_.normalization = Normalization::FullyNormalized;
    model_.name[0] = '\0';
    model_.tideSystem[0] = '\0';
}

void IcgemParser::freeArrays() {
    std::free(model_.C);
    std::free(model_.S);
    std::free(flags_);
    std::free(referenceEpoch_);
    model_.C = model_.S = nullptr;
    flags_ = nullptr;
    referenceEpoch_ = nullptr;
}

bool IcgemParser::fail(const char* format, ...) {
    char what[512];
    std::va_list args;
    va_start(args, format);
    int written = std::vsnprintf(what, sizeof what, format, args);
    va_end(args);
    if (written < 0) what[0] = '\0';
    writeMessage(message_, messageSize_, "%s:%ld: %s", name_, lineNumber_, what);
    return false;
}

bool IcgemParser::failInput(const char* what, const char* detail) {
    if (detail != nullptr)
        writeMessage(message_, messageSize_, "%s: %s: %s", name_, what, detail);
    else
        writeMessage(message_, messageSize_, "%s: %s", name_, what);
    return false;
}

bool IcgemParser::line(const char* begin, const char* end) {
    lineNumber_++;
    if (static_cast<std::size_t>(end - begin) > MAX_MODEL_LINE_BYTES)
        return fail("line longer than %zu bytes", MAX_MODEL_LINE_BYTES);
    /* A UTF-8 byte-order mark at the very start is not text. */
    if (lineNumber_ == 1 && end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;

    /* The first MAX_FIELDS fields, and the count of all. */
    Field fields[MAX_FIELDS];
    int count = 0;
    const char* textEnd = begin;
    const char* p = begin;
    while (true) {
        while (p < end && isBlank(*p)) p++;
        if (p == end) break;
        const char* fieldBegin = p;
        while (p < end && !isBlank(*p)) p++;
        if (count < MAX_FIELDS) fields[count] = Field{fieldBegin, p};
        if (count < MAX_FIELDS + 1) count++;
        textEnd = p;
    }
    if (count == 0) return true;
    if (inData_) return dataLine(fields, count);
    if (isWord(fields[0], "end_of_head")) return endOfHeader();
    if (headerLine(fields, count, textEnd)) return true;
    if (sawBeginOfHead_) return false;
    /* Before any begin_of_head: perhaps free text; the first such
       failure is kept for end_of_head. */
    if (!deferredFailure_) {
        deferredFailure_ = true;
        deferredMessage_[0] = '\0';
        if (message_ != nullptr && messageSize_ > 0)
            writeMessage(deferredMessage_, sizeof deferredMessage_, "%s", message_);
    }
    return true;
}

bool IcgemParser::finish() {
    if (lineNumber_ == 0) return failInput("the file is empty", nullptr);
    if (!inData_) return fail("no end_of_head: the header does not end");
    if (!anyData_) return fail("no coefficients after end_of_head");

    /* Every coefficient with gfct lines needs one that holds the epoch;
       a time-variable sum may have overflowed. */
    for (int n = 0; n <= model_.maxDegree; n++) {
        for (int m = 0; m <= n; m++) {
            std::size_t index = coefficientIndex(n, m);
            std::uint8_t f = flags_[index];
            if ((f & GFCT_LINE) != 0 && (f & STATIC_PART) == 0) {
                writeMessage(message_, messageSize_, "%s: no gfct line of degree %d, order %d holds the epoch %.17g",
                             name_, n, m, *epoch_);
                return false;
            }
            if ((f & TIME_VARIABLE) != 0 && !(isFinite(model_.C[index]) && isFinite(model_.S[index]))) {
                writeMessage(message_, messageSize_,
                             "%s: the terms of degree %d, order %d add up to a value beyond the doubles at the "
                             "epoch %.17g",
                             name_, n, m, *epoch_);
                return false;
            }
        }
    }
    return true;
}

void IcgemParser::take(ModelFileContents* out) {
    *out = model_;
    model_.C = model_.S = nullptr;
    freeArrays();
}

void IcgemParser::addTerm(std::size_t index, double c, double s) {
    /* The first term is stored as it is (a -0.0 stays -0.0); the others
       are added in the order of the lines. */
    if ((flags_[index] & GIVEN) == 0) {
        model_.C[index] = c;
        model_.S[index] = s;
        flags_[index] |= GIVEN;
    } else {
        model_.C[index] = model_.C[index] + c;
        model_.S[index] = model_.S[index] + s;
    }
}

}  // namespace geoharm
