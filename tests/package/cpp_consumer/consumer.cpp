/*
 * consumer.cpp - checks the installed C++ package's results against
 * reference rows read from standard input.
 *
 * Input: one row per line, "x y z n m ax ay az" (position in m, N and M,
 * the expected acceleration in m/s^2, as decimals that read back as the
 * exact doubles).
 * Output: each row's result from geoharm::acceleration, as %.17g, with
 * "same bits" or "DIFFERS"; then, for each (N, M) of the rows, the rows
 * with that N and M evaluated together by geoharm::accelerationMany; then
 * geoharm::gradient at each row (its acceleration must be the expected
 * one) against geoharm::gradientMany; then the version of the library
 * linked against that of the headers, and the model the library states
 * (geoharm::model()).
 * Exit status 0 when every result has the expected bits and the versions
 * agree, 1 otherwise.
 */
#include <geoharm/geoharm.h>
#include <geoharm/version.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Row {
    double x, y, z;
    int n, m;
    double expected[3];
};

/* Whether a and b are the same three doubles, bit for bit. */
bool sameBits(const double a[3], const double b[3]) { return std::memcmp(a, b, 3 * sizeof(double)) == 0; }

}  // namespace

int main() {
    std::vector<Row> rows;
    Row r{};
    while (std::scanf("%lf %lf %lf %d %d %lf %lf %lf", &r.x, &r.y, &r.z, &r.n, &r.m, &r.expected[0],
                      &r.expected[1], &r.expected[2]) == 8) {
        rows.push_back(r);
    }
    if (rows.empty()) {
        std::fprintf(stderr, "consumer: no rows on standard input\n");
        return 1;
    }

    /* One point at a time. */
    int failures = 0;
    for (const Row& row : rows) {
        const double position[3] = {row.x, row.y, row.z};
        double a[3];
        geoharm::acceleration(position, row.n, row.m, a);
        const bool same = sameBits(a, row.expected);
        failures += same ? 0 : 1;
        std::printf("single %.17g %.17g %.17g N=%d M=%d: %.17g %.17g %.17g %s\n", row.x, row.y, row.z, row.n, row.m,
                    a[0], a[1], a[2], same ? "same bits" : "DIFFERS");
    }

    /* The rows of each (N, M) together, in the order they come. */
    std::vector<bool> done(rows.size(), false);
    for (std::size_t first = 0; first < rows.size(); ++first) {
        if (done[first]) continue;
        std::vector<std::size_t> group;
        std::vector<double> x, y, z;
        for (std::size_t k = first; k < rows.size(); ++k) {
            if (rows[k].n != rows[first].n || rows[k].m != rows[first].m) continue;
            done[k] = true;
            group.push_back(k);
            x.push_back(rows[k].x);
            y.push_back(rows[k].y);
            z.push_back(rows[k].z);
        }
        std::vector<double> ax(group.size()), ay(group.size()), az(group.size());
        geoharm::accelerationMany(group.size(), x.data(), y.data(), z.data(), rows[first].n, rows[first].m,
                                  ax.data(), ay.data(), az.data());
        int groupFailures = 0;
        for (std::size_t j = 0; j < group.size(); ++j) {
            const double a[3] = {ax[j], ay[j], az[j]};
            groupFailures += sameBits(a, rows[group[j]].expected) ? 0 : 1;
        }
        failures += groupFailures;
        std::printf("many N=%d M=%d: %zu points, %s\n", rows[first].n, rows[first].m, group.size(),
                    groupFailures == 0 ? "same bits" : "DIFFERS");
    }

    std::printf("%zu rows, single and many: %d results differ\n", rows.size(), failures);

    /* The gradient: its acceleration is the expected one, and all rows in
       one many-point call give each row's single-point bits. */
    std::vector<double> gx, gy, gz, gT(9 * rows.size()), gax(rows.size()), gay(rows.size()), gaz(rows.size()),
        gU(rows.size());
    for (const Row& row : rows) {
        gx.push_back(row.x);
        gy.push_back(row.y);
        gz.push_back(row.z);
    }
    int gradientFailures = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const double position[3] = {rows[k].x, rows[k].y, rows[k].z};
        double T[9], a[3], U;
        geoharm::gradient(position, rows[k].n, rows[k].m, T, a, &U);
        geoharm::gradientMany(1, &gx[k], &gy[k], &gz[k], rows[k].n, rows[k].m, &gT[9 * k], &gax[k], &gay[k], &gaz[k],
                              &gU[k]);
        const double many[3] = {gax[k], gay[k], gaz[k]};
        const bool same = sameBits(a, rows[k].expected) && sameBits(many, a) &&
                          std::memcmp(T, &gT[9 * k], sizeof T) == 0 && std::memcmp(&U, &gU[k], sizeof U) == 0;
        gradientFailures += same ? 0 : 1;
        std::printf("gradient N=%d M=%d: U %.17g Txx %.17g %s\n", rows[k].n, rows[k].m, U, T[0],
                    same ? "same bits" : "DIFFERS");
    }
    failures += gradientFailures;

    /* Limits as plain int, saturated as MATLAB converts to int8: 200 is the
       whole model (never a wrap to -56), -200 the point mass. */
    const double p[3] = {rows[0].x, rows[0].y, rows[0].z};
    const int limitPairs[][4] = {{200, 200, 10, 10}, {127, 11, 10, 10}, {-200, 5, 0, 0}, {5, -200, 0, 0}};
    for (const auto& l : limitPairs) {
        double a[3], b[3];
        geoharm::acceleration(p, l[0], l[1], a);
        geoharm::acceleration(p, l[2], l[3], b);
        const bool same = sameBits(a, b);
        failures += same ? 0 : 1;
        std::printf("limits N=%d M=%d as N=%d M=%d: %s\n", l[0], l[1], l[2], l[3], same ? "same bits" : "DIFFERS");
    }

    /* The library linked is the one the headers describe. */
    const bool sameVersion = std::strcmp(geoharm::version(), GEOHARM_VERSION_STRING) == 0;
    std::printf("library %s, headers %s\n", geoharm::version(), GEOHARM_VERSION_STRING);

    /* The model it states: the headers' constants, its own version. */
    const geoharm::Model md = geoharm::model();
    const bool sameModel = md.gm == geoharm::GM && md.referenceRadius == geoharm::R_REF &&
                           md.maxDegree == geoharm::MAX_DEGREE && std::strcmp(md.version, geoharm::version()) == 0;
    std::printf("model: GM %.17g, R_REF %.17g, C(2,0) %.17g: %s\n", md.gm, md.referenceRadius, md.C[2][0],
                sameModel ? "as the headers state" : "DIFFERS");
    return failures == 0 && sameVersion && sameModel ? 0 : 1;
}
