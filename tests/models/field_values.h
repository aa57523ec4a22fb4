/*
 * field_values.h - the field at one point, in the precision of whoever
 * computed it: the 113-bit reference (QuadField) or an evaluation under
 * test (DoubleField).
 *
 *   U        potential (m^2/s^2), a = grad U
 *   a        acceleration (m/s^2), axes x, y, z
 *   T[i][j]  d a_i / d x_j (1/s^2)
 */
#ifndef GEOHARM_TESTS_MODELS_FIELD_VALUES_H
#define GEOHARM_TESTS_MODELS_FIELD_VALUES_H

namespace geoharm_test {

template <typename Real>
struct FieldValues {
    Real U = 0;
    Real a[3] = {0, 0, 0};
    Real T[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
};

using QuadField = FieldValues<__float128>;
using DoubleField = FieldValues<double>;

}  // namespace geoharm_test

#endif
