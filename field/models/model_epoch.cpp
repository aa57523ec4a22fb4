/*
 * model_epoch.cpp - dates to Julian epoch years.
 *
 * The day number is the usual count of days of the proleptic Gregorian
 * calendar in 400-year eras of 146097 days (the year taken from March,
 * so that the leap day ends it); day 0 is 2000-01-01.
 */
#include "models/model_epoch.h"

#include "machine/fixed_fp_state.h"
#include "models/decimal_number.h"
#include "models/message_text.h"

namespace geoharm {
namespace {

constexpr double J2000_YEAR = 2000.0;
constexpr double MINUTES_PER_JULIAN_YEAR = 525960.0;

/* Days from 2000-01-01 to a valid date. */
long long dayNumber(int year, int month, int day) {
    long long y = month <= 2 ? year - 1 : year;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yearOfEra = y - era * 400;
    long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 730425;  // 730425: 0000-03-01 to 2000-01-01
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

/* The value of count digits at text (all of them digits), or -1. */
int digitsValue(const char* text, int count) {
    int v = 0;
    for (int i = 0; i < count; i++) {
        if (text[i] < '0' || text[i] > '9') return -1;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool isValidDate(int year, int month, int day) {
    static const int DAYS_IN_MONTH[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    int days = DAYS_IN_MONTH[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= days;
}

void epochOfDate(int year, int month, int day, int minuteOfDay, double* epoch) {
    /* Whole minutes from J2000.0 (12:00), |minutes| < 2^33: formed in a
       double from 32-bit integers (the day number and the minutes of the
       day, each exactly a double), every step exact below 2^53.  (A
       64-bit integer's conversion would be an x87 instruction on the
       32-bit build.) */
    long long days = dayNumber(year, month, day);
    double minutes = static_cast<double>(static_cast<int>(days)) * 1440.0 + static_cast<double>(minuteOfDay - 720);
    *epoch = J2000_YEAR + minutes / MINUTES_PER_JULIAN_YEAR;
}

bool parseFileEpoch(const char* begin, const char* end, double* epoch) {
    long length = static_cast<long>(end - begin);
    if (length != 8 && length != 13) return false;
    int year = digitsValue(begin, 4), month = digitsValue(begin + 4, 2), day = digitsValue(begin + 6, 2);
    int hour = 0, minute = 0;
    if (length == 13) {
        if (begin[8] != '.') return false;
        hour = digitsValue(begin + 9, 2);
        minute = digitsValue(begin + 11, 2);
    }
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || !isValidDate(year, month, day) || hour > 23 ||
        minute > 59)
        return false;
    epochOfDate(year, month, day, hour * 60 + minute, epoch);
    return true;
}

bool parseEpoch(const char* text, double* epoch, char* message, std::size_t messageSize) {
    FixedFpState fixedState;
    if (text == nullptr) {
        writeMessage(message, messageSize, "epoch: no text given");
        return false;
    }
    const char* begin = text;
    const char* end = text;
    while (*end != '\0') end++;
    while (begin < end && isBlank(*begin)) begin++;
    while (end > begin && isBlank(end[-1])) end--;
    char quoted[QUOTED_TEXT_SIZE];
    quoteText(begin, end, quoted, sizeof quoted);

    /* yyyy-mm-dd: a '-' after four digits tells a date from a number. */
    if (end - begin >= 5 && begin[4] == '-') {
        int year = digitsValue(begin, 4), month = -1, day = -1;
        if (end - begin == 10 && begin[7] == '-') {
            month = digitsValue(begin + 5, 2);
            day = digitsValue(begin + 8, 2);
        }
        if (year < 0 || month < 0 || day < 0) {
            writeMessage(message, messageSize, "epoch '%s': not a date yyyy-mm-dd", quoted);
            return false;
        }
        if (!isValidDate(year, month, day)) {
            writeMessage(message, messageSize, "epoch '%s': no such date (yyyy-mm-dd)", quoted);
            return false;
        }
        epochOfDate(year, month, day, 0, epoch);
        return true;
    }
    double year = 0.0;
    if (parseDecimal(begin, end, &year) != NumberStatus::Ok) {
        writeMessage(message, messageSize, "epoch '%s': give a decimal year (2010.5) or a date yyyy-mm-dd", quoted);
        return false;
    }
    if (!(year >= 0.0 && year < 10000.0)) {
        writeMessage(message, messageSize, "epoch '%s': outside the years 0 to 9999", quoted);
        return false;
    }
    *epoch = year;
    return true;
}

}  // namespace geoharm
