/*
 * record_io.cpp - parsing of "x y z N M" lines and printing of results.
 */
#include "record_io.h"

#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace geoharm {

namespace {

/* Next blank-separated field of `line` from `pos`; empty at the end. */
std::string nextField(const std::string& line, std::size_t& pos) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r')) pos++;
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r') pos++;
    return line.substr(start, pos - start);
}

/*
 * Whether strtod or strtol may read `text` at all: not empty, and not
 * starting with a space of another kind than the separators (vertical tab,
 * form feed), which they would skip.  They stop at a NUL byte, so a field
 * is a number only when they read up to its last byte.
 */
bool readable(const std::string& text) {
    return !text.empty() && std::isspace(static_cast<unsigned char>(text[0])) == 0;
}

bool parseDouble(const std::string& text, double& value) {
    if (!readable(text)) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    /* Overflow to +-inf is an input error; gradual underflow is a value. */
    if (errno == ERANGE && std::isinf(value)) return false;
    return end == text.c_str() + text.size();
}

/* The smallest and largest N and M of a range, and how a reason names it. */
long lowestLimit(LimitRange range) { return range == LimitRange::Int8 ? INT8_MIN : INT_MIN; }
long highestLimit(LimitRange range) { return range == LimitRange::Int8 ? INT8_MAX : INT_MAX; }
const char* rangeText(LimitRange range) {
    return range == LimitRange::Int8 ? "-128..127" : "-2147483648..2147483647";
}

/* A decimal integer of the range.  strtol's long is 64 bits on Linux and
   32 on Windows: a value beyond an int is ERANGE on one and out of the
   range on the other, refused on both. */
bool parseLimit(const std::string& text, LimitRange range, int& value) {
    if (!readable(text)) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE || v < lowestLimit(range) || v > highestLimit(range))
        return false;
    value = static_cast<int>(v);
    return true;
}

/* Bytes of a UTF-8 byte-order mark at the start of `text`: 3 or 0. */
std::size_t leadingMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; }

/* `field` as a reason quotes it: escaped, cut to QUOTED_FIELD_CHARS
   characters, its length when cut. */
std::string quoted(const std::string& field) {
    std::string text;
    std::size_t shown = 0;
    for (; shown < field.size(); shown++) {
        const unsigned char c = static_cast<unsigned char>(field[shown]);
        char one[8];
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            one[0] = static_cast<char>(c);
            one[1] = '\0';
        } else {
            std::snprintf(one, sizeof one, "\\x%02x", c);
        }
        if (text.size() + std::strlen(one) > QUOTED_FIELD_CHARS) break;
        text += one;
    }
    std::string out = "'" + text + "'";
    if (shown < field.size()) out += "... (" + std::to_string(field.size()) + " bytes)";
    return out;
}

void formatOne(double v, NumberFormat format, std::string& out) {
    char buf[40];
    if (format == NumberFormat::Bits) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        std::snprintf(buf, sizeof buf, "%016" PRIX64, bits);
        out += buf;
        return;
    }
    if (std::isnan(v)) {
        out += "nan";
        return;
    }
    if (std::isinf(v)) {
        out += v < 0 ? "-inf" : "inf";
        return;
    }
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out += buf;
}

}  // namespace

RecordKind parseRecord(const std::string& line, Record& in, std::string& why, LimitRange range) {
    std::size_t pos = 0;
    const std::string first = nextField(line, pos);
    if (first.empty() || first[0] == '#') return RecordKind::Empty;

    static const char* const names[3] = {"x", "y", "z"};
    double xyz[3];
    std::string field = first;
    for (int i = 0; i < 3; i++) {
        if (i > 0) field = nextField(line, pos);
        if (field.empty()) {
            why = "expected 5 fields: x y z N M";
            return RecordKind::Malformed;
        }
        if (!parseDouble(field, xyz[i])) {
            why = std::string(names[i]) + " is not a number: " + quoted(field);
            return RecordKind::Malformed;
        }
    }
    int nm[2];
    static const char* const limits[2] = {"N", "M"};
    for (int i = 0; i < 2; i++) {
        field = nextField(line, pos);
        if (field.empty()) {
            why = "expected 5 fields: x y z N M";
            return RecordKind::Malformed;
        }
        if (!parseLimit(field, range, nm[i])) {
            why = std::string(limits[i]) + " is not an integer in " + rangeText(range) + ": " + quoted(field);
            return RecordKind::Malformed;
        }
    }
    if (!nextField(line, pos).empty()) {
        why = "expected 5 fields: x y z N M";
        return RecordKind::Malformed;
    }
    in.x = xyz[0];
    in.y = xyz[1];
    in.z = xyz[2];
    in.n = nm[0];
    in.m = nm[1];
    return RecordKind::Record;
}

FieldInput fieldInputOf(const Record& r) {
    return {r.x, r.y, r.z, static_cast<std::int8_t>(r.n), static_cast<std::int8_t>(r.m)};
}

RecordKind parseRecord(const std::string& line, FieldInput& in, std::string& why) {
    Record record;
    const RecordKind kind = parseRecord(line, record, why, LimitRange::Int8);
    if (kind == RecordKind::Record) in = fieldInputOf(record);
    return kind;
}

ReadStatus RecordReader::next(FieldInput& in, std::string& why) {
    Record record;
    const ReadStatus status = next(record, why);
    if (status == ReadStatus::Record) in = fieldInputOf(record);
    return status;
}

ReadStatus RecordReader::next(Record& in, std::string& why) {
    if (stopped_) return ReadStatus::End;
    for (;;) {
        /* One line, without its '\n'; a last line may lack it.  A mark at
           the start of the input is no part of the first line's length,
           nor is a '\r' that ends the line (CR LF, or a CR at the end). */
        text_.clear();
        int c;
        while ((c = std::getc(in_)) != EOF && c != '\n') {
            if (text_.size() >= maxLine_ && text_.size() - (line_ == 0 ? leadingMark(text_) : 0) == maxLine_) {
                const int after = c == '\r' ? std::getc(in_) : 0;
                if (c == '\r' && (after == '\n' || after == EOF)) {
                    if (after == '\n') std::ungetc(after, in_);
                    text_ += '\r';
                    continue;
                }
                stopped_ = true;
                line_++;
                why = "longer than " + std::to_string(maxLine_) + " bytes";
                return ReadStatus::Malformed;
            }
            text_ += static_cast<char>(c);
        }
        if (c == EOF && std::ferror(in_)) {
            stopped_ = true;
            why = std::strerror(errno);
            return ReadStatus::InputError;
        }
        if (c == EOF && text_.empty()) {
            stopped_ = true;
            return ReadStatus::End;
        }
        line_++;

        /* A UTF-8 byte-order mark, as some editors write, only at the start. */
        if (line_ == 1) text_.erase(0, leadingMark(text_));

        switch (parseRecord(text_, in, why, range_)) {
            case RecordKind::Empty:
                break;
            case RecordKind::Malformed:
                stopped_ = true;
                return ReadStatus::Malformed;
            case RecordKind::Record:
                return ReadStatus::Record;
        }
    }
}

std::string formatResult(const double* values, int count, NumberFormat format) {
    std::string out;
    for (int i = 0; i < count; i++) {
        if (i > 0) out += ' ';
        formatOne(values[i], format, out);
    }
    return out;
}

bool writeResult(std::FILE* out, const double* values, int count, NumberFormat format) {
    const std::string line = formatResult(values, count, format) + '\n';
    return std::fwrite(line.data(), 1, line.size(), out) == line.size();
}

}  // namespace geoharm
