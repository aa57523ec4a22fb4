/*
 * plain_records.cpp - the reference reading of records (plain_records.h).
 */
#include "plain_records.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace geoharm_fuzz {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (!isSeparator(c)) {
            field += c;
        } else if (!field.empty()) {
            fields.push_back(field);
            field.clear();
        }
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

bool plainDouble(const std::string& text, double& value) {
    for (char c : text) {
        if (c < 0x21 || c > 0x7e) return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return false;
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return !std::isinf(value) || lower.find("inf") != std::string::npos;
}

bool plainInt8(const std::string& text, int& value) {
    std::size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    long v = 0;
    for (; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9') return false;
        /* Saturated: any value past 1000 is out of range alike. */
        v = v * 10 + (text[i] - '0');
        if (v > 1000) v = 1000;
    }
    if (text[0] == '-') v = -v;
    if (v < -128 || v > 127) return false;
    value = static_cast<int>(v);
    return true;
}

/* The record of a line with fields; false when it is malformed. */
bool plainRecord(const std::vector<std::string>& fields, geoharm::FieldInput& in) {
    if (fields.size() != 5) return false;
    double xyz[3];
    int nm[2];
    for (int i = 0; i < 3; i++) {
        if (!plainDouble(fields[static_cast<std::size_t>(i)], xyz[i])) return false;
    }
    for (int i = 0; i < 2; i++) {
        if (!plainInt8(fields[static_cast<std::size_t>(3 + i)], nm[i])) return false;
    }
    in = geoharm::FieldInput{xyz[0], xyz[1], xyz[2], static_cast<std::int8_t>(nm[0]), static_cast<std::int8_t>(nm[1])};
    return true;
}

}  // namespace

PlainReading readPlainRecords(const std::uint8_t* data, std::size_t size, std::size_t maxLine) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

    PlainReading reading;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        reading.lines++;
        const std::size_t content = !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
        if (content > maxLine) {
            reading.malformedLine = reading.lines;
            break;
        }
        const std::vector<std::string> fields = fieldsOf(line);
        if (fields.empty() || fields[0][0] == '#') continue;
        geoharm::FieldInput in;
        if (!plainRecord(fields, in)) {
            reading.malformedLine = reading.lines;
            break;
        }
        reading.records.push_back(in);
    }
    return reading;
}

}  // namespace geoharm_fuzz
