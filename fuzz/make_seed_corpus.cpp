/*
 * make_seed_corpus - writes the fuzzer's seed corpus (fuzz/corpus/) into
 * the directory named on the command line: one small file per call, in
 * the byte layout of fuzz_call.h.  Deterministic; a test checks that the
 * committed files are what this program writes.
 *
 * The seeds: good calls with int8 limits at ordinary, non-finite and
 * extreme positions; N and M of every class; every count of inputs and
 * outputs; complex, sparse, empty and large arrays; each refusal; good
 * calls whose first, second or third output the host cannot create.  Then
 * the same for the many-point plug-ins (K-by-3 positions), with every
 * count of geoharm_gradient's outputs.
 */
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_call.h"
#include "mex_class_ids.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using geoharm_fuzz::EDGE_COUNT;
using geoharm_fuzz::EDGE_DOUBLES;

/* A double element: its selector if it is one of the edge values,
   else a raw one. */
void putDouble(Bytes& b, double v) {
    for (int s = 0; s < EDGE_COUNT; s++) {
        if (std::memcmp(&EDGE_DOUBLES[s], &v, sizeof v) == 0) {
            b.push_back(static_cast<std::uint8_t>(s));
            return;
        }
    }
    b.push_back(0xFF);
    std::uint8_t raw[8];
    std::memcpy(raw, &v, sizeof v);
    b.insert(b.end(), raw, raw + 8);
}

/* Header of an array: class, flags (complex, sparse, dimensions), dims. */
void putHeader(Bytes& b, int classId, const std::vector<unsigned>& dims, bool complex = false, bool sparse = false) {
    b.push_back(static_cast<std::uint8_t>(classId));
    b.push_back(static_cast<std::uint8_t>((complex ? geoharm_fuzz::COMPLEX_FLAG : 0) |
                                          (sparse ? geoharm_fuzz::SPARSE_FLAG : 0) | ((dims.size() - 1) << 2)));
    for (unsigned d : dims) {
        if (d < 8) {
            b.push_back(static_cast<std::uint8_t>(d));
        } else {
            b.push_back(geoharm_fuzz::LARGE_DIM);
            b.push_back(static_cast<std::uint8_t>(d & 0xFF));
            b.push_back(static_cast<std::uint8_t>(d >> 8));
        }
    }
}

/* Bytes per element of the numeric, logical and char classes. */
std::size_t bytesOf(int classId) {
    switch (classId) {
        case geoharm::LOGICAL_CLASS: case geoharm::INT8_CLASS: case geoharm::UINT8_CLASS: return 1;
        case geoharm::CHAR_CLASS: case geoharm::INT16_CLASS: case geoharm::UINT16_CLASS: return 2;
        case geoharm::SINGLE_CLASS: case geoharm::INT32_CLASS: case geoharm::UINT32_CLASS: return 4;
        case geoharm::DOUBLE_CLASS: case geoharm::INT64_CLASS: case geoharm::UINT64_CLASS: return 8;
        default: return 0;
    }
}

/* A double array of these dimensions, its described elements (as many as
   it holds, up to FILLED; column by column) from `values`, zero past
   them. */
void putDoubles(Bytes& b, const std::vector<unsigned>& dims, const std::vector<double>& values) {
    putHeader(b, geoharm::DOUBLE_CLASS, dims);
    std::size_t count = 1;
    for (unsigned d : dims) count *= d;
    for (std::size_t i = 0; i < count && i < geoharm_fuzz::FILLED; i++)
        putDouble(b, i < values.size() ? values[i] : 0.0);
}

/* x, y, z and a huge fourth element, as many of them as the array holds. */
void putPosition(Bytes& b, double x, double y, double z, const std::vector<unsigned>& dims = {3, 1}) {
    putDoubles(b, dims, {x, y, z, 1e300});
}

/* A 1x1 limit of any class holding the little-endian bytes of `v`. */
void putLimit(Bytes& b, int classId, long long v, bool complex = false, bool sparse = false) {
    putHeader(b, classId, {1, 1}, complex, sparse);
    if (classId == geoharm::DOUBLE_CLASS) {
        putDouble(b, static_cast<double>(v));
    } else if (classId == geoharm::SINGLE_CLASS) {
        const float f = static_cast<float>(v);
        std::uint8_t raw[4];
        std::memcpy(raw, &f, 4);
        b.insert(b.end(), raw, raw + 4);
    } else {
        for (std::size_t i = 0; i < bytesOf(classId); i++)
            b.push_back(static_cast<std::uint8_t>(static_cast<unsigned long long>(v) >> (8 * i)));
    }
    /* The imaginary part: ones in every byte. */
    if (complex) b.insert(b.end(), bytesOf(classId), 0x01);
}

Bytes call(int nrhs, int nlhs) { return Bytes{static_cast<std::uint8_t>(nrhs), static_cast<std::uint8_t>(nlhs)}; }

/* A good call with int8 limits at a position. */
Bytes good(double x, double y, double z, int n, int m, int nlhs = 1) {
    Bytes b = call(3, nlhs);
    putPosition(b, x, y, z);
    putLimit(b, geoharm::INT8_CLASS, n);
    putLimit(b, geoharm::INT8_CLASS, m);
    return b;
}

/*
 * A call of the many-point plug-ins: positions of these dimensions (the
 * first elements from `values`), int8 limits; geoharm_batch asked for one
 * output (and, as always, three), geoharm_gradient for gradientNlhs; the
 * failing-th array the host cannot create (0: none).
 */
Bytes manyPoints(const std::vector<unsigned>& dims, const std::vector<double>& values, int n, int m,
                 int gradientNlhs, int failing = 0, int nrhs = 3) {
    Bytes b = call(nrhs, 1);
    putDoubles(b, dims, values);
    if (nrhs > 1) putLimit(b, geoharm::INT8_CLASS, n);
    if (nrhs > 2) putLimit(b, geoharm::INT8_CLASS, m);
    if (nrhs > 3) putLimit(b, geoharm::DOUBLE_CLASS, 0);
    b.push_back(static_cast<std::uint8_t>(failing));
    b.push_back(static_cast<std::uint8_t>(gradientNlhs));
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    std::vector<Bytes> seeds;
    const double inf = EDGE_DOUBLES[17];
    const double nan = EDGE_DOUBLES[14];

    /* Good calls: ordinary, non-finite and extreme positions. */
    seeds.push_back(good(7000000.0, 1000000.0, 2000000.0, 10, 10));
    seeds.push_back(good(-6500000.0, 2500000.0, -1500000.0, 4, 2, 0));
    seeds.push_back(good(0.0, 0.0, 6600000.0, 10, 10, 2));
    seeds.push_back(good(0.0, 0.0, 0.0, 10, 10));
    seeds.push_back(good(-0.0, 0.0, -0.0, 0, 0));
    seeds.push_back(good(inf, 1e7, 1e7, 10, 0));
    seeds.push_back(good(nan, 1e7, 1e7, 10, 10));
    seeds.push_back(good(1e154, 1e154, 1e154, 10, 10));
    seeds.push_back(good(1.3e154, 0.0, 0.0, 10, 10));
    seeds.push_back(good(1e-160, 1e-160, 1e-160, 0, 0));
    seeds.push_back(good(5e-324, 7000000.0, -5e-324, 10, 10));
    seeds.push_back(good(1e-10, 1e-10, 1e-10, 10, 10));
    seeds.push_back(good(7000000.0, 1000000.0, 2000000.0, 127, -128));
    seeds.push_back(good(7000000.0, 1000000.0, 2000000.0, -1, 11));

    /* N and M of every class (17: no such class). */
    for (int c = 0; c < geoharm_fuzz::CLASS_COUNT; c++) {
        Bytes b = call(3, 1);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putLimit(b, c, 10);
        putLimit(b, c == geoharm::INT8_CLASS ? geoharm::DOUBLE_CLASS : c, 3);
        seeds.push_back(b);
    }

    /* Fewer and more inputs; the fourth and fifth of any class. */
    for (int nrhs = 0; nrhs <= 5; nrhs++) {
        Bytes b = call(nrhs, 1);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putLimit(b, geoharm::INT8_CLASS, 5);
        putLimit(b, geoharm::INT8_CLASS, 5);
        putHeader(b, geoharm::CELL_CLASS, {2, 2});
        putHeader(b, geoharm::CHAR_CLASS, {0, 0});
        seeds.push_back(b);
    }

    /* Positions of other shapes: large, 1x3, 1x1x5, too short, complex, sparse, single. */
    const std::vector<std::vector<unsigned>> shapes = {{3, 1}, {5000, 3}, {1, 3}, {1, 1, 5}, {2, 1}, {0, 3}};
    for (const auto& dims : shapes) {
        Bytes b = call(3, 1);
        putPosition(b, 26560000.0, 0.0, 0.0, dims);
        putLimit(b, geoharm::INT8_CLASS, 10);
        putLimit(b, geoharm::INT8_CLASS, 10);
        seeds.push_back(b);
    }
    for (int flags = 1; flags <= 3; flags++) {
        Bytes b = call(3, 1);
        putHeader(b, geoharm::DOUBLE_CLASS, {3, 1}, flags & 1, flags & 2);
        for (int i = 0; i < 3; i++) putDouble(b, 7000000.0);
        if (flags & 1) b.insert(b.end(), 8, 0x40);
        putLimit(b, geoharm::INT8_CLASS, 10);
        putLimit(b, geoharm::INT8_CLASS, 10);
        seeds.push_back(b);
    }

    /* Limits: complex, sparse, empty, NaN, large. */
    {
        Bytes b = call(3, 1);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putLimit(b, geoharm::DOUBLE_CLASS, 4, true);
        putLimit(b, geoharm::INT8_CLASS, 2, true);
        seeds.push_back(b);
    }
    {
        Bytes b = call(3, 1);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putLimit(b, geoharm::LOGICAL_CLASS, 1, false, true);
        putLimit(b, geoharm::INT8_CLASS, 2);
        seeds.push_back(b);
    }
    {
        Bytes b = call(3, 2);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putHeader(b, geoharm::DOUBLE_CLASS, {1, 1});
        putDouble(b, nan);
        putHeader(b, geoharm::INT8_CLASS, {0, 1});
        seeds.push_back(b);
    }
    {
        Bytes b = call(3, 1);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putLimit(b, geoharm::INT8_CLASS, 10);
        putHeader(b, geoharm::SINGLE_CLASS, {1, 1});
        const float fnan = static_cast<float>(nan);
        std::uint8_t raw[4];
        std::memcpy(raw, &fnan, 4);
        b.insert(b.end(), raw, raw + 4);
        seeds.push_back(b);
    }
    {
        Bytes b = call(3, 1);
        putPosition(b, 7000000.0, 1000000.0, 2000000.0);
        putHeader(b, geoharm::INT16_CLASS, {7, 7, 7, 7});
        for (int i = 0; i < 4; i++) b.insert(b.end(), {0x0A, 0x01});
        putLimit(b, geoharm::UINT64_CLASS, -1);
        seeds.push_back(b);
    }

    /* Outputs the host cannot create: the first (geoharm's one, geoharm_batch's
       K-by-3), the second and the third (geoharm_batch's K-by-1 ones). */
    for (std::uint8_t failing = 1; failing <= 3; failing++) {
        Bytes b = good(7000000.0, 1000000.0, 2000000.0, 10, 10);
        b.push_back(failing);
        seeds.push_back(b);
    }

    /* The many-point plug-ins.  One point, every count of geoharm_gradient's
       outputs (4 is refused). */
    const std::vector<double> point = {7000000.0, 1000000.0, 2000000.0};
    for (int gradientNlhs = 0; gradientNlhs <= geoharm_fuzz::MAX_GRADIENT_OUTPUTS; gradientNlhs++)
        seeds.push_back(manyPoints({1, 3}, point, 10, 10, gradientNlhs));

    /* Points at the origin, non-finite and extreme; the point mass alone;
       limits beyond the model's. */
    seeds.push_back(manyPoints({2, 3}, {0.0, nan, 0.0, 1e7}, 10, 10, 3));
    seeds.push_back(manyPoints({1, 3}, {inf, -inf, 1e7}, 10, 10, 3));
    seeds.push_back(manyPoints({1, 3}, {1e154, 1.3e154, -1e154}, 10, 10, 3));
    seeds.push_back(manyPoints({1, 3}, {5e-324, 7000000.0, 1e-160}, 10, 10, 3));
    seeds.push_back(manyPoints({1, 3}, point, 1, 0, 3));
    seeds.push_back(manyPoints({1, 3}, point, 127, -128, 3));
    seeds.push_back(manyPoints({1, 3}, point, -1, 11, 2));

    /* Shapes: no rows, three rows (a 3-by-3 array is K-by-3), many rows,
       trailing ones, 3-by-K, K-by-3-by-2, a row vector of three in the
       third dimension. */
    seeds.push_back(manyPoints({0, 3}, {}, 10, 10, 3));
    seeds.push_back(manyPoints({3, 3}, {6378137.0, 26560000.0, -6500000.0, 42164000.0}, 10, 10, 3));
    seeds.push_back(manyPoints({5000, 3}, {7000000.0, -6500000.0, 26560000.0, 1e300}, 10, 10, 3));
    seeds.push_back(manyPoints({2, 3, 1, 1}, {7000000.0, 0.0, 1000000.0, 6600000.0}, 4, 2, 2));
    seeds.push_back(manyPoints({3, 2}, point, 10, 10, 1));
    seeds.push_back(manyPoints({2, 3, 2}, point, 10, 10, 1));
    seeds.push_back(manyPoints({1, 1, 3}, point, 10, 10, 1));

    /* Counts of inputs: four suit geoharm_batch, not geoharm_gradient. */
    seeds.push_back(manyPoints({1, 3}, point, 10, 10, 3, 0, 4));
    seeds.push_back(manyPoints({1, 3}, point, 10, 10, 3, 0, 2));

    /* N, then M, that cannot be read: a NaN N, an empty M. */
    {
        Bytes b = call(3, 1);
        putDoubles(b, {1, 3}, point);
        putHeader(b, geoharm::DOUBLE_CLASS, {1, 1});
        putDouble(b, nan);
        putLimit(b, geoharm::INT8_CLASS, 10);
        b.insert(b.end(), {0, 3});
        seeds.push_back(b);
    }
    {
        Bytes b = call(3, 1);
        putDoubles(b, {1, 3}, point);
        putLimit(b, geoharm::UINT16_CLASS, 10);
        putHeader(b, geoharm::INT8_CLASS, {1, 0});
        b.insert(b.end(), {0, 3});
        seeds.push_back(b);
    }

    /* Outputs the host cannot create: T, A, U of geoharm_gradient (and
       the arrays of geoharm_batch). */
    for (int failing = 1; failing <= 3; failing++) seeds.push_back(manyPoints({2, 3}, point, 10, 10, 3, failing));

    for (std::size_t i = 0; i < seeds.size(); i++) {
        char name[32];
        std::snprintf(name, sizeof name, "/seed-%03zu", i);
        const std::string path = std::string(argv[1]) + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr || std::fwrite(seeds[i].data(), 1, seeds[i].size(), f) != seeds[i].size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(f);
    }
    std::printf("%zu seeds\n", seeds.size());
    return 0;
}
