/*
 * test_icgem_reader.cpp - ICGEM model files: the hand-written files of
 * tests/data/models (every accepted quirk), time-variable terms against
 * hand computations (epochs chosen so that cos and sin are exact), every
 * refusal with its message, files read in chunks against the same text in
 * memory, UTF-8 paths.
 */
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bits.h"
#include "models/icgem_reader.h"
#include "models/model_data.h"

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#include <sys/resource.h>
#define GEOHARM_CAN_LIMIT_MEMORY 1
#endif

using namespace geoharm;

namespace {

const std::string DATA = GEOHARM_MODEL_DATA;

/* A model read, released at the end of the test. */
struct Read {
    ModelFileContents model{};
    char message[600] = "";
    bool ok = false;
    ~Read() { releaseModelFileContents(&model); }
    double C(int n, int m) const { return model.C[coefficientIndex(n, m)]; }
    double S(int n, int m) const { return model.S[coefficientIndex(n, m)]; }
};

void readFile(Read& r, const std::string& path, const double* epoch = nullptr) {
    r.ok = readIcgemFile(path.c_str(), epoch, &r.model, r.message, sizeof r.message);
}

void readText(Read& r, const std::string& text, const double* epoch = nullptr) {
    r.ok = readIcgemText(text.data(), text.size(), "m", epoch, &r.model, r.message, sizeof r.message);
}

double fileEpoch(const char* text) {
    double epoch = 0.0;
    EXPECT_TRUE(parseFileEpoch(text, text + std::char_traits<char>::length(text), &epoch));
    return epoch;
}

TEST(IcgemReader, FormatOneWithSigmasAndFortranExponents) {
    Read r;
    readFile(r, DATA + "/v1_sigmas_fortran.gfc");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_STREQ(r.model.name, "TEST-V1-SIGMAS");
    EXPECT_STREQ(r.model.tideSystem, "tide_free");
    EXPECT_SAME_BITS(r.model.gm, 0.3986004415e15);
    EXPECT_SAME_BITS(r.model.radius, 0.63781363e7);
    EXPECT_EQ(r.model.maxDegree, 4);
    EXPECT_EQ(r.model.normalization, Normalization::FullyNormalized);
    EXPECT_SAME_BITS(r.C(2, 0), -0.484165143790815e-03);
    EXPECT_SAME_BITS(r.S(2, 2), -0.140027370385934e-05);
    EXPECT_SAME_BITS(r.C(3, 0), 0.957161207093473e-06);
    EXPECT_SAME_BITS(r.C(4, 0), .539965866638991e-06);
    EXPECT_SAME_BITS(r.S(4, 4), .5e-7);
    EXPECT_SAME_BITS(r.C(3, 1), 0.0);  // not in the file
}

TEST(IcgemReader, UnnormalisedCrLfKeysInAnyOrderNoBeginOfHead) {
    Read r;
    readFile(r, DATA + "/unnormalized_crlf.gfc");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.model.normalization, Normalization::Unnormalized);
    EXPECT_STREQ(r.model.name, "A model   with spaces");
    EXPECT_STREQ(r.model.tideSystem, "");
    EXPECT_SAME_BITS(r.model.gm, 3.986005e14);
    EXPECT_SAME_BITS(r.model.radius, 6378137.0);
    EXPECT_SAME_BITS(r.C(2, 0), -1.08263e-3);
    EXPECT_SAME_BITS(r.S(2, 2), -9.03e-7);
    EXPECT_SAME_BITS(r.C(0, 0), 1.0);  // the last line, without '\n'
}

/* Format 2.0: each time-variable line counts where its interval [t0, t1)
   holds the epoch.  At 2000-01-01 + 0.25 y the period of 1 y is a quarter
   turn (cos 0, sin 1); at 2010-01-01 + 0.25 y the period of 0.5 y half a
   turn (cos -1, sin 0); all values are powers of two, so the sums are
   exact. */
TEST(IcgemReader, FormatTwoTermsOfTheIntervalHoldingTheEpoch) {
    const double t2000 = fileEpoch("20000101"), t2010 = fileEpoch("20100101");
    const struct {
        double epoch, c20;
    } cases[] = {
        {t2000 + 0.25, -0x1p-11 + 0x1p-22 + 0x1p-26},
        {t2010 + 0.25, -0x1p-11 + 0x1p-21 - 0x1p-24},
        {t2010, -0x1p-11 + 0x1p-24},  // t1 of the first interval is t0 of the second
    };
    for (const auto& c : cases) {
        Read r;
        readFile(r, DATA + "/v2_two_intervals.gfc", &c.epoch);
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_SAME_BITS(r.C(2, 0), c.c20) << c.epoch;
        EXPECT_SAME_BITS(r.S(2, 0), 0.0);
        EXPECT_SAME_BITS(r.C(3, 1), 2.03e-6);
    }
    Read r;
    const double epoch = t2000 + 0.25;
    readFile(r, DATA + "/v2_two_intervals.gfc", &epoch);
    EXPECT_SAME_BITS(r.C(2, 2), 2.5e-6 + 1e-9);  // period 0.25 y: a whole turn
    EXPECT_SAME_BITS(r.S(2, 2), -1.25e-6 + 2e-9);
    for (double outside : {1999.5, 2020.0}) {
        Read late;
        readFile(late, DATA + "/v2_two_intervals.gfc", &outside);
        EXPECT_FALSE(late.ok);
        char expected[300];
        std::snprintf(expected, sizeof expected, "%s/v2_two_intervals.gfc: no gfct line of degree 2, order 0 holds the epoch %.17g",
                      DATA.c_str(), outside);
        EXPECT_STREQ(late.message, expected);
    }
}

/* Format 1.0: trnd, acos and asin from the epoch of their gfct line;
   half a year after it, the period of 1 y is half a turn and that of
   0.5 y a whole one. */
TEST(IcgemReader, FormatOneTermsFromTheEpochOfTheirGfct) {
    const double epoch = fileEpoch("20050101.1200") + 0.5;
    Read r;
    readFile(r, DATA + "/v1_time_variable.gfc", &epoch);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_SAME_BITS(r.C(2, 0), -0x1p-11 + 0x1p-21 - 0x1p-25);
    EXPECT_SAME_BITS(r.S(2, 0), -0x1p-21);
    EXPECT_SAME_BITS(r.C(2, 1), 1e-10);
    EXPECT_SAME_BITS(r.S(2, 1), 2e-10);
    Read none;
    readFile(none, DATA + "/v1_time_variable.gfc");
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(std::string(none.message), DATA + "/v1_time_variable.gfc:10: the model has time-variable terms "
                                                "(gfct, trnd, acos, asin): give the epoch argument");
}

const std::string HEAD = "begin_of_head\nearth_gravity_constant 3.986004415e14\nradius 6378136.3\nmax_degree 3\n"
                         "end_of_head\n";
const std::string HEAD2 = "begin_of_head\nformat icgem2.0" + HEAD.substr(13);

TEST(IcgemReader, AcceptedQuirks) {
    const double epoch = 2005.0;
    const struct {
        std::string text;
        double c20;
    } cases[] = {
        {"\xEF\xBB\xBF" + HEAD + "\n\t gfc\t2 0 -0.0 0 \r\n\n", -0.0},  // mark, blanks, -0 kept
        {HEAD + "gfc 2 0 1 0", 1.0},                                    // no '\n' at the end
        {HEAD + "gfct 2 0 1 0 20000101 20100101\n", 1.0},               // 2.0 told by the epochs
        {HEAD2 + "gfct 2 0 .5 0 20000101 99991231\n", 0.5},
        {"begin_of_head\nradius 1\ngravity_constant 1\nmax_degree 3\nnorm fully_normalized\nkey L M C S\n"
         "generating_institute a b c d e f g h i j k l m n o p\nend_of_head =====\ngfc 2 0 3 0\n",
         3.0},
    };
    for (const auto& c : cases) {
        Read r;
        readText(r, c.text, &epoch);
        ASSERT_TRUE(r.ok) << r.message << "\n" << c.text;
        EXPECT_SAME_BITS(r.C(2, 0), c.c20) << c.text;
    }
}

/* A name longer than a model keeps (127 bytes), from a file and from
   tables: kept up to the last whole character of its UTF-8 that fits. */
TEST(IcgemReader, LongNamesAreCutAtACharacterBoundary) {
    const auto times = [](const std::string& text, int k) {
        std::string all;
        while (k-- > 0) all += text;
        return all;
    };
    const std::string e = "\xC3\xA9", smile = "\xF0\x9F\x98\x80"; /* two and four bytes */
    const struct {
        std::string given, kept;
    } cases[] = {
        {std::string(127, 'a'), std::string(127, 'a')},
        {std::string(200, 'a'), std::string(127, 'a')},
        {times(e, 64), times(e, 63)},                          /* the 64th is cut after its first byte */
        {"a" + times(e, 64), "a" + times(e, 63)},              /* 127 bytes exactly */
        {"aa" + times(smile, 32), "aa" + times(smile, 31)},    /* cut after the 32nd's first byte */
        {std::string(130, '\xFF'), std::string(127, '\xFF')}, /* not UTF-8: bytes */
    };
    const double one = 1.0, zero = 0.0;
    const CoefficientTable C{&one, 1, 1, false, true}, S{&zero, 1, 1, false, true};
    for (const auto& c : cases) {
        Read r;
        readText(r, "begin_of_head\nmodelname " + c.given + HEAD.substr(13) + "gfc 2 0 1 0\n");
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(std::string(r.model.name), c.kept) << c.given.size();
        char why[256];
        const ModelData* md =
            makeModelData({4e14, 6e6, 0, Normalization::FullyNormalized, c.given.c_str(), nullptr, C, S}, nullptr, why,
                          sizeof why);
        ASSERT_NE(md, nullptr) << why;
        EXPECT_EQ(std::string(md->name), c.kept) << c.given.size();
        releaseModelData(md);
    }
}

TEST(IcgemReader, RefusalsNameTheLineAndWhatIsWrong) {
    const double epoch = 2005.0, late = 2100.0;
    const std::string longLine(70000, 'x');
    const struct {
        std::string text;
        const double* epoch;
        const char* message;
    } cases[] = {
        {"", nullptr, "m: the file is empty"},
        {"radius 1\nmax_degree 2\n", nullptr, "m:2: no end_of_head: the header does not end"},
        {"radius 1\nmax_degree 2\nend_of_head\n", nullptr,
         "m:3: the header has no earth_gravity_constant (or gravity_constant)"},
        {"gravity_constant 1\nmax_degree 2\nend_of_head\n", nullptr, "m:3: the header has no radius"},
        {"gravity_constant 1\nradius 1\nend_of_head\n", nullptr, "m:3: the header has no max_degree"},
        {"begin_of_head\nmax_degree 2701\n", nullptr, "m:2: max_degree 2701 above the highest degree supported, 2700"},
        {"begin_of_head\nmax_degree -1\n", nullptr, "m:2: max_degree -1 is negative"},
        {"begin_of_head\nmax_degree 2.5\n", nullptr, "m:2: max_degree '2.5' is not a whole number"},
        {"begin_of_head\nradius abc\n", nullptr, "m:2: radius 'abc' is not a number"},
        {"begin_of_head\nradius 1e999\n", nullptr, "m:2: radius '1e999' beyond the largest double"},
        {"begin_of_head\nradius -6378136.3\n", nullptr, "m:2: radius must be positive"},
        {"begin_of_head\nradius\n", nullptr, "m:2: radius: one value expected, found none"},
        {"begin_of_head\nradius 1 m\n", nullptr, "m:2: radius: one value expected, found more"},
        {"begin_of_head\nnorm geodesy\n", nullptr, "m:2: norm 'geodesy': expected fully_normalized or unnormalized"},
        {"begin_of_head\nerrors some\n", nullptr,
         "m:2: errors 'some': expected formal, calibrated, calibrated_and_formal or no"},
        {"begin_of_head\nformat icgem3.0\n", nullptr, "m:2: format 'icgem3.0': expected icgem1.0 or icgem2.0"},
        {"begin_of_head\nproduct_type topography\n", nullptr,
         "m:2: product_type 'topography': not a gravity field model"},
        {"begin_of_head\nearth_gravity_constant 1\ngravity_constant 1\n", nullptr,
         "m:3: the gravity constant given twice (earth_gravity_constant, gravity_constant)"},
        {"begin_of_head\nmax_degree 1\nmax_degree 1\n", nullptr, "m:3: max_degree given twice"},
        {"begin_of_head\nbegin_of_head\n", nullptr, "m:2: begin_of_head given twice"},
        {"radius abc\ngravity_constant 1\nradius 1\nmax_degree 1\nend_of_head\ngfc 0 0 1 0\n", nullptr,
         "m:1: radius 'abc' is not a number"},  // no begin_of_head: not free text
        {HEAD, nullptr, "m:5: no coefficients after end_of_head"},
        {HEAD + "gfc 2 0 1.0\n", nullptr, "m:6: gfc: 4 or 6 values expected (format icgem1.0), found 3"},
        {HEAD + "gfc 2 0 1 0 1e-12\n", nullptr, "m:6: gfc: 4 or 6 values expected (format icgem1.0), found 5"},
        {HEAD + "gfc 2 0 1 0 0 0 0 0 0 0 0 0 0 0\n", nullptr,
         "m:6: gfc: 4 or 6 values expected (format icgem1.0), found more than 11"},
        {HEAD + "gfc 4 0 1 0\n", nullptr, "m:6: degree 4 above max_degree 3"},
        {HEAD + "gfc 2 3 1 0\n", nullptr, "m:6: order 3 above degree 2"},
        {HEAD + "gfc -1 0 1 0\n", nullptr, "m:6: degree -1 is negative"},
        {HEAD + "gfc 2 -1 1 0\n", nullptr, "m:6: order -1 is negative"},
        {HEAD + "gfc 2.0 0 1 0\n", nullptr, "m:6: degree '2.0' is not a whole number"},
        {HEAD + "gfc 2 x 1 0\n", nullptr, "m:6: order 'x' is not a whole number"},
        {HEAD + "gfc 2 0 1.0.0 0\n", nullptr, "m:6: C '1.0.0' is not a number"},
        {HEAD + "gfc 2 0 1 nan\n", nullptr, "m:6: S 'nan' is not a number"},
        {HEAD + "gfc 2 0 1e400 0\n", nullptr, "m:6: C '1e400' beyond the largest double"},
        {HEAD + "gfc 2 0 1 0 x 0\n", nullptr, "m:6: sigma C 'x' is not a number"},
        {HEAD + std::string("gfc 2 0 1\0 0\n", 13), nullptr, "m:6: C '1\\x00' is not a number"},
        {HEAD + "gfc 2 0 1 0\ngfc 2 0 1 0\n", nullptr, "m:7: degree 2, order 0 given twice"},
        {HEAD + "gfc 2 0 1 0\ngfct 2 0 1 0 20000101\n", &epoch, "m:7: degree 2, order 0 given twice"},
        {HEAD + "end_of_file\n", nullptr, "m:6: 'end_of_file' is not a data line (gfc, gfct, trnd, acos or asin)"},
        {HEAD + "gfct 2 0 1 0 20000101\n", nullptr,
         "m:6: the model has time-variable terms (gfct, trnd, acos, asin): give the epoch argument"},
        {HEAD + "trnd 2 0 1 0\n", &epoch,
         "m:6: trnd of degree 2, order 0 without a gfct line before it (whose epoch is its reference)"},
        {HEAD + "gfct 2 0 1 0 20000101\ntrnd 2 0 1 0\ntrnd 2 0 1 0\n", &epoch,
         "m:8: trnd of degree 2, order 0 given twice"},
        {HEAD2 + "gfct 2 0 1 0 20100101 20000101\n", &epoch, "m:7: gfct: the interval ends before it begins"},
        {HEAD + "gfct 2 0 1 0 2000011\n", &epoch, "m:6: epoch '2000011': expected a date yyyymmdd or yyyymmdd.hhmm"},
        {HEAD + "gfct 2 0 1 0 20000101\nacos 2 0 1 0 0\n", &epoch, "m:7: acos: the period must be positive"},
        {HEAD2 + "asin 2 0 1 0 20000101 20100101 1e-320\n", &epoch, "m:7: asin: the period is too short for the epoch"},
        {HEAD + "gfct 2 0 1 0 20000101 20100101\ntrnd 2 0 1 0 20000101\n", &epoch,
         "m:7: trnd: 6 or 8 values expected (format icgem2.0), found 5"},
        {HEAD + "gfct 2 0 1 0 20000101\ntrnd 2 0 1e308 0\n", &late,
         "m: the terms of degree 2, order 0 add up to a value beyond the doubles at the epoch 2100"},
        {HEAD + longLine + "\n", nullptr, "m:6: line longer than 65536 bytes"},
    };
    for (const auto& c : cases) {
        Read r;
        readText(r, c.text, c.epoch);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_STREQ(r.message, c.message);
        EXPECT_TRUE(r.model.C == nullptr && r.model.S == nullptr && r.model.maxDegree == 0 && r.model.name[0] == 0);
    }
}

std::filesystem::path temporaryFolder() {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "geoharm_icgem_reader_test";
    std::filesystem::create_directories(folder);
    return folder;
}

/* A degree-250 model of 2.6 MB: the file reader's chunks of 1 MiB end
   inside lines. */
std::string largeModelText() {
    std::string text = HEAD;
    text.replace(text.find("max_degree 3"), 12, "max_degree 250");
    char line[160];
    for (int n = 0; n <= 250; n++)
        for (int m = 0; m <= n; m++) {
            std::snprintf(line, sizeof line, "gfc %5d %5d %.15E %.15E %.4E %.4E\n", n, m, 1.0 / (n * 1000 + m + 7),
                          -1.0 / (m * 777 + n + 3), 1e-12, 2e-12);
            text += line;
        }
    return text;
}

TEST(IcgemReader, FilesInChunksAsTextInMemoryAndUtf8Paths) {
    const std::string text = largeModelText();
    const std::filesystem::path path = temporaryFolder() / std::filesystem::u8path("mod\xC3\xA8le_\xCE\xB3.gfc");
    std::ofstream(path, std::ios::binary) << text;
    Read fromFile, fromText;
    readFile(fromFile, path.u8string());
    readText(fromText, text);
    ASSERT_TRUE(fromFile.ok) << fromFile.message;
    ASSERT_TRUE(fromText.ok) << fromText.message;
    for (std::size_t i = 0; i < coefficientIndex(250, 250) + 1; i++) {
        ASSERT_SAME_BITS(fromFile.model.C[i], fromText.model.C[i]);
        ASSERT_SAME_BITS(fromFile.model.S[i], fromText.model.S[i]);
    }
    EXPECT_SAME_BITS(fromFile.C(250, 250), 1.0 / (250 * 1000 + 250 + 7));

    /* A line too long, in the second chunk. */
    std::ofstream(path, std::ios::binary) << text << std::string(70000, '7') << "\n";
    Read tooLong;
    readFile(tooLong, path.u8string());
    EXPECT_EQ(std::string(tooLong.message), path.u8string() + ":31632: line longer than 65536 bytes");
    std::filesystem::remove(path);

    Read missing;
    readFile(missing, DATA + "/no such file.gfc");
    EXPECT_EQ(std::string(missing.message), DATA + "/no such file.gfc: cannot open it: No such file or directory");
}

/* Memory refused: the process may not grow by the 58 MB of a model of the
   highest degree (Linux, not under AddressSanitizer, whose shadow memory
   a limit would break). */
TEST(IcgemReader, MemoryThatCannotBeHadIsARefusal) {
#ifndef GEOHARM_CAN_LIMIT_MEMORY
    GTEST_SKIP() << "address-space limits on Linux without AddressSanitizer only";
#else
    const std::string text = "gravity_constant 1\nradius 1\nmax_degree 2700\nend_of_head\ngfc 0 0 1 0\n";
    EXPECT_EXIT(
        {
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            std::FILE* status = std::fopen("/proc/self/statm", "r");
            unsigned long pages = 0;
            if (status == nullptr || std::fscanf(status, "%lu", &pages) != 1) std::_Exit(2);
            limit.rlim_cur = pages * 4096ul + (40ul << 20);
            setrlimit(RLIMIT_AS, &limit);
            Read r;
            readText(r, text);
            std::fputs(r.message, stderr);
            std::_Exit(r.ok ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "m:4: cannot allocate 62033867 bytes for the coefficients of degree 2700");
#endif
}

}  // namespace
