// SPDX-License-Identifier: GPL-3.0-or-later
// Ceres Solver minimises (Levenberg-Marquardt with a robust loss per point and bounds per
// parameter, derivatives by automatic differentiation) and gives the covariance of the
// period and epoch; it is already the fit's minimiser.
#include "analysis/eclipse_model.h"

#include <ceres/ceres.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

namespace orvanta::analysis {

namespace {

double valueOf(double x) {
    return x;
}
template <typename T, int N> double valueOf(const ceres::Jet<T, N>& x) {
    return x.a;
}

/// The dip of one eclipse, 0 to 1, at `phase` cycles from its minimum.
template <typename T> T dip(const T& phase, const T& width, const T& kurtosis) {
    using std::cosh;
    using std::exp;
    using std::log;
    const T z = phase / width;
    // exp(1 - cosh 30) underflows to 0: nothing of the eclipse, and no infinite slopes.
    if (std::abs(valueOf(z)) > 30) return T(0);
    const T base = 1.0 - exp(1.0 - cosh(z));
    return 1.0 - exp(kurtosis * log(base + 1e-300));
}

/// The phase of t from the nearest minimum of an eclipse at `epoch` + k `period`, in cycles.
template <typename T> T phaseFrom(double t, const T& epoch, const T& period, const T& offset) {
    const T x = (t - epoch) / period - offset;
    return x - std::round(valueOf(x));
}

/// Parameters: a = {period, epoch}; b = {level, depth, width, kurtosis of the first
/// eclipse, depth, width, kurtosis of the second, its phase after the first}.
template <typename T> T modelAt(double t, const T* a, const T* b) {
    const T zero(0);
    return b[0] + b[1] * dip(phaseFrom(t, a[1], a[0], zero), b[2], b[3]) +
           b[4] * dip(phaseFrom(t, a[1], a[0], b[7]), b[5], b[6]);
}

struct PointResidual {
    double t, y, scale;
    template <typename T> bool operator()(const T* a, const T* b, T* residual) const {
        residual[0] = (y - modelAt(t, a, b)) / scale;
        return true;
    }
};

constexpr double HuberK = 1.345;
/// Points outside the eclipses kept at most, to pin the level down.
constexpr std::size_t OutsideKept = 4000;

} // namespace

double eclipseModelAt(const EclipseModel& m, double time) {
    const double a[2] = {m.period, m.epoch};
    const double b[8] = {
        m.level,           m.primary.depth,   m.primary.width,      m.primary.kurtosis,
        m.secondary.depth, m.secondary.width, m.secondary.kurtosis, m.secondaryPhase};
    return modelAt(time, a, b);
}

std::optional<EclipseModel> fitEclipseModel(std::span<const double> time,
                                            std::span<const double> dimming,
                                            const EclipseModel& start, double noise) {
    if (!(start.period > 0) || !(noise > 0) || !(start.primary.width > 0) ||
        !(start.secondary.width > 0))
        return std::nullopt;
    double a[2] = {start.period, start.epoch};
    double b[8] = {start.level,
                   start.primary.depth,
                   start.primary.width,
                   start.primary.kurtosis,
                   start.secondary.depth,
                   start.secondary.width,
                   start.secondary.kurtosis,
                   start.secondaryPhase};
    const double reach1 = std::min(4 * start.primary.width, 0.25);
    const double reach2 = std::min(4 * start.secondary.width, 0.25);
    std::vector<std::size_t> near, outside;
    const std::size_t n = std::min(time.size(), dimming.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double u1 = std::abs(phaseFrom(time[i], a[1], a[0], 0.0));
        const double u2 = std::abs(phaseFrom(time[i], a[1], a[0], b[7]));
        (u1 < reach1 || u2 < reach2 ? near : outside).push_back(i);
    }
    if (near.size() < 10) return std::nullopt;
    const std::size_t stride = std::max<std::size_t>(1, outside.size() / OutsideKept);

    ceres::Problem::Options options;
    options.loss_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
    ceres::Problem problem(options);
    ceres::HuberLoss loss(HuberK);
    auto add = [&](std::size_t i) {
        problem.AddResidualBlock(new ceres::AutoDiffCostFunction<PointResidual, 1, 2, 8>(
                                     new PointResidual{time[i], dimming[i], noise}),
                                 &loss, a, b);
    };
    for (const std::size_t i : near)
        add(i);
    for (std::size_t k = 0; k < outside.size(); k += stride)
        add(outside[k]);
    // Depths not below nothing, widths within a quarter cycle, kurtosis from a cusp to a
    // flat bottom, the second eclipse well apart from the first.
    problem.SetParameterLowerBound(b, 1, 0);
    problem.SetParameterLowerBound(b, 4, 0);
    for (const int w : {2, 5}) {
        problem.SetParameterLowerBound(b, w, 1e-4);
        problem.SetParameterUpperBound(b, w, 0.25);
    }
    for (const int k : {3, 6}) {
        problem.SetParameterLowerBound(b, k, 0.2);
        problem.SetParameterUpperBound(b, k, 8);
    }
    problem.SetParameterLowerBound(b, 7, 0.02);
    problem.SetParameterUpperBound(b, 7, 0.98);

    ceres::Solver::Options solve;
    solve.linear_solver_type = ceres::DENSE_QR;
    solve.max_num_iterations = 60;
    solve.num_threads = 1;
    solve.logging_type = ceres::SILENT;
    ceres::Solver::Summary summary;
    ceres::Solve(solve, &problem, &summary);
    if (!summary.IsSolutionUsable() || !(b[1] > 0)) return std::nullopt;

    // The covariance of period and epoch, the shapes held (symmetric dips: their shapes
    // and their times hardly correlate), scaled by the scatter about the fit.
    problem.SetParameterBlockConstant(b);
    ceres::Covariance::Options covarianceOptions;
    covarianceOptions.algorithm_type = ceres::DENSE_SVD;
    covarianceOptions.num_threads = 1;
    ceres::Covariance covariance(covarianceOptions);
    const std::vector<std::pair<const double*, const double*>> blocks = {{a, a}};
    if (!covariance.Compute(blocks, &problem)) return std::nullopt;
    double c[4];
    covariance.GetCovarianceBlock(a, a, c);
    const auto used = static_cast<double>(problem.NumResidualBlocks());
    const double scatter = std::max(1.0, 2 * summary.final_cost / std::max(used - 10, 1.0));

    EclipseModel m;
    m.period = a[0];
    m.epoch = a[1];
    m.level = b[0];
    m.primary = {b[1], b[2], b[3]};
    m.secondary = {b[4], b[5], b[6]};
    m.secondaryPhase = b[7];
    m.periodError = std::sqrt(std::max(c[0], 0.0) * scatter);
    m.epochError = std::sqrt(std::max(c[3], 0.0) * scatter);
    if (!std::isfinite(m.periodError) || !std::isfinite(m.epochError)) return std::nullopt;
    return m;
}

} // namespace orvanta::analysis
