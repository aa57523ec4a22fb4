/*
 * icgem_data_line.cpp - the data lines of an ICGEM file, after
 * end_of_head, and their terms added at the epoch.
 *
 *   gfc  n m C S [sigC sigS]                      static
 *   version 1.0:
 *   gfct n m C S [sigC sigS] t0                   static part, epoch t0
 *   trnd n m C S [sigC sigS]                      per year from t0
 *   acos n m C S [sigC sigS] P                    times cos(2 pi dt/P)
 *   asin n m C S [sigC sigS] P                    times sin(2 pi dt/P)
 *     (t0 of the gfct line of the same n, m, which comes before them)
 *   version 2.0: the same with each time-variable line's own interval:
 *   gfct n m C S [sigC sigS] t0 t1
 *   trnd n m C S [sigC sigS] t0 t1
 *   acos n m C S [sigC sigS] t0 t1 P,  asin likewise
 *     (a line counts when t0 <= t < t1)
 *
 * dt = t - t0 in Julian years, P in years.  A coefficient's value is its
 * terms summed in the order of the file's lines, each term one product
 * (C dt, C cos, C sin), each addition rounded on its own.  Sigmas are
 * checked as numbers and not kept.
 *
 * The version is the header's `format`; without one it is 1.0 unless the
 * first time-variable line has a field count that only 2.0 allows (a gfct
 * line with two epochs, a trnd line of 8 values, acos or asin of 9).
 */
#include <cstdlib>

#include "models/cycle_cos_sin.h"
#include "models/decimal_number.h"
#include "models/icgem_parser.h"
#include "models/message_text.h"
#include "models/model_epoch.h"

namespace geoharm {
namespace {

enum class LineKind { Gfc, Gfct, Trnd, Acos, Asin };

/* Values after the keyword without the sigmas (n, m, C, S and the
   epochs and period of the version); with sigmas two more. */
int valuesWithoutSigmas(LineKind kind, int version) {
    switch (kind) {
        case LineKind::Gfc:
            return 4;
        case LineKind::Gfct:
            return version == 2 ? 6 : 5;
        case LineKind::Trnd:
            return version == 2 ? 6 : 4;
        default:
            return version == 2 ? 7 : 5;
    }
}

}  // namespace

bool IcgemParser::number(const Field& field, const char* what, double* value) {
    NumberStatus status = parseDecimal(field.begin, field.end, value);
    if (status == NumberStatus::Ok) return true;
    char quoted[QUOTED_TEXT_SIZE];
    quoteText(field.begin, field.end, quoted, sizeof quoted);
    if (status == NumberStatus::OutOfRange) return fail("%s '%s' beyond the largest double", what, quoted);
    return fail("%s '%s' is not a number", what, quoted);
}

bool IcgemParser::fileEpoch(const Field& field, double* epoch) {
    if (parseFileEpoch(field.begin, field.end, epoch)) return true;
    char quoted[QUOTED_TEXT_SIZE];
    quoteText(field.begin, field.end, quoted, sizeof quoted);
    return fail("epoch '%s': expected a date yyyymmdd or yyyymmdd.hhmm", quoted);
}

bool IcgemParser::degreeAndOrder(const Field* fields, int* n, int* m) {
    long degree = 0, order = 0;
    char quoted[QUOTED_TEXT_SIZE];
    if (!parseWhole(fields[1], &degree)) {
        quoteText(fields[1].begin, fields[1].end, quoted, sizeof quoted);
        return fail("degree '%s' is not a whole number", quoted);
    }
    if (!parseWhole(fields[2], &order)) {
        quoteText(fields[2].begin, fields[2].end, quoted, sizeof quoted);
        return fail("order '%s' is not a whole number", quoted);
    }
    if (degree < 0) return fail("degree %ld is negative", degree);
    if (order < 0) return fail("order %ld is negative", order);
    if (degree > model_.maxDegree) return fail("degree %ld above max_degree %d", degree, model_.maxDegree);
    if (order > degree) return fail("order %ld above degree %ld", order, degree);
    *n = static_cast<int>(degree);
    *m = static_cast<int>(order);
    return true;
}

bool IcgemParser::dataLine(const Field* fields, int count) {
    LineKind kind;
    const Field& key = fields[0];
    if (isWord(key, "gfc"))
        kind = LineKind::Gfc;
    else if (isWord(key, "gfct"))
        kind = LineKind::Gfct;
    else if (isWord(key, "trnd"))
        kind = LineKind::Trnd;
    else if (isWord(key, "acos"))
        kind = LineKind::Acos;
    else if (isWord(key, "asin"))
        kind = LineKind::Asin;
    else {
        char quoted[QUOTED_TEXT_SIZE];
        quoteText(key.begin, key.end, quoted, sizeof quoted);
        return fail("'%s' is not a data line (gfc, gfct, trnd, acos or asin)", quoted);
    }
    anyData_ = true;
    const char* keyword = kind == LineKind::Gfc    ? "gfc"
                          : kind == LineKind::Gfct ? "gfct"
                          : kind == LineKind::Trnd ? "trnd"
                          : kind == LineKind::Acos ? "acos"
                                                   : "asin";
    int values = count - 1;
    if (kind != LineKind::Gfc) {
        if (epoch_ == nullptr)
            return fail("the model has time-variable terms (gfct, trnd, acos, asin): give the epoch argument");
        if (version_ == 0) {
            bool onlyVersion2 = kind == LineKind::Gfct ? values == 6 || values == 8
                                                       : values == valuesWithoutSigmas(kind, 2) + 2;
            version_ = onlyVersion2 ? 2 : 1;
        }
    }
    int plain = valuesWithoutSigmas(kind, version_);
    if (values != plain && values != plain + 2)
        return fail("%s: %d or %d values expected (format %s), found %s%d", keyword, plain, plain + 2,
                    version_ == 2 ? "icgem2.0" : "icgem1.0", count > MAX_FIELDS ? "more than " : "",
                    count > MAX_FIELDS ? MAX_FIELDS - 1 : values);
    bool sigmas = values == plain + 2;

    int n = 0, m = 0;
    double c = 0.0, s = 0.0, sigma = 0.0;
    if (!degreeAndOrder(fields, &n, &m) || !number(fields[3], "C", &c) || !number(fields[4], "S", &s)) return false;
    if (sigmas && (!number(fields[5], "sigma C", &sigma) || !number(fields[6], "sigma S", &sigma))) return false;
    const Field* rest = fields + (sigmas ? 7 : 5);
    std::size_t index = coefficientIndex(n, m);
    std::uint8_t& flags = flags_[index];

    if (kind == LineKind::Gfc) {
        if ((flags & STATIC_PART) != 0) return fail("degree %d, order %d given twice", n, m);
        flags |= STATIC_PART;
        addTerm(index, c, s);
        return true;
    }

    /* The epoch or interval of the term, and whether it counts. */
    double t = *epoch_;
    double t0 = 0.0, t1 = 0.0;
    bool holds = true;
    if (version_ == 2) {
        if (!fileEpoch(rest[0], &t0) || !fileEpoch(rest[1], &t1)) return false;
        if (!(t0 < t1)) return fail("%s: the interval ends before it begins", keyword);
        holds = t0 <= t && t < t1;
        rest += 2;
    } else if (kind == LineKind::Gfct) {
        if (!fileEpoch(rest[0], &t0)) return false;
        if (referenceEpoch_ == nullptr) {
            referenceEpoch_ = static_cast<double*>(std::calloc(count_, sizeof(double)));
            if (referenceEpoch_ == nullptr)
                return fail("cannot allocate %zu bytes for the epochs of the gfct lines", count_ * sizeof(double));
        }
        if ((flags & GFCT_LINE) == 0) referenceEpoch_[index] = t0;
    } else {
        if ((flags & GFCT_LINE) == 0)
            return fail("%s of degree %d, order %d without a gfct line before it (whose epoch is its reference)",
                        keyword, n, m);
        t0 = referenceEpoch_[index];
    }
    double period = 0.0;
    if (kind == LineKind::Acos || kind == LineKind::Asin) {
        if (!number(rest[0], "period", &period)) return false;
        if (!(period > 0.0)) return fail("%s: the period must be positive", keyword);
    }

    if (kind == LineKind::Gfct) {
        flags |= GFCT_LINE;
        if (!holds) return true;
        if ((flags & STATIC_PART) != 0) return fail("degree %d, order %d given twice", n, m);
        flags |= STATIC_PART;
        addTerm(index, c, s);
        return true;
    }
    if (!holds) return true;
    double dt = t - t0;
    if (kind == LineKind::Trnd) {
        if ((flags & TREND) != 0) return fail("trnd of degree %d, order %d given twice", n, m);
        flags |= TREND;
        addTerm(index, c * dt, s * dt);
    } else {
        double phase = dt / period;
        if (!(phase - phase == 0.0)) return fail("%s: the period is too short for the epoch", keyword);
        double cosine = 0.0, sine = 0.0;
        cycleCosSin(phase, &cosine, &sine);
        double factor = kind == LineKind::Acos ? cosine : sine;
        addTerm(index, c * factor, s * factor);
    }
    flags |= TIME_VARIABLE;
    return true;
}

}  // namespace geoharm
