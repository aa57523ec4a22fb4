// The many-point evaluation against the single-point path, bit for bit
// (NaN results included): each lane routine (SSE2, AVX2, AVX-512F, the
// latter two where the processor runs them) called directly, on the
// committed identity records (non-finite and extreme positions included),
// on every count from 0 to a few hundred (every remainder of every
// register width), on random positions; the same bits on 1, 2 and several
// threads; the entry point's floating-point state; the thread-count rule;
// the parts of a call all run, on the caller's thread when no thread can
// be started.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <xmmintrin.h>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "bits.h"
#include "machine/cpu_features.h"
#include "machine/routine_table.h"
#include "machine/settings.h"
#include "many/batch_runner.h"
#include "point/evaluate_acceleration.h"
#include "many/evaluate_acceleration_many.h"
#include "many/many_point_routines.h"
#include "record_io.h"
#include "many/worker_threads.h"

using geoharm::SimdLevel;

namespace {

/* Positions in structure-of-arrays form, as the entry point takes them. */
struct Points {
    std::vector<double> x, y, z;
    void add(double px, double py, double pz) {
        x.push_back(px);
        y.push_back(py);
        z.push_back(pz);
    }
    std::size_t size() const { return x.size(); }
};

/* Results of one call; `guard` doubles past the end of each output array
   must keep their bits (nothing is written beyond count). */
constexpr std::size_t GUARD = 9;
const double GUARD_VALUE = -1234.5;

struct Results {
    std::vector<double> ax, ay, az;
    explicit Results(std::size_t n) : ax(n + GUARD, GUARD_VALUE), ay(ax), az(ax) {}
};

/* A lane routine under test, by name. */
struct Routine {
    const char* name;
    SimdLevel level;
};

void PrintTo(const Routine& routine, std::ostream* os) { *os << routine.name; }

const Routine ROUTINES[] = {
    {"sse2", SimdLevel::SSE2},
    {"avx2", SimdLevel::AVX2},
    {"avx2_fma", SimdLevel::AVX2_FMA},
    {"avx512f", SimdLevel::AVX512F},
    {"avx512f_fma", SimdLevel::AVX512F_FMA},
};

/* Every point of `p` through `routine` on `threads` threads, compared with
   evaluateAcceleration point by point; returns the number of differing
   components and describes the first few in `report`. */
long compareWithSinglePoint(const Routine& routine, int threads, const Points& p, int n, int m,
                            std::string& report) {
    const std::size_t count = p.size();
    Results r(count);
    geoharm::evaluateAccelerationManyWith(*geoharm::levelRoutines(routine.level), threads, count, p.x.data(), p.y.data(), p.z.data(),
                                          static_cast<std::int8_t>(n), static_cast<std::int8_t>(m), r.ax.data(),
                                          r.ay.data(), r.az.data());
    long bad = 0;
    for (std::size_t k = 0; k < count + GUARD; k++) {
        double want[3] = {GUARD_VALUE, GUARD_VALUE, GUARD_VALUE};
        if (k < count)
            geoharm::evaluateAcceleration(
                {p.x[k], p.y[k], p.z[k], static_cast<std::int8_t>(n), static_cast<std::int8_t>(m)}, want);
        const double got[3] = {r.ax[k], r.ay[k], r.az[k]};
        for (int i = 0; i < 3; i++) {
            if (geoharm_test::bitsOf(got[i]) == geoharm_test::bitsOf(want[i])) continue;
            if (bad++ < 5) {
                char at[200];
                std::snprintf(at, sizeof at, "%s, %d threads, K=%zu, point %zu (%.17g, %.17g, %.17g) N=%d M=%d",
                              routine.name, threads, count, k, k < count ? p.x[k] : 0.0,
                              k < count ? p.y[k] : 0.0, k < count ? p.z[k] : 0.0, n, m);
                report += std::string(at) + " component " + std::to_string(i) + ": many " +
                          geoharm_test::describe(got[i]) + ", single " + geoharm_test::describe(want[i]) + "\n";
            }
        }
    }
    return bad;
}

/* The committed identity records, grouped by their N and M. */
std::map<std::pair<int, int>, Points> identityRecords() {
    std::ifstream file(GEOHARM_IDENTITY_RECORDS);
    std::map<std::pair<int, int>, Points> groups;
    std::string line, why;
    while (std::getline(file, line)) {
        geoharm::FieldInput in{};
        if (geoharm::parseRecord(line, in, why) == geoharm::RecordKind::Record)
            groups[{in.n, in.m}].add(in.x, in.y, in.z);
    }
    return groups;
}

/* Random positions: directions uniform, 6,400..42,000 km, then points
   whose coordinates span the exponent range, with special values mixed in
   at random places. */
Points randomPoints(std::size_t count, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> dir(0.0, 1.0);
    std::uniform_real_distribution<double> radius(6.4e6, 4.2e7);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-1080, 1030);
    std::uniform_int_distribution<int> kind(0, 19);
    const double special[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, 5e-324, -DBL_MAX, 1e200, 1e-170};
    std::uniform_int_distribution<int> pickSpecial(0, sizeof special / sizeof special[0] - 1);
    Points p;
    for (std::size_t i = 0; i < count; i++) {
        const int k = kind(rng);
        if (k < 14) {
            const double u[3] = {dir(rng), dir(rng), dir(rng)};
            const double s = radius(rng) / std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
            p.add(u[0] * s, u[1] * s, u[2] * s);
        } else if (k < 18) {
            p.add(std::ldexp(mantissa(rng), exponent(rng)), std::ldexp(mantissa(rng), exponent(rng)),
                  std::ldexp(mantissa(rng), exponent(rng)));
        } else {
            p.add(special[pickSpecial(rng)], 7.0e6 * mantissa(rng), special[pickSpecial(rng)]);
        }
    }
    return p;
}

/* Limits that reach every path: full and partial orders, the lowest
   degrees, the central term alone, values clamped to the model. */
const std::pair<int, int> LIMITS[] = {{10, 10}, {10, 3}, {10, 0}, {7, 9}, {4, 4}, {4, 2}, {2, 2}, {2, 0},
                                      {1, 1}, {1, 0}, {0, 0}, {-1, 5}, {5, -1}, {12, 12}, {127, -128}, {100, 11}};

class ManyPoints : public ::testing::TestWithParam<Routine> {
  protected:
    void SetUp() override {
        if (geoharm::levelRoutines(GetParam().level) == nullptr)
            GTEST_SKIP() << "this processor does not run the " << GetParam().name << " routine";
    }
};

}  // namespace

TEST_P(ManyPoints, IdentityRecordsGiveTheSinglePointBits) {
    const auto groups = identityRecords();
    ASSERT_GT(groups.size(), 20u) << "identity records not read from " << GEOHARM_IDENTITY_RECORDS;
    std::string report;
    long bad = 0;
    /* Each record with its own N and M, and every record's position with
       each of the limits above. */
    Points all;
    for (const auto& g : groups) {
        bad += compareWithSinglePoint(GetParam(), 1, g.second, g.first.first, g.first.second, report);
        for (std::size_t k = 0; k < g.second.size(); k++) all.add(g.second.x[k], g.second.y[k], g.second.z[k]);
    }
    for (const auto& l : LIMITS) bad += compareWithSinglePoint(GetParam(), 1, all, l.first, l.second, report);
    EXPECT_EQ(bad, 0) << report;
}

TEST_P(ManyPoints, EveryCountUpToAFewHundred) {
    /* 0..300 points: every remainder of 2, 4 and 8 lanes, each count a
       fresh set (special values among them), nothing written past the end. */
    std::string report;
    long bad = 0;
    for (std::size_t count = 0; count <= 300; count++) {
        const Points p = randomPoints(count, 1000 + count);
        for (const auto& l : {std::make_pair(10, 10), std::make_pair(6, 2), std::make_pair(0, 0)})
            bad += compareWithSinglePoint(GetParam(), 1, p, l.first, l.second, report);
    }
    EXPECT_EQ(bad, 0) << report;
}

TEST_P(ManyPoints, RandomPositionsAtEveryLimit) {
    const Points p = randomPoints(2000, 77);
    std::string report;
    long bad = 0;
    for (const auto& l : LIMITS) bad += compareWithSinglePoint(GetParam(), 1, p, l.first, l.second, report);
    for (int n = 1; n <= 10; n++)
        for (int m = 0; m <= 10; m++) bad += compareWithSinglePoint(GetParam(), 1, randomPoints(61, n * 16 + m), n, m, report);
    EXPECT_EQ(bad, 0) << report;
}

TEST_P(ManyPoints, SameBitsOnAnyNumberOfThreads) {
    /* Counts that split unevenly; more threads than groups of points; the
       most threads a call starts, and more than that (capped). */
    std::string report;
    long bad = 0;
    for (std::size_t count : {1u, 13u, 100u, 20011u}) {
        const Points p = randomPoints(count, 5 + count);
        for (int threads : {1, 2, 3, 7, geoharm::MAX_WORKER_THREADS, geoharm::MAX_WORKER_THREADS + 5})
            bad += compareWithSinglePoint(GetParam(), threads, p, 10, 10, report);
    }
    EXPECT_EQ(bad, 0) << report;
}

INSTANTIATE_TEST_SUITE_P(Routines, ManyPoints, ::testing::ValuesIn(ROUTINES),
                         [](const ::testing::TestParamInfo<Routine>& r) { return std::string(r.param.name); });

TEST(ManyPointsEntry, SameBitsAndTheCallersStateBack) {
    /* The entry point in a caller's state of rounding toward zero, flush to
       zero, denormals-are-zero and every exception unmasked: the single
       point bits (taken in the default state), no trap, and the caller's
       MXCSR back to the bit. */
    const Points p = randomPoints(9000, 31);
    std::vector<double> want(3 * p.size());
    for (std::size_t k = 0; k < p.size(); k++)
        geoharm::evaluateAcceleration({p.x[k], p.y[k], p.z[k], 10, 10}, &want[3 * k]);

    Results r(p.size());
    const unsigned callerState = 0xE040u; /* RC toward zero, FTZ, DAZ, every exception unmasked */
    const unsigned saved = _mm_getcsr();
    _mm_setcsr(callerState);
    geoharm::evaluateAccelerationMany(p.size(), p.x.data(), p.y.data(), p.z.data(), 10, 10, r.ax.data(),
                                      r.ay.data(), r.az.data());
    const unsigned after = _mm_getcsr();
    _mm_setcsr(saved);

    EXPECT_EQ(after, callerState);
    long bad = 0;
    for (std::size_t k = 0; k < p.size(); k++) {
        const double got[3] = {r.ax[k], r.ay[k], r.az[k]};
        for (int i = 0; i < 3; i++)
            if (geoharm_test::bitsOf(got[i]) != geoharm_test::bitsOf(want[3 * k + i]) && bad++ < 3)
                ADD_FAILURE() << "point " << k << " component " << i << ": " << geoharm_test::describe(got[i])
                              << " against " << geoharm_test::describe(want[3 * k + i]);
    }
    EXPECT_EQ(bad, 0);

    /* No point: nothing read or written, null pointers allowed. */
    geoharm::evaluateAccelerationMany(0, nullptr, nullptr, nullptr, 10, 10, nullptr, nullptr, nullptr);
}

TEST(ManyPointsEntry, ThreadCountRule) {
    const std::size_t PER = geoharm::MIN_POINTS_PER_THREAD;
    struct Case {
        std::size_t count;
        int processors;
        const char* limit;
        int threads;
    };
    const Case cases[] = {
        {0, 8, nullptr, 1},           {PER - 1, 8, nullptr, 1},     {2 * PER, 8, nullptr, 2},
        {100000, 2, nullptr, 2},      {100000, 1, nullptr, 1},      {100000, 0, nullptr, 1},
        {100000, 8, "1", 1},          {100000, 8, "3", 3},          {100000, 8, "30", 8},
        {100000, 8, "0", 8},          {100000, 8, "", 8},           {100000, 8, "-2", 8},
        {100000, 8, "2x", 8},         {100000, 8, " 2", 8},         {100000, 8, "99999999999999999999", 8},
        {PER, 8, "4", 1},             {3 * PER + 5, 64, "64", 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(geoharm::batchThreads(c.count, c.processors, geoharm::parseThreadLimit(c.limit)), c.threads)
            << "count " << c.count << ", processors " << c.processors << ", limit "
            << (c.limit ? c.limit : "(unset)");
    EXPECT_GE(geoharm::usableProcessors(), 1);
    EXPECT_LE(geoharm::usableProcessors(), geoharm::MAX_WORKER_THREADS);
}

TEST(ManyPointsEntry, ProcessorLevelsAgree) {
    /* AVX-512F implies AVX2 here (the 512-bit routine's file may use 256-bit
       instructions); the level chosen is the widest one present, in its FMA
       variant where the processor has FMA and the exact division pays
       there, and the processor runs it and every narrower level. */
    if (geoharm::cpuHasAvx512f()) {
        EXPECT_TRUE(geoharm::cpuHasAvx2());
    }
    const bool fma = geoharm::cpuHasFma() && geoharm::fmaDivisionPays();
    const SimdLevel want = geoharm::cpuHasAvx512f() ? (fma ? SimdLevel::AVX512F_FMA : SimdLevel::AVX512F)
                           : geoharm::cpuHasAvx2()  ? (fma ? SimdLevel::AVX2_FMA : SimdLevel::AVX2)
                                                    : SimdLevel::SSE2;
    const SimdLevel chosen = geoharm::activeRoutines().level;
    EXPECT_EQ(chosen, want);
    EXPECT_TRUE(geoharm::processorRuns(chosen));
    /* One point takes the same level, but with AVX-512 the FMA division
       wherever the processor has FMA. */
    const bool pointFma = chosen == SimdLevel::AVX512F && geoharm::cpuHasFma();
    EXPECT_EQ(geoharm::activeRoutines().pointLevel, pointFma ? SimdLevel::AVX512F_FMA : chosen);
    EXPECT_TRUE(geoharm::processorRuns(geoharm::activeRoutines().pointLevel));
    for (const Routine& r : ROUTINES) {
        if (r.level < chosen && r.level != SimdLevel::AVX2_FMA) {
            EXPECT_TRUE(geoharm::processorRuns(r.level)) << r.name;
        }
    }
}

namespace {

/* Each part counts its runs; part 0 notes whether it ran on the caller. */
struct PartLog {
    std::atomic<int> runs[geoharm::MAX_WORKER_THREADS];
    std::atomic<int> partsOnCaller{0};
};

thread_local int onCaller = 0;

void logPart(void* context, int part) {
    PartLog& log = *static_cast<PartLog*>(context);
    log.runs[part]++;
    if (onCaller) log.partsOnCaller++;
}

}  // namespace

TEST(WorkerThreads, EveryPartRunsOnceAndOnlyPartZeroOnTheCaller) {
    for (int parts : {1, 2, 5, geoharm::MAX_WORKER_THREADS}) {
        PartLog log;
        for (auto& r : log.runs) r = 0;
        onCaller = 1;
        geoharm::runParts(parts, logPart, &log);
        onCaller = 0;
        for (int i = 0; i < geoharm::MAX_WORKER_THREADS; i++)
            EXPECT_EQ(log.runs[i].load(), i < parts ? 1 : 0) << "part " << i << " of " << parts;
        EXPECT_EQ(log.partsOnCaller.load(), 1) << parts << " parts";
    }
}

namespace {

/* The runs a batch gave its threads, [begin, end) each. */
struct RunLog {
    std::mutex lock;
    std::vector<std::pair<std::size_t, std::size_t>> runs;
};

void logRun(const void* context, std::size_t begin, std::size_t end) {
    RunLog& log = *static_cast<RunLog*>(const_cast<void*>(context));
    const std::lock_guard<std::mutex> held(log.lock);
    log.runs.emplace_back(begin, end);
}

}  // namespace

TEST(BatchRuns, EveryPointOnceInWholeGroupsAndTheLastRunsShort) {
    struct Case {
        std::size_t count, granule;
        int threads;
    };
    const Case cases[] = {{1, 8, 2},     {7, 8, 2},      {64, 8, 2},     {65, 8, 3},        {8192, 8, 2},
                          {8193, 4, 2},  {100000, 1, 7}, {16384, 8, 64}, {1000003, 16, 4}, {9, 1, 64}};
    for (const Case& c : cases) {
        RunLog log;
        geoharm::runBatch(c.count, c.threads, c.granule, logRun, &log);
        std::sort(log.runs.begin(), log.runs.end());
        const std::string what = std::to_string(c.count) + " points, granule " + std::to_string(c.granule) + ", " +
                                 std::to_string(c.threads) + " threads";
        const std::size_t t = static_cast<std::size_t>(std::min(c.threads, geoharm::MAX_WORKER_THREADS));
        std::size_t next = 0, longestLast = 0;
        for (std::size_t i = 0; i < log.runs.size(); i++) {
            const auto [begin, end] = log.runs[i];
            ASSERT_EQ(begin, next) << what;
            ASSERT_LT(begin, end) << what;
            if (end != c.count) {
                ASSERT_EQ((end - begin) % c.granule, 0u) << what;
            }
            if (i + t >= log.runs.size()) longestLast = std::max(longestLast, end - begin);
            next = end;
        }
        EXPECT_EQ(next, c.count) << what;
        /* Few runs a thread, and short ones at the end (a run a thread,
           for which another may wait): at most 1/(16 threads) of the
           batch, or one granule. */
        EXPECT_LE(log.runs.size(), 16 * t + 16) << what;
        EXPECT_LE(longestLast, std::max(c.granule, c.count / (16 * t))) << what;
    }
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
namespace {

/* In a process whose address space cannot grow by a thread's stack, no
   thread starts: every part must still run, on the caller, and a call on
   several threads must give the bits of one thread.  Ends the process:
   0 when so, 3 when the limit could not be set, 4 when a part ran
   elsewhere or not once, 5 for other bits. */
void runWhereNoThreadStarts() {
    const Points p = randomPoints(5000, 9);
    Results want(p.size()), got(p.size());
    geoharm::evaluateAccelerationManyWith(*geoharm::levelRoutines(SimdLevel::SSE2), 1, p.size(), p.x.data(), p.y.data(), p.z.data(), 10, 10,
                                          want.ax.data(), want.ay.data(), want.az.data());

    /* The current size plus 1 MiB: less than one thread's stack. */
    long pages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (1u << 20);
    const struct rlimit rl = {limit, limit};
    if (pages == 0 || setrlimit(RLIMIT_AS, &rl) != 0) _exit(3);

    PartLog log;
    for (auto& r : log.runs) r = 0;
    onCaller = 1;
    geoharm::runParts(4, logPart, &log);
    for (int i = 0; i < 4; i++)
        if (log.runs[i].load() != 1) _exit(4);
    if (log.partsOnCaller.load() != 4) _exit(4);

    geoharm::evaluateAccelerationManyWith(*geoharm::levelRoutines(SimdLevel::SSE2), 4, p.size(), p.x.data(), p.y.data(), p.z.data(), 10, 10,
                                          got.ax.data(), got.ay.data(), got.az.data());
    const std::size_t bytes = got.ax.size() * sizeof(double);
    const bool same = std::memcmp(got.ax.data(), want.ax.data(), bytes) == 0 &&
                      std::memcmp(got.ay.data(), want.ay.data(), bytes) == 0 &&
                      std::memcmp(got.az.data(), want.az.data(), bytes) == 0;
    _exit(same ? 0 : 5);
}

}  // namespace

TEST(WorkerThreadsDeathTest, PartsWhoseThreadsCannotStartRunOnTheCaller) {
    /* A fresh process (the test program started again for this test
       alone), so that no thread stack freed by an earlier test is at hand
       for reuse. */
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWhereNoThreadStarts(), ::testing::ExitedWithCode(0), "");
}
#endif
