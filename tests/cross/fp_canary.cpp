/*
 * fp_canary.cpp - a multiply-add that the checker of the evaluation code's
 * instructions must reject.  Compiled (never run) with FMA contraction on
 * 64-bit builds and with x87 arithmetic on 32-bit x86, to show that
 * check_fp_instructions.sh finds what it looks for (at -O2: contraction
 * into FMA is an -O2 optimisation).
 */
extern "C" double geoharmFpCanary(double a, double b, double c) { return a * b + c; }

/* On 32-bit x86, x87 arithmetic in a function whose name allows the
   return of a double through the x87 (--x87-return): loading the result
   is all it may do there. */
namespace geoharm {
struct GravityModel {
    double gm() const;
    double value;
};
double GravityModel::gm() const { return value * 3.0 + 1.0; }
}  // namespace geoharm

extern "C" double geoharmFpCanarySum(const double* v, int n) {
    double s = 0.0;
    for (int i = 0; i < n; i++) s = s * v[i] + 1.0;
    return s;
}
