/*
 * icgem_header.cpp - the header of an ICGEM file: its keys up to
 * end_of_head, and the model's arrays made when it ends.
 *
 * Keys (first field of a line), in any order, each at most once:
 *   product_type            gravity_field
 *   modelname, tide_system  the rest of the line, kept as text
 *   earth_gravity_constant  GM (m^3/s^2), or gravity_constant: one of them
 *   radius                  m
 *   max_degree              0..MAX_MODEL_DEGREE
 *   norm                    fully_normalized (the default) or unnormalized
 *   errors                  formal, calibrated, calibrated_and_formal or no
 *   format                  icgem1.0 or icgem2.0
 * Any other line is ignored (keys such as generating_institute, the
 * column line "key L M C S ...", comments).  Lines before a begin_of_head
 * are free text: the keys seen there are dropped, and a line that failed
 * there is no refusal.
 */
#include <cstdlib>

#include "models/decimal_number.h"
#include "models/icgem_parser.h"
#include "models/message_text.h"
#include "models/utf8_cut.h"

namespace geoharm {

bool IcgemParser::oneWord(const Field* fields, int count, bool* seen) {
    char key[QUOTED_TEXT_SIZE];
    quoteText(fields[0].begin, fields[0].end, key, sizeof key);
    if (*seen) return fail("%s given twice", key);
    *seen = true;
    if (count != 2) return fail("%s: one value expected, found %s", key, count == 1 ? "none" : "more");
    return true;
}

bool IcgemParser::headerNumber(const Field* fields, int count, double* value, bool* seen) {
    if (!oneWord(fields, count, seen)) return false;
    char key[QUOTED_TEXT_SIZE];
    quoteText(fields[0].begin, fields[0].end, key, sizeof key);
    if (!number(fields[1], key, value)) return false;
    if (!(*value > 0.0)) return fail("%s must be positive", key);
    return true;
}

bool IcgemParser::headerLine(const Field* fields, int count, const char* textEnd) {
    const Field& key = fields[0];
    char value[QUOTED_TEXT_SIZE] = "";
    if (count >= 2) quoteText(fields[1].begin, fields[1].end, value, sizeof value);

    if (isWord(key, "begin_of_head")) {
        if (sawBeginOfHead_) return fail("begin_of_head given twice");
        sawBeginOfHead_ = true;
        resetHeader();
        return true;
    }
    if (isWord(key, "earth_gravity_constant") || isWord(key, "gravity_constant")) {
        if (sawGm_) return fail("the gravity constant given twice (earth_gravity_constant, gravity_constant)");
        return headerNumber(fields, count, &model_.gm, &sawGm_);
    }
    if (isWord(key, "radius")) return headerNumber(fields, count, &model_.radius, &sawRadius_);
    if (isWord(key, "modelname") || isWord(key, "tide_system")) {
        bool isName = isWord(key, "modelname");
        bool& seen = isName ? sawName_ : sawTideSystem_;
        if (seen) return fail("%s given twice", isName ? "modelname" : "tide_system");
        seen = true;
        const char* begin = count >= 2 ? fields[1].begin : key.end;
        const char* end = count >= 2 ? textEnd : key.end;
        if (isName)
            copyTextCut(begin, static_cast<std::size_t>(end - begin), model_.name, sizeof model_.name);
        else
            copyTextCut(begin, static_cast<std::size_t>(end - begin), model_.tideSystem, sizeof model_.tideSystem);
        return true;
    }

    if (isWord(key, "max_degree")) {
        if (!oneWord(fields, count, &sawMaxDegree_)) return false;
        long degree = 0;
        if (!parseWhole(fields[1], &degree)) return fail("max_degree '%s' is not a whole number", value);
        if (degree < 0) return fail("max_degree %ld is negative", degree);
        if (degree > MAX_MODEL_DEGREE)
            return fail("max_degree %ld above the highest degree supported, %d", degree, MAX_MODEL_DEGREE);
        model_.maxDegree = static_cast<int>(degree);
        return true;
    }
    if (isWord(key, "product_type")) {
        if (!oneWord(fields, count, &sawProductType_)) return false;
        if (!isWord(fields[1], "gravity_field")) return fail("product_type '%s': not a gravity field model", value);
        return true;
    }
    if (isWord(key, "norm")) {
        if (!oneWord(fields, count, &sawNorm_)) return false;
        if (isWord(fields[1], "unnormalized"))
            model_.normalization = Normalization::Unnormalized;
        else if (!isWord(fields[1], "fully_normalized"))
            return fail("norm '%s': expected fully_normalized or unnormalized", value);
        return true;
    }
    if (isWord(key, "errors")) {
        if (!oneWord(fields, count, &sawErrors_)) return false;
        const Field& v = fields[1];
        if (!(isWord(v, "formal") || isWord(v, "calibrated") || isWord(v, "calibrated_and_formal") || isWord(v, "no")))
            return fail("errors '%s': expected formal, calibrated, calibrated_and_formal or no", value);
        return true;
    }
    if (isWord(key, "format")) {
        if (!oneWord(fields, count, &sawFormat_)) return false;
        if (isWord(fields[1], "icgem1.0"))
            version_ = 1;
        else if (isWord(fields[1], "icgem2.0"))
            version_ = 2;
        else
            return fail("format '%s': expected icgem1.0 or icgem2.0", value);
        return true;
    }
    return true;
}

bool IcgemParser::endOfHeader() {
    if (deferredFailure_) {
        writeMessage(message_, messageSize_, "%s", deferredMessage_);
        return false;
    }
    if (!sawGm_) return fail("the header has no earth_gravity_constant (or gravity_constant)");
    if (!sawRadius_) return fail("the header has no radius");
    if (!sawMaxDegree_) return fail("the header has no max_degree");

    count_ = coefficientIndex(model_.maxDegree, model_.maxDegree) + 1;
    model_.C = static_cast<double*>(std::calloc(count_, sizeof(double)));
    model_.S = static_cast<double*>(std::calloc(count_, sizeof(double)));
    flags_ = static_cast<std::uint8_t*>(std::calloc(count_, 1));
    if (model_.C == nullptr || model_.S == nullptr || flags_ == nullptr) {
        freeArrays();
        return fail("cannot allocate %zu bytes for the coefficients of degree %d", count_ * (2 * sizeof(double) + 1),
                    model_.maxDegree);
    }
    inData_ = true;
    return true;
}

}  // namespace geoharm
