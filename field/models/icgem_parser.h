/*
 * icgem_parser.h - the ICGEM reader's state, fed one line at a time
 * (icgem_line_feed.h cuts text into lines; the file and text readers feed
 * it).
 *
 * The rules it applies are those of docs/models-file-format.md: the
 * header (icgem_header.cpp), the data lines (icgem_data_line.cpp), the
 * checks at the end (icgem_parser.cpp).
 */
#ifndef GEOHARM_MODELS_ICGEM_PARSER_H
#define GEOHARM_MODELS_ICGEM_PARSER_H

#include <cstddef>
#include <cstdint>

#include "models/icgem_reader.h"
#include "models/message_text.h"

namespace geoharm {

/* The longest line taken, in bytes (without its '\n'). */
constexpr std::size_t MAX_MODEL_LINE_BYTES = 65536;

/* The fields of a line that are looked at: the longest data line (acos
   or asin of version 2.0 with sigmas) has 10.  A line with more is
   counted as MAX_FIELDS + 1 fields (header lines, free text, may have any
   number; data lines with more are refused by their count). */
constexpr int MAX_FIELDS = 12;

struct Field {
    const char* begin;
    const char* end;
};

/* emptyForReading - empties *out before a reading, so that a refusal
   leaves it empty; false (the message written, naming `name`) when out
   is null. */
bool emptyForReading(ModelFileContents* out, const char* name, char* message, std::size_t messageSize);

/* Whether the field is exactly `word`. */
bool isWord(const Field& field, const char* word);

/* A whole number: [+|-] digits, nothing else; magnitudes from 10^9 on
   read as 10^9.  False when malformed. */
bool parseWhole(const Field& field, long* value);

class IcgemParser {
public:
    /* name: for messages, outlives the parser; epoch: null or the epoch;
       message, messageSize: where a refusal is written. */
    IcgemParser(const char* name, const double* epoch, char* message, std::size_t messageSize);
    ~IcgemParser();
    IcgemParser(const IcgemParser&) = delete;
    IcgemParser& operator=(const IcgemParser&) = delete;

    /* One line, without its '\n' (a '\r' reads as a blank).  False: the
       input is refused, the message written; no more lines may follow. */
    bool line(const char* begin, const char* end);

    /* After the last line: the checks that need the whole file.  False:
       refused, the message written. */
    bool finish();

    /* Moves the model into `out` (after finish() returned true). */
    void take(ModelFileContents* out);

    /* A refusal that concerns the input as a whole ("<name>: <what>"),
       for the readers' own failures (opening, reading). */
    bool failInput(const char* what, const char* detail);

private:
    /* Flags of a coefficient (flags_[index]). */
    enum : std::uint8_t {
        GIVEN = 1,         // has a value: a term was stored or added
        STATIC_PART = 2,   // its gfc, or its gfct that holds the epoch
        TREND = 4,         // its trnd that holds the epoch
        GFCT_LINE = 8,     // a gfct line of its, whether it holds the epoch or not
        TIME_VARIABLE = 16 // a time-variable term was added
    };

    bool headerLine(const Field* fields, int count, const char* textEnd);
    bool oneWord(const Field* fields, int count, bool* seen);
    bool headerNumber(const Field* fields, int count, double* value, bool* seen);
    bool endOfHeader();
    bool dataLine(const Field* fields, int count);
    bool degreeAndOrder(const Field* fields, int* n, int* m);
    bool number(const Field& field, const char* what, double* value);
    bool fileEpoch(const Field& field, double* epoch);
    bool decideVersion(const Field* fields, int count);
    void addTerm(std::size_t index, double c, double s);

    /* A refusal at the current line: "<name>:<line>: <what>".  Returns
       false, for `return fail(...)`. */
    bool fail(const char* format, ...) GEOHARM_FORMAT_CHECK(2, 3);

    void resetHeader();
    void freeArrays();

    const char* name_;
    const double* epoch_;
    char* message_;
    std::size_t messageSize_;
    long lineNumber_ = 0;

    /* Header. */
    bool inData_ = false;
    bool sawBeginOfHead_ = false;
    /* A header line that failed while no begin_of_head had been seen:
       its message, given at end_of_head unless a begin_of_head shows the
       line to be free text before the header. */
    bool deferredFailure_ = false;
    char deferredMessage_[512];
    bool sawProductType_ = false, sawName_ = false, sawGm_ = false, sawRadius_ = false, sawMaxDegree_ = false;
    bool sawNorm_ = false, sawTideSystem_ = false, sawErrors_ = false, sawFormat_ = false;
    int version_ = 0;  // 1 or 2; 0 until the header or the first time-variable line says

    /* The model. */
    ModelFileContents model_;
    std::size_t count_ = 0;
    std::uint8_t* flags_ = nullptr;
    double* referenceEpoch_ = nullptr;  // version 1.0: the t0 of each gfct
    bool anyData_ = false;
};

}  // namespace geoharm

#endif
