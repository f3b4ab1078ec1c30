// SPDX-License-Identifier: GPL-3.0-or-later
// The hidden light of a limb-darkened star, by Green's theorem.
//
// Write the intensity as a polynomial in mu, I = a0 + a1 mu + a2 mu^2, and, with r the
// distance from the star's centre in stellar radii, H(r) = integral from 0 to r of I(s) s ds.
// The vector field (H(r) / r^2) (x, y) has divergence I, so the light of any region Omega is
// the line integral of H(r) d(phi) around its boundary, phi the polar angle about the star's
// centre. The boundary of the hidden region is an arc of the star's limb, where H = H(1) and
// the integral is H(1) times the arc's angle, and an arc of the occulting circle inside the
// star. On that circle, at angle t about the occulter's centre (d + p cos t, p sin t),
// d(phi)/dt = (p^2 + d p cos t) / r^2 with r^2 = d^2 + p^2 + 2 d p cos t, so the second arc is
// the one-dimensional integral of h(t) = (H(r) / r^2) (p^2 + d p cos t), which is smooth
// except at the limb, where mu = sqrt(1 - r^2) vanishes like the square root of the distance
// to the arc's end. The substitution t = pi - L cos(theta) removes that square root, and
// Gauss-Legendre rules of doubling order are taken until two successive ones agree to 1e-12
// of the star's power. The tests hold the result against an independent integration over the
// disc at every kind of overlap, contact and tangency included.
//
// The same quantity has a closed form in complete elliptic integrals (K. Mandel and E. Agol,
// "Analytic light curves for planetary transit searches", ApJ 580, L171, 2002); the line
// integral is used here because it has no special cases at p = 1/2, d = p or d = 1 - p.
#include "physics/limb_darkening.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

namespace orvanta::physics {

namespace {

constexpr double kPi = std::numbers::pi;

/// The nodes and weights of the n-point Gauss-Legendre rule on [-1, 1], by Newton's method
/// on the Legendre polynomial from Tricomi's first guess.
struct Rule {
    std::vector<double> x, w;
};

Rule gaussLegendre(int n) {
    Rule r;
    r.x.resize(n);
    r.w.resize(n);
    for (int i = 0; i < (n + 1) / 2; ++i) {
        double z = std::cos(kPi * (i + 0.75) / (n + 0.5));
        double dp = 1;
        for (int it = 0; it < 100; ++it) {
            double p0 = 1, p1 = 0;
            for (int k = 1; k <= n; ++k) {
                const double p2 = p1;
                p1 = p0;
                p0 = ((2.0 * k - 1) * z * p1 - (k - 1.0) * p2) / k;
            }
            dp = n * (z * p0 - p1) / (z * z - 1);
            const double step = p0 / dp;
            z -= step;
            if (std::fabs(step) < 1e-16) break;
        }
        r.x[i] = -z;
        r.x[n - 1 - i] = z;
        r.w[i] = r.w[n - 1 - i] = 2 / ((1 - z * z) * dp * dp);
    }
    return r;
}

constexpr std::array<int, 7> kOrders{16, 32, 64, 128, 256, 512, 1024};

const std::vector<Rule>& rules() {
    static const std::vector<Rule> all = [] {
        std::vector<Rule> v;
        for (int n : kOrders)
            v.push_back(gaussLegendre(n));
        return v;
    }();
    return all;
}

/// The law as a0 + a1 mu + a2 mu^2.
struct Polynomial {
    double a0, a1, a2;
    explicit Polynomial(const LimbDarkening& l)
        : a0(1 - l.u1 - l.u2), a1(l.u1 + 2 * l.u2), a2(-l.u2) {}
    /// H(1): the light of the whole disc is 2 pi H(1) = pi (1 - u1 / 3 - u2 / 6).
    [[nodiscard]] double rim() const { return a0 / 2 + a1 / 3 + a2 / 4; }
    /// H(r) / r^2 from r^2, without cancellation near the centre:
    /// the integral of mu s ds is (1 - mu^3) / 3 = r^2 (1 + mu + mu^2) / (3 (1 + mu)).
    [[nodiscard]] double hOverR2(double r2) const {
        const double mu = std::sqrt(std::max(0.0, 1 - r2));
        return a0 / 2 + a1 * (1 + mu + mu * mu) / (3 * (1 + mu)) + a2 * (0.5 - r2 / 4);
    }
};

/// Twice the integral of h(t) from t0 to pi, by the rule: the occulting circle's arc inside
/// the star, both halves. With t0 = 0 the circle lies wholly inside and h is smooth and
/// periodic, so t itself is the variable; otherwise t = pi - L cos(theta), 0 <= theta <= pi/2.
double arcIntegral(const Polynomial& law, double p, double d, double t0, const Rule& rule) {
    const double L = kPi - t0;
    auto h = [&](double t) {
        const double c = std::cos(t);
        const double r2 = d * d + p * p + 2 * d * p * c;
        return law.hOverR2(r2) * (p * p + d * p * c);
    };
    double sum = 0;
    const std::size_t n = rule.x.size();
    if (t0 == 0) {
        for (std::size_t i = 0; i < n; ++i)
            sum += rule.w[i] * h(kPi / 2 * (rule.x[i] + 1));
        return 2 * (kPi / 2) * sum;
    }
    const double half = kPi / 4;
    for (std::size_t i = 0; i < n; ++i) {
        const double theta = half * (rule.x[i] + 1);
        sum += rule.w[i] * h(kPi - L * std::cos(theta)) * std::sin(theta);
    }
    return 2 * half * L * sum;
}

double clampUnit(double x) {
    return std::clamp(x, -1.0, 1.0);
}

} // namespace

std::string limbDarkeningProblem(const LimbDarkening& law) {
    if (!std::isfinite(law.u1) || !std::isfinite(law.u2))
        return "a limb-darkening coefficient is not a number";
    // I(x) = 1 - u1 x - u2 x^2 with x = 1 - mu in 0..1: its least value is at an end or,
    // for u2 < 0, at the vertex x = -u1 / (2 u2).
    auto I = [&](double x) { return 1 - law.u1 * x - law.u2 * x * x; };
    double least = std::min(I(0), I(1));
    if (law.u2 < 0) {
        const double vertex = -law.u1 / (2 * law.u2);
        if (vertex > 0 && vertex < 1) least = std::min(least, I(vertex));
    }
    if (least < 0) return "the limb darkening makes the star's light negative near its limb";
    return {};
}

double hiddenFraction(const LimbDarkening& ld, double p, double d) {
    if (!(p > 0) || d >= 1 + p) return 0;
    if (d <= p - 1) return 1;
    const Polynomial law(ld);
    const double whole = 2 * kPi * law.rim();
    const bool inside = d <= 1 - p; // the occulter lies within the star's outline
    double limbAngle = 0, t0 = 0;
    if (!inside) {
        // Both arcs end at the same crossing (x, y) of the two circles, so that near a
        // tangency, where the crossing is ill-determined, the two arcs still meet. 1 - p^2 as
        // (1 - p)(1 + p): exact for p near 1, where 1 + d^2 - p^2 would lose d^2.
        const double x = clampUnit(((1 - p) * (1 + p) + d * d) / (2 * d));
        const double y = std::sqrt((1 - x) * (1 + x));
        limbAngle = 2 * std::atan2(y, x);
        t0 = std::atan2(y, x - d);
    }
    const double rim = law.rim() * limbAngle;
    const auto& all = rules();
    double previous = arcIntegral(law, p, d, t0, all[0]);
    double hidden = previous;
    for (std::size_t k = 1; k < all.size(); ++k) {
        hidden = arcIntegral(law, p, d, t0, all[k]);
        if (std::fabs(hidden - previous) <= 1e-12 * std::fabs(whole)) break;
        previous = hidden;
    }
    return std::clamp((rim + hidden) / whole, 0.0, 1.0);
}

} // namespace orvanta::physics
