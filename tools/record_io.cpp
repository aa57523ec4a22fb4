/*
 * record_io.cpp - parsing of "x y z N M" lines and printing of results.
 */
#include "record_io.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace geoharm {

namespace {

/* Next blank-separated field of `line` from `pos`; empty at the end. */
std::string nextField(const std::string& line, std::size_t& pos) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r')) pos++;
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r') pos++;
    return line.substr(start, pos - start);
}

bool parseDouble(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    /* Overflow to +-inf is an input error; gradual underflow is a value. */
    if (errno == ERANGE && std::isinf(value)) return false;
    return *end == '\0';
}

bool parseInt8(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < -128 || v > 127) return false;
    value = static_cast<int>(v);
    return true;
}

void formatOne(double v, std::string& out) {
    char buf[40];
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

RecordKind parseRecord(const std::string& line, FieldInput& in, std::string& why) {
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
            why = std::string(names[i]) + " is not a number: '" + field + "'";
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
        if (!parseInt8(field, nm[i])) {
            why = std::string(limits[i]) + " is not an integer in -128..127: '" + field + "'";
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
    in.n = static_cast<std::int8_t>(nm[0]);
    in.m = static_cast<std::int8_t>(nm[1]);
    return RecordKind::Record;
}

std::string formatResult(const double a[3]) {
    std::string out;
    for (int i = 0; i < 3; i++) {
        if (i > 0) out += ' ';
        formatOne(a[i], out);
    }
    return out;
}

}  // namespace geoharm
