/*
 * degree_factors.cpp - the recursion's factors of one degree, and the
 * register of those made, one per degree, shared while held.
 */
#include "models/degree_factors.h"

#include <atomic>
#include <cmath>
#include <cstdlib>

#include "kernels/scalar_lane.h"
#include "machine/spin_lock.h"
#include "models/double_double.h"
#include "models/model_layout.h"
#include "models/model_scaling.h"
#include "models/plain_new.h"
#include "models/polar_cap.h"

namespace geoharm {

namespace {

/* One degree's factors, in one allocation, with the count of holders. */
struct Entry {
    DegreeFactors factors;
    int holders;
    Entry* next;
};

Entry* entries = nullptr;
SpinLock registryLock;

/* sqrt(num/den) as a pair, num and den integers below 2^53. */
Pair2<double> rootOfRatio(double num, double den) {
    const double q = num / den;
    const Pair2<double> qd = exactProduct<ScalarLane>(q, den);
    const double ql = ((num - qd.hi) - qd.lo) / den; /* num - q den is a double */
    const double s = std::sqrt(q);
    const Pair2<double> ss = exactProduct<ScalarLane>(s, s);
    const double sl = (((q - ss.hi) - ss.lo) + ql) / (s + s);
    return renormalized<ScalarLane>(s, sl);
}

/* a(n,m), b(n,m) as pairs (zero where the doubles are zero), into
   pa[2n], pa[2n+1] and pb likewise, n = 0..L. */
void fillPairs(int L, int m, double* pa, double* pb) {
    for (int n = 0; n <= L; n++) {
        Pair2<double> a{0.0, 0.0}, b{0.0, 0.0};
        if (n > m) {
            const double n2 = 2.0 * n;
            a = rootOfRatio((n2 + 1.0) * (n2 - 1.0), static_cast<double>(n - m) * static_cast<double>(n + m));
            if (n > m + 1)
                b = rootOfRatio((n2 + 1.0) * static_cast<double>(n + m - 1) * static_cast<double>(n - m - 1),
                                static_cast<double>(n - m) * static_cast<double>(n + m) * (n2 - 3.0));
        }
        pa[2 * n] = a.hi;
        pa[2 * n + 1] = a.lo;
        pb[2 * n] = b.hi;
        pb[2 * n + 1] = b.lo;
    }
}

/* Makes the factors of degree L in `memory` (layoutSize(L) * 2 doubles,
   then the seeds). */
void fill(int L, double* a, double* b, double* seed) {
    for (int g = 0; g < groupCount(L); g++) {
        for (int n = GROUP_ORDERS * g; n <= L; n++) {
            for (int j = 0; j < GROUP_ORDERS; j++) {
                const int m = GROUP_ORDERS * g + j;
                const std::size_t i = groupStart(L, g) + static_cast<std::size_t>(GROUP_ORDERS) *
                                                              static_cast<std::size_t>(n - GROUP_ORDERS * g) +
                                      static_cast<std::size_t>(j);
                a[i] = 0.0;
                b[i] = 0.0;
                if (m >= n) continue;
                const double n2 = 2.0 * n;
                a[i] = std::sqrt(((n2 + 1.0) * (n2 - 1.0)) / (static_cast<double>(n - m) * static_cast<double>(n + m)));
                if (n > m + 1) {
                    const double num = (n2 + 1.0) * static_cast<double>(n + m - 1) * static_cast<double>(n - m - 1);
                    const double den = static_cast<double>(n - m) * static_cast<double>(n + m) * (n2 - 3.0);
                    b[i] = std::sqrt(num / den);
                }
            }
        }
    }
    const int orders = GROUP_ORDERS * groupCount(L);
    double sectoral = 1.0;
    for (int m = 0; m < orders; m++) {
        if (m == 1) sectoral = std::sqrt(3.0);
        if (m >= 2) sectoral = std::sqrt((2.0 * m + 1.0) / (2.0 * m)) * sectoral;
        seed[m] = m <= L ? sectoral * COLUMN_SCALE : 0.0;
    }
}

}  // namespace

const DegreeFactors* acquireDegreeFactors(int L) {
    const SpinLocked held(registryLock);
    for (Entry* e = entries; e != nullptr; e = e->next) {
        if (e->factors.maxDegree == L) {
            e->holders++;
            return &e->factors;
        }
    }
    const std::size_t size = layoutSize(L);
    const std::size_t orders = static_cast<std::size_t>(GROUP_ORDERS) * static_cast<std::size_t>(groupCount(L));
    const std::size_t pairs = 4 * POLAR_PAIR_ORDERS * (static_cast<std::size_t>(L) + 1);
    Entry* e = plainNew<Entry>();
    double* memory = static_cast<double*>(std::malloc((2 * size + orders + pairs) * sizeof(double)));
    if (e == nullptr || memory == nullptr) {
        plainDelete(e);
        std::free(memory);
        return nullptr;
    }
    fill(L, memory, memory + size, memory + 2 * size);
    e->factors = DegreeFactors{L, memory, memory + size, memory + 2 * size, {}, {}, {}};
    double* pairMemory = memory + 2 * size + orders;
    const std::size_t column = 2 * (static_cast<std::size_t>(L) + 1);
    for (int m = 0; m < POLAR_PAIR_ORDERS; m++) {
        double* pa = pairMemory + 2 * m * column;
        double* pb = pa + column;
        fillPairs(L, m, pa, pb);
        e->factors.pairA[m] = pa;
        e->factors.pairB[m] = pb;
    }
    /* Abar(0,0) = 1, Abar(1,1) = sqrt(3), Abar(m,m) = sqrt((2m+1)/(2m))
       Abar(m-1,m-1), as pairs, scaled exactly. */
    Pair2<double> sectoral{1.0, 0.0};
    for (int m = 0; m < POLAR_PAIR_ORDERS; m++) {
        if (m == 1) sectoral = rootOfRatio(3.0, 1.0);
        if (m >= 2) sectoral = pairProduct<ScalarLane>(rootOfRatio(2.0 * m + 1.0, 2.0 * m), sectoral);
        e->factors.pairSeed[m][0] = sectoral.hi * COLUMN_SCALE;
        e->factors.pairSeed[m][1] = sectoral.lo * COLUMN_SCALE;
    }
    e->holders = 1;
    e->next = entries;
    entries = e;
    return &e->factors;
}

void releaseDegreeFactors(const DegreeFactors* factors) {
    if (factors == nullptr) return;
    Entry* gone = nullptr;
    {
        const SpinLocked held(registryLock);
        for (Entry** p = &entries; *p != nullptr; p = &(*p)->next) {
            if (&(*p)->factors != factors) continue;
            if (--(*p)->holders == 0) {
                gone = *p;
                *p = gone->next;
            }
            break;
        }
    }
    if (gone != nullptr) {
        std::free(const_cast<double*>(gone->factors.a));
        plainDelete(gone);
    }
}

}  // namespace geoharm
