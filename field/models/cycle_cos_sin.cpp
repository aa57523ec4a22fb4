/*
 * cycle_cos_sin.cpp - cos(2 pi f) and sin(2 pi f), f in cycles.
 *
 * After the exact reduction to x in [-1/8, 1/8] (cycle_cos_sin.h), the
 * angle t = 2 pi x (|t| <= pi/4) is formed as an unevaluated sum
 * p + pl: p = x TWO_PI_HI rounded, pl = its rounding error (Dekker's
 * exact product, from halves of 26 bits) plus x TWO_PI_LO, so that
 * p + pl = 2 pi x to about 2^-100 relative.  With z = p p and ze its
 * rounding error (p^2 = z + ze exactly):
 *
 *   sin t = p + (pl (1 - z/2) + p z SA(z))
 *   cos t = w + (tail + (z z CB(z) - ze/2 - p pl)),
 *           w = 1 - z/2 rounded, tail = (1 - w) - z/2 its rounding error
 *
 * SA(z) = A3 + z (A5 + ... + z A17) and CB(z) = B4 + z (B6 + ... + z B16)
 * are the Taylor series of (sin t - t)/t^3 and (cos t - 1 + t^2/2)/t^4,
 * their coefficients (-1)^j / k! rounded to the nearest double.  The
 * first terms left out, t^19/19! and t^18/18!, are below 1.2e-19 and
 * 2e-18 for |t| <= pi/4.  The large parts (p; w + tail) are carried
 * exactly to the last addition and the small ones are at most a tenth of
 * the result (sine) or a fiftieth (cosine), so the error is little more
 * than that last rounding: under 0.8 ulp, as the tests measure against
 * 113-bit values.  No library call, no fused multiply-add: the products
 * of the split halves are exact in plain multiplication.
 */
#include "models/cycle_cos_sin.h"

namespace geoharm {
namespace {

/* 2 pi = TWO_PI_HI + TWO_PI_LO to about 2^-107. */
constexpr double TWO_PI_HI = 6.283185307179586;
constexpr double TWO_PI_LO = 2.4492935982947064e-16;

/* A3, A5, ..., A17 and B4, B6, ..., B16. */
constexpr double SINE_SERIES[] = {-0.16666666666666666,    0.008333333333333333,   -0.0001984126984126984,
                                  2.7557319223985893e-06,  -2.505210838544172e-08, 1.6059043836821613e-10,
                                  -7.647163731819816e-13,  2.8114572543455206e-15};
constexpr double COSINE_SERIES[] = {0.041666666666666664,  -0.001388888888888889,  2.48015873015873e-05,
                                    -2.755731922398589e-07, 2.08767569878681e-09,  -1.1470745597729725e-11,
                                    4.779477332387385e-14};

/* c[0] + z (c[1] + z (... + z c[count-1])), from the innermost term out. */
template <int count>
double series(const double (&c)[count], double z) {
    double sum = c[count - 1];
    for (int i = count - 2; i >= 0; i--) sum = c[i] + z * sum;
    return sum;
}

/* 2^52: from there on every double is a whole number. */
constexpr double TWO_52 = 4503599627370496.0;

/* Veltkamp's splitter 2^27 + 1: a = hi + lo, each of at most 26
   significant bits, for |a| far below the overflow threshold. */
constexpr double SPLITTER = 134217729.0;

void split(double a, double* hi, double* lo) {
    double t = SPLITTER * a;
    *hi = t - (t - a);
    *lo = a - *hi;
}

/* The rounding error of the product p = a b: a b = p + error exactly
   (Dekker), each partial product of two 26-bit halves being exact. */
double productError(double a, double b, double p) {
    double ah, al, bh, bl;
    split(a, &ah, &al);
    split(b, &bh, &bl);
    return ((ah * bh - p) + ah * bl + al * bh) + al * bl;
}

}  // namespace

void cycleCosSin(double f, double* c, double* s) {
    /* r = f - round(f), exact.  Below 2^52, |f| + 2^52 lies in
       [2^52, 2^53), where the doubles are the whole numbers: the sum
       rounds |f| to the nearest one and the subtraction of 2^52 is exact.
       From 2^52 on f is whole and r is 0. */
    double magnitude = f < 0.0 ? -f : f;
    double r = 0.0;
    if (magnitude < TWO_52) {
        double whole = (magnitude + TWO_52) - TWO_52;
        r = f < 0.0 ? whole - magnitude : magnitude - whole;
    }

    /* Quarter turns: x = r - k/4, |x| <= 1/8. */
    int k = 0;
    if (r > 0.375)
        k = 2;
    else if (r >= 0.125)
        k = 1;
    else if (r < -0.375)
        k = -2;
    else if (r <= -0.125)
        k = -1;
    double x = r - 0.25 * k;

    /* t = 2 pi x = p + pl. */
    double p = x * TWO_PI_HI;
    double pl = productError(x, TWO_PI_HI, p) + x * TWO_PI_LO;
    double z = p * p;
    double ze = productError(p, p, z);
    double hz = 0.5 * z;

    double sa = series(SINE_SERIES, z);
    double sx = p + (pl * (1.0 - hz) + p * z * sa);

    double cb = series(COSINE_SERIES, z);
    double w = 1.0 - hz;
    double tail = (1.0 - w) - hz;
    double cx = w + (tail + (z * z * cb - 0.5 * ze - p * pl));

    /* The angle is 2 pi x + k pi/2.  0 - sx rather than -sx: a quarter
       turn's cosine is +0, not -0. */
    switch (k) {
        case 1:
            *c = 0.0 - sx;
            *s = cx;
            break;
        case -1:
            *c = sx;
            *s = -cx;
            break;
        case 2:
        case -2:
            *c = -cx;
            *s = 0.0 - sx;
            break;
        default:
            *c = cx;
            *s = sx;
            break;
    }
}

}  // namespace geoharm
