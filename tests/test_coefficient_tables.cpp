// Facts about the constant tables that a transcription slip would break.
#include <gtest/gtest.h>

#include "bits.h"
#include "model/coefficient_tables.h"

using geoharm::coefC;
using geoharm::coefS;

TEST(Tables, SecondZonalHasItsExactBits) {
    EXPECT_EQ(geoharm_test::bitsOf(coefC(2, 0)), 0xBF51BCDD80000000ull);
    /* ...which is not the double nearest to the single's shortest decimal. */
    EXPECT_NE(coefC(2, 0), -1.0826266e-3);
}

TEST(Tables, EveryCoefficientHasSinglePrecisionResolution) {
    for (const double* table : {geoharm::COEF_C, geoharm::COEF_S}) {
        for (int i = 0; i < geoharm::COEF_DIM * geoharm::COEF_DIM; i++) {
            const double c = table[i];
            EXPECT_EQ(geoharm_test::bitsOf(c) & ((1ull << 29) - 1), 0u) << "entry " << i;
            EXPECT_SAME_BITS(static_cast<double>(static_cast<float>(c)), c) << "entry " << i;
        }
    }
}

TEST(Tables, NonZeroPatternOfTheModel) {
    /* 63 cosine and 54 sine values, all within 2 <= n <= 10, m <= n, none
       with m = 0 in the sine table. */
    int nonZeroC = 0, nonZeroS = 0;
    for (int m = 0; m <= 10; m++) {
        for (int n = 0; n <= 10; n++) {
            const bool inModel = n >= 2 && m <= n;
            if (coefC(n, m) != 0.0) nonZeroC++;
            if (coefS(n, m) != 0.0) nonZeroS++;
            if (!inModel) {
                EXPECT_SAME_BITS(coefC(n, m), 0.0) << n << "," << m;
                EXPECT_SAME_BITS(coefS(n, m), 0.0) << n << "," << m;
            } else {
                EXPECT_NE(coefC(n, m), 0.0) << n << "," << m;
                EXPECT_EQ(coefS(n, m) != 0.0, m > 0) << n << "," << m;
            }
        }
    }
    EXPECT_EQ(nonZeroC, 63);
    EXPECT_EQ(nonZeroS, 54);
}

TEST(Tables, SpotValuesAtTheCornersOfTheTable) {
    /* Column-major layout: a row/column swap would move these. */
    EXPECT_SAME_BITS(coefC(2, 1), -2.4140001109174136e-10);
    EXPECT_SAME_BITS(coefS(2, 1), 1.5430999811272272e-09);
    EXPECT_SAME_BITS(coefC(10, 0), 2.4114544316944375e-07);
    EXPECT_SAME_BITS(coefS(9, 8), -1.0085697535922207e-15);
    EXPECT_SAME_BITS(coefC(10, 10), 4.177296768804068e-16);
    EXPECT_SAME_BITS(coefS(10, 10), -9.977968709316853e-17);
}

TEST(Tables, FactorTable) {
    for (int m = 1; m <= 10; m++) {
        for (int n = 1; n <= 10; n++) {
            const double want = m <= n ? static_cast<double>((n - m + 1) * (n - m + 2)) : 0.0;
            EXPECT_SAME_BITS(geoharm::fac(n, m), want) << n << "," << m;
        }
    }
    EXPECT_EQ(geoharm::fac(10, 1), 110.0);
    EXPECT_EQ(geoharm::FAC[9], 110.0); /* (n, m) = (10, 1), column-major */
}
