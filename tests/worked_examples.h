/*
 * worked_examples.h - reference accelerations of the model, as published
 * with it (shortest round-trip decimals of the exact results).  Shared by
 * every test that checks a path from a position to an acceleration.
 */
#ifndef GEOHARM_TESTS_WORKED_EXAMPLES_H
#define GEOHARM_TESTS_WORKED_EXAMPLES_H

#include <cstdio>
#include <string>

namespace geoharm_test {

struct WorkedExample {
    double x, y, z;
    int n, m;
    double ax, ay, az;
};

inline const WorkedExample WORKED_EXAMPLES[] = {
    {7000000.0, 1000000.0, 2000000.0, 0, 0, -7.031454660667386, -1.0044935229524836, -2.0089870459049672},
    {7000000.0, 1000000.0, 2000000.0, 2, 0, -7.036870854926277, -1.005267264989468, -2.015450067625661},
    {7000000.0, 1000000.0, 2000000.0, 4, 2, -7.036907844679175, -1.0053267385291005, -2.015418112741943},
    {7000000.0, 1000000.0, 2000000.0, 10, 10, -7.036925776266761, -1.0053211772743258, -2.015446846294957},
    {-6500000.0, 2500000.0, -1500000.0, 10, 10, 7.173806946806016, -2.759123702209809, 1.6598255653442884},
    {4000000.0, -4000000.0, 4000000.0, 3, 2, -4.79001190649794, 4.790144678150874, -4.803225042173515},
    {0.0, 0.0, 6600000.0, 10, 10, 0.00014449652884261177, -2.9119827640865147e-05, -9.123040672405619},
    {26560000.0, 0.0, 0.0, 10, 10, -0.5650965031771346, -1.1267458117725158e-07, 2.176900934220539e-08},
    {488603.552, 8134012.108, -9947002.437, 10, 10, -0.09152801786622701, -1.523756810257131, 1.8648723685060018},
    {488603.552, 8134012.108, -9947002.437, 3, 1, -0.0915288095513759, -1.5237548094270712, 1.8648764509423172},
};

/* The worked examples as input records "x y z N M" of the tools, a line each. */
inline std::string workedExampleRecords() {
    std::string records;
    for (const WorkedExample& w : WORKED_EXAMPLES) {
        char line[200];
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g %d %d\n", w.x, w.y, w.z, w.n, w.m);
        records += line;
    }
    return records;
}

}  // namespace geoharm_test

#endif
