/*
 * quad_reference.cpp - the 113-bit solid-harmonic reference
 * (quad_reference.h gives the relations and their factors).
 */
#include "quad_reference.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace geoharm_test {

namespace {

struct QComplex {
    Quad re = 0, im = 0;
};

/* The three ladder operators: d/dz, D+ = d/dx + i d/dy, D- = d/dx - i d/dy. */
enum Operator { DZ = 0, DPLUS = 1, DMINUS = 2 };

/* f H(n,m), or f conj(H(n,m)): a harmonic after steps of the ladder, the
   1/R of each step left out. */
struct Rung {
    Quad f;
    int n, m;
    bool conj;
};

/* d/dx = (D+ + D-)/2, d/dy = (D+ - D-)/(2i) = -i/2 D+ + i/2 D-, d/dz: the
   weight of each operator in the derivative along axis i. */
const QComplex AXIS_WEIGHT[3][3] = {
    /* DZ        DPLUS             DMINUS */
    {{0, 0}, {0.5, 0}, {0.5, 0}},   /* x */
    {{0, 0}, {0, -0.5}, {0, 0.5}},  /* y */
    {{1, 0}, {0, 0}, {0, 0}},       /* z */
};

/* Sums over the terms of (C - iS) times: the harmonic, its image under
   each operator, under each pair of operators (first, second). */
struct Sums {
    QComplex value;
    QComplex first[3];
    QComplex second[3][3];
};

/* sum += f v */
void add(QComplex& sum, Quad f, const QComplex& v) {
    sum.re += f * v.re;
    sum.im += f * v.im;
}

/* Re[w x] */
Quad realOfProduct(const QComplex& w, const QComplex& x) { return w.re * x.re - w.im * x.im; }

/* U, a, T from the sums: a_i = (GM/R^2) Re[sum_o w_i(o) first[o]],
   T(i,j) = (GM/R^3) Re[sum_o,p w_i(o) w_j(p) second[o][p]]. */
QuadField fieldOf(const Sums& s, Quad gm, Quad radius) {
    QuadField f;
    const Quad k0 = gm / radius, k1 = k0 / radius, k2 = k1 / radius;
    f.U = k0 * s.value.re;
    for (int i = 0; i < 3; i++) {
        Quad ai = 0;
        for (int o = 0; o < 3; o++) ai += realOfProduct(AXIS_WEIGHT[i][o], s.first[o]);
        f.a[i] = k1 * ai;
        for (int j = 0; j < 3; j++) {
            Quad tij = 0;
            for (int o = 0; o < 3; o++)
                for (int p = 0; p < 3; p++) {
                    const QComplex& wi = AXIS_WEIGHT[i][o];
                    const QComplex& wj = AXIS_WEIGHT[j][p];
                    const QComplex w{wi.re * wj.re - wi.im * wj.im, wi.re * wj.im + wi.im * wj.re};
                    tij += realOfProduct(w, s.second[o][p]);
                }
            f.T[i][j] = k2 * tij;
        }
    }
    return f;
}

QuadField sumOf(const QuadField& a, const QuadField& b) {
    QuadField f;
    f.U = a.U + b.U;
    for (int i = 0; i < 3; i++) {
        f.a[i] = a.a[i] + b.a[i];
        for (int j = 0; j < 3; j++) f.T[i][j] = a.T[i][j] + b.T[i][j];
    }
    return f;
}

}  // namespace

QuadReference::QuadReference(const HarmonicModel& model)
    : QuadReference(model.gm, model.radius, model.maxDegree, QuadTable(model.C.begin(), model.C.end()),
                    QuadTable(model.S.begin(), model.S.end())) {}

QuadReference::QuadReference(Quad gm, Quad radius, int maxDegree, QuadTable C, QuadTable S)
    : gm_(gm), radius_(radius), maxDegree_(maxDegree), C_(std::move(C)), S_(std::move(S)) {
    if (maxDegree < 0 || C_.size() != triangularSize(maxDegree) || S_.size() != triangularSize(maxDegree))
        throw std::invalid_argument("QuadReference: tables of degree " + std::to_string(maxDegree) +
                                    " need triangularSize(maxDegree) entries");
    makeFactors();
}

void QuadReference::makeFactors() {
    /* Every factor is a product of square roots of whole numbers up to
       2 maxDegree + 8 and their reciprocals, taken from two tables: one
       rounding per root, a few per product. */
    const int top = 2 * maxDegree_ + 8;
    QuadTable root(static_cast<std::size_t>(top) + 1), inverse(static_cast<std::size_t>(top) + 1);
    for (int k = 1; k <= top; k++) {
        root[static_cast<std::size_t>(k)] = quadSqrt(k);
        inverse[static_cast<std::size_t>(k)] = 1 / root[static_cast<std::size_t>(k)];
    }
    auto sq = [&root](int k) { return root[static_cast<std::size_t>(k)]; };
    auto isq = [&inverse](int k) { return inverse[static_cast<std::size_t>(k)]; };
    const Quad half = isq(2), two = sq(2);

    const int recursionDegree = maxDegree_ + 2, ladderDegree = maxDegree_ + 1;
    A_.assign(triangularSize(recursionDegree), 0);
    B_.assign(triangularSize(recursionDegree), 0);
    for (int n = 1; n <= recursionDegree; n++)
        for (int m = 0; m <= n; m++) {
            const std::size_t k = triangularIndex(n, m);
            if (m == n) {
                A_[k] = n == 1 ? sq(3) : sq(2 * n + 1) * isq(2 * n);
            } else {
                A_[k] = sq(2 * n - 1) * sq(2 * n + 1) * isq(n - m) * isq(n + m);
                if (n - m >= 2)
                    B_[k] = sq(2 * n + 1) * sq(n + m - 1) * sq(n - m - 1) * isq(n - m) * isq(n + m) * isq(2 * n - 3);
            }
        }
    Z_.assign(triangularSize(ladderDegree), 0);
    P_.assign(triangularSize(ladderDegree), 0);
    Q_.assign(triangularSize(ladderDegree), 0);
    for (int n = 0; n <= ladderDegree; n++)
        for (int m = 0; m <= n; m++) {
            const std::size_t k = triangularIndex(n, m);
            const Quad common = sq(2 * n + 1) * isq(2 * n + 3);
            Z_[k] = sq(n - m + 1) * sq(n + m + 1) * common;
            P_[k] = sq(n + m + 1) * sq(n + m + 2) * common;
            if (m == 0) P_[k] *= half;
            if (m >= 1) {
                Q_[k] = sq(n - m + 1) * sq(n - m + 2) * common;
                if (m == 1) Q_[k] *= two;
            }
        }
}

QuadEvaluation QuadReference::evaluate(const double position[3], int N, int M) const {
    const Quad p[3] = {position[0], position[1], position[2]};
    return evaluate(p, N, M);
}

QuadEvaluation QuadReference::evaluate(const Quad position[3], int N, int M) const {
    if (N < 0 || N > maxDegree_ || M < 0)
        throw std::invalid_argument("QuadReference: N must be 0.." + std::to_string(maxDegree_) + " and M >= 0");
    if (M > N) M = N;
    const Quad x = position[0], y = position[1], z = position[2];
    const Quad r2 = x * x + y * y + z * z;
    const Quad r = quadSqrt(r2);
    const Quad s = radius_ / r2;
    const Quad sx = s * x, sy = s * y, sz = s * z, sR = s * radius_;

    /* The harmonics of degree 0..N+2 and order 0..min(n, M+2). */
    const int top = N + 2, topOrder = M + 2 < top ? M + 2 : top;
    AlignedVector<QComplex> H(triangularSize(top));
    auto at = [&H](int n, int m) -> QComplex& { return H[triangularIndex(n, m)]; };
    at(0, 0).re = radius_ / r;
    for (int m = 0; m <= topOrder; m++) {
        if (m > 0) {
            const QComplex& d = at(m - 1, m - 1);
            const Quad f = A_[triangularIndex(m, m)];
            at(m, m) = {f * (sx * d.re - sy * d.im), f * (sx * d.im + sy * d.re)};
        }
        for (int n = m + 1; n <= top; n++) {
            const std::size_t k = triangularIndex(n, m);
            const QComplex& h1 = at(n - 1, m);
            const Quad a = A_[k] * sz;
            QComplex& h = H[k];
            if (n == m + 1) {
                h = {a * h1.re, a * h1.im};
            } else {
                const QComplex& h2 = at(n - 2, m);
                const Quad b = B_[k] * sR;
                h = {a * h1.re - b * h2.re, a * h1.im - b * h2.im};
            }
        }
    }

    /* One step of the ladder from f H(n,m) or f conj(H(n,m)); on a
       conjugate D+ and D- trade places (D+- conj(H) = conj(D-+ H)). */
    auto step = [this](Operator op, const Rung& from) {
        if (from.conj && op != DZ) op = op == DPLUS ? DMINUS : DPLUS;
        const std::size_t k = triangularIndex(from.n, from.m);
        Rung next;
        if (op == DZ) {
            next = {-(from.f * Z_[k]), from.n + 1, from.m, false};
        } else if (op == DPLUS) {
            next = {-(from.f * P_[k]), from.n + 1, from.m + 1, false};
        } else if (from.m == 0) {
            next = {-(from.f * P_[k]), from.n + 1, 1, true};
        } else {
            next = {from.f * Q_[k], from.n + 1, from.m - 1, false};
        }
        next.conj = next.conj != from.conj;
        return next;
    };

    Sums degreeZero, higher;
    for (int n = 0; n <= N; n++) {
        Sums& sums = n == 0 ? degreeZero : higher;
        for (int m = 0; m <= n && m <= M; m++) {
            const std::size_t k = triangularIndex(n, m);
            /* S(n,0) multiplies W(n,0) = 0: left out. */
            const Quad C = C_[k], S = m == 0 ? 0 : S_[k];
            /* (C - iS) times each harmonic (or conjugate) the ladder
               reaches from (n, m), formed once: degree n + 0..2, order
               m - 2..m + 2.  The 13 sums below need 9 of them. */
            QComplex product[3][5][2];
            bool formed[3][5][2] = {};
            auto times = [&](const Rung& rung) -> const QComplex& {
                const int dn = rung.n - n, dm = rung.m - m + 2, c = rung.conj ? 1 : 0;
                QComplex& v = product[dn][dm][c];
                if (!formed[dn][dm][c]) {
                    const QComplex& h = at(rung.n, rung.m);
                    const Quad cu = C * h.re, sv = S * h.im, cv = C * h.im, su = S * h.re;
                    v = rung.conj ? QComplex{cu - sv, -(cv + su)} : QComplex{cu + sv, cv - su};
                    formed[dn][dm][c] = true;
                }
                return v;
            };
            const Rung base{1, n, m, false};
            const QComplex& v = times(base);
            sums.value.re += v.re;
            sums.value.im += v.im;
            for (int o = 0; o < 3; o++) {
                const Rung once = step(static_cast<Operator>(o), base);
                add(sums.first[o], once.f, times(once));
                for (int p = 0; p < 3; p++) {
                    const Rung twice = step(static_cast<Operator>(p), once);
                    add(sums.second[o][p], twice.f, times(twice));
                }
            }
        }
    }
    QuadEvaluation result;
    result.harmonic = fieldOf(higher, gm_, radius_);
    result.model = sumOf(fieldOf(degreeZero, gm_, radius_), result.harmonic);
    return result;
}

}  // namespace geoharm_test
