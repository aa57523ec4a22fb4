/*
 * test_model_epoch.cpp - epochs as Julian epoch years: the day counts
 * (against Python's datetime), the file's and the user's forms, refusals.
 */
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bits.h"
#include "models/model_epoch.h"

using geoharm::epochOfDate;
using geoharm::parseEpoch;
using geoharm::parseFileEpoch;

namespace {

double fileEpoch(const std::string& text) {
    double epoch = -1.0;
    EXPECT_TRUE(parseFileEpoch(text.data(), text.data() + text.size(), &epoch)) << text;
    return epoch;
}

TEST(ModelEpoch, NoonOfJ2000AndWholeCenturies) {
    EXPECT_SAME_BITS(fileEpoch("20000101.1200"), 2000.0);
    /* 2000-01-01 to 2100-01-01: 36525 days (2000 leap, 2100 not in it). */
    EXPECT_SAME_BITS(fileEpoch("21000101.1200"), 2100.0);
    EXPECT_SAME_BITS(fileEpoch("19000101.1200"), 2000.0 - 36524.0 / 365.25);
}

/* Days from 2000-01-01, from Python's datetime.date subtraction. */
TEST(ModelEpoch, DayCountsOfTheGregorianCalendar) {
    const struct {
        int year, month, day;
        long long days;
    } cases[] = {
        {1, 1, 1, -730119},   {1582, 10, 15, -152384}, {1600, 2, 29, -146038}, {1899, 12, 31, -36525},
        {1900, 3, 1, -36465}, {1970, 1, 1, -10957},    {2000, 2, 29, 59},       {2000, 3, 1, 60},
        {2004, 12, 31, 1826}, {2100, 3, 1, 36584},     {2400, 2, 29, 146156},   {9999, 12, 31, 2921939},
    };
    for (const auto& d : cases) {
        double epoch = 0.0;
        epochOfDate(d.year, d.month, d.day, 720, &epoch);
        double days = (epoch - 2000.0) * 365.25;
        EXPECT_EQ(std::llround(days), d.days) << d.year << "-" << d.month << "-" << d.day;
    }
}

TEST(ModelEpoch, UsersGiveDatesOrDecimalYears) {
    char message[200];
    const struct {
        const char* user;
        const char* file;  // the same instant as a file writes it, or a decimal year
        double year;
    } cases[] = {
        {"2010-01-01", "20100101", 0.0}, {"2012-02-29", "20120229.0000", 0.0}, {"2000-01-01", "20000101", 0.0},
        {"2010.5", nullptr, 2010.5},     {" 2010.5\t", nullptr, 2010.5},         {"2.0105e3", nullptr, 2010.5},
        {"0", nullptr, 0.0},
    };
    for (const auto& c : cases) {
        double epoch = -1.0;
        ASSERT_TRUE(parseEpoch(c.user, &epoch, message, sizeof message)) << c.user << ": " << message;
        EXPECT_SAME_BITS(epoch, c.file != nullptr ? fileEpoch(c.file) : c.year) << c.user;
    }
    double epoch = 0.0;
    ASSERT_TRUE(parseEpoch("2000-01-01", &epoch, message, sizeof message));
    EXPECT_SAME_BITS(epoch, 2000.0 - 0.5 / 365.25);  // 1999.99863...
}

TEST(ModelEpoch, RefusedUserEpochs) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"2010-13-01", "epoch '2010-13-01': no such date (yyyy-mm-dd)"},
        {"2010-02-29", "epoch '2010-02-29': no such date (yyyy-mm-dd)"},
        {"2010-1-1", "epoch '2010-1-1': not a date yyyy-mm-dd"},
        {"2010-01-01T12", "epoch '2010-01-01T12': not a date yyyy-mm-dd"},
        {"abc", "epoch 'abc': give a decimal year (2010.5) or a date yyyy-mm-dd"},
        {"", "epoch '': give a decimal year (2010.5) or a date yyyy-mm-dd"},
        {"-5", "epoch '-5': outside the years 0 to 9999"},
        {"20100101", "epoch '20100101': outside the years 0 to 9999"},
        {"1e400", "epoch '1e400': give a decimal year (2010.5) or a date yyyy-mm-dd"},
    };
    for (const auto& c : cases) {
        char message[200] = "";
        double epoch = 7.0;
        EXPECT_FALSE(parseEpoch(c.text, &epoch, message, sizeof message)) << c.text;
        EXPECT_STREQ(message, c.message);
        EXPECT_EQ(epoch, 7.0);
    }
    char message[200];
    EXPECT_FALSE(parseEpoch(nullptr, nullptr, message, sizeof message));
    EXPECT_FALSE(parseEpoch("x", nullptr, nullptr, 0));
}

TEST(ModelEpoch, FileEpochForms) {
    EXPECT_GT(fileEpoch("20100101.2359"), fileEpoch("20100101.2358"));
    EXPECT_LT(fileEpoch("20100101.2359"), fileEpoch("20100102"));
    const char* refused[] = {"2010010",       "20100101.",     "20100101.12",  "20100101.2400", "20100101.1260",
                             "20100230",      "2010-01-01",    "+2010010",     "20100101.12000", "2010010a",
                             "20100001",      "20101301",      "201001010000", "20100101 1200"};
    for (const char* text : refused) {
        double epoch = 7.0;
        EXPECT_FALSE(parseFileEpoch(text, text + std::char_traits<char>::length(text), &epoch)) << text;
        EXPECT_EQ(epoch, 7.0);
    }
}

}  // namespace
