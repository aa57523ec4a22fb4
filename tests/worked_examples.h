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

/* Gradient tensors and potentials of this evaluation at a few positions,
   for the checks that every build and every path gives these bits (the
   accuracy tests hold them to an independent 113-bit evaluation of the
   model): U (m^2/s^2) and the tensor's xx, yy, zz, xy, xz, yz (1/s^2).
   The acceleration at each is WORKED_EXAMPLES' (or geoharm's). */
struct GradientExample {
    double x, y, z;
    int n, m;
    double U;
    double t[6];
};

inline const GradientExample GRADIENT_EXAMPLES[] = {
    {7000000.0, 1000000.0, 2000000.0, 10, 10, 54260011.908580594,
     {1.7318889258223668e-06, -9.4941932124561019e-07, -7.8246960457675626e-07, 3.9105940133496331e-07,
      7.8522374135219011e-07, 1.1218883983367104e-07}},
    {7000000.0, 1000000.0, 2000000.0, 2, 0, 54259854.621197648,
     {1.7318718224245324e-06, -9.4940728361367211e-07, -7.824645388108598e-07, 3.9101986963057142e-07,
      7.8522573588402011e-07, 1.1217510512628858e-07}},
    {7000000.0, 1000000.0, 2000000.0, 1, 10, 54242650.239434108,
     {1.7299610673070554e-06, -9.4868832723290116e-07, -7.8127274007415386e-07, 3.9063637003707693e-07,
      7.8127274007415386e-07, 1.1161039143916483e-07}},
    {0.0, 0.0, 6600000.0, 10, 10, 60333194.992272682,
     {-1.3780567084571611e-06, -1.3782240990578725e-06, 2.7562808075150334e-06, -3.2412838335615465e-11,
      -1.7048182027537464e-10, 3.9516834125378645e-11}},
    {26560000.0, 0.0, 0.0, 10, 10, 15008019.109100331,
     {4.2556460658789591e-08, -2.1276249637672818e-08, -2.1280211021116763e-08, 1.4772860466898559e-14,
      -4.5291726565370652e-15, -1.8520382072433575e-15}},
    {488603.552, 8134012.108, -9947002.437, 3, 1, 30995449.47923474,
     {-1.8652102653297901e-07, 3.7250867416962703e-08, 1.4927015911601644e-07, 1.3489716151327592e-08,
      -1.6519081819111969e-08, -2.7500660937708362e-07}},
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
