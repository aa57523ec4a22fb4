// Time to load a model of degree 2190 (2,401,336 coefficient lines, about
// 200 MB, the size of the largest published static models) from an ICGEM
// file and from the same text in memory, on one thread; and the number
// reader alone on a typical coefficient.  The model is made at start: a
// header, then `gfc n m C S sigmaC sigmaS` lines of 15-digit mantissas
// with E exponents, as published files write them.  The file goes to the
// system's temporary folder and is removed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "models/decimal_number.h"
#include "models/icgem_reader.h"

namespace {

constexpr int DEGREE = 2190;

const std::string& modelText() {
    static const std::string text = [] {
        std::string t =
            "begin_of_head\nproduct_type gravity_field\nmodelname BENCH-2190\n"
            "earth_gravity_constant 0.3986004415E+15\nradius 0.63781363E+07\nmax_degree 2190\n"
            "errors calibrated\nnorm fully_normalized\ntide_system tide_free\n"
            "key L M C S sigma_C sigma_S\nend_of_head\n";
        t.reserve(std::size_t{210} << 20);
        std::mt19937_64 random(1);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        char line[128];
        for (int n = 0; n <= DEGREE; n++)
            for (int m = 0; m <= n; m++) {
                double scale = 1e-5 / ((n + 1.0) * (n + 1.0));
                std::snprintf(line, sizeof line, "gfc %5d %5d %22.15E %22.15E %11.4E %11.4E\n", n, m,
                              unit(random) * scale, m == 0 ? 0.0 : unit(random) * scale, 1e-3 * scale,
                              1e-3 * scale);
                t += line;
            }
        return t;
    }();
    return text;
}

void BM_readIcgemText(benchmark::State& state) {
    const std::string& text = modelText();
    char message[512];
    for (auto _ : state) {
        geoharm::ModelFileContents model;
        if (!geoharm::readIcgemText(text.data(), text.size(), "bench", nullptr, &model, message, sizeof message))
            state.SkipWithError(message);
        benchmark::DoNotOptimize(model.C);
        geoharm::releaseModelFileContents(&model);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_readIcgemFile(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "geoharm_bench_model_2190.gfc";
    std::ofstream(path, std::ios::binary) << modelText();
    char message[512];
    for (auto _ : state) {
        geoharm::ModelFileContents model;
        if (!geoharm::readIcgemFile(path.u8string().c_str(), nullptr, &model, message, sizeof message))
            state.SkipWithError(message);
        benchmark::DoNotOptimize(model.C);
        geoharm::releaseModelFileContents(&model);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * modelText().size()));
    std::filesystem::remove(path);
}

void BM_parseDecimal(benchmark::State& state) {
    const std::string number = "-0.484165143790815E-03";
    double value = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(geoharm::parseDecimal(number.data(), number.data() + number.size(), &value));
        benchmark::DoNotOptimize(value);
    }
}

}  // namespace

BENCHMARK(BM_readIcgemText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_readIcgemFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_parseDecimal);

BENCHMARK_MAIN();
