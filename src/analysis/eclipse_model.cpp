// SPDX-License-Identifier: GPL-3.0-or-later
// Ceres Solver minimises (Levenberg-Marquardt with bounds per parameter) and gives the
// covariance of the period and epoch; it is already the fit's minimiser. Huber's loss and
// the derivatives are written here, all the points in one block: a few milliseconds a fit.
#include "analysis/eclipse_model.h"

#include <ceres/ceres.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace orvanta::analysis {

namespace {

/// The phase of t from the nearest minimum of an eclipse at `epoch` + k `period` +
/// `offset` cycles, in cycles.
double phaseFrom(double t, double epoch, double period, double offset) {
    const double x = (t - epoch) / period - offset;
    return x - std::round(x);
}

/// The dip of one eclipse, 0 to 1, at `phase` cycles from its minimum, and its slopes
/// with the phase and the kurtosis (when asked for).
struct Dip {
    double value = 0, byPhase = 0, byWidth = 0, byKurtosis = 0;
};

Dip dip(double phase, double width, double kurtosis) {
    Dip d;
    const double z = phase / width;
    // exp(1 - cosh 30) underflows to 0: nothing of the eclipse there.
    if (std::abs(z) > 30) return d;
    const double q = std::exp(1 - std::cosh(z));
    const double base = 1 - q;
    if (!(base > 0)) { // the very minimum: the dip is whole and flat
        d.value = 1;
        return d;
    }
    const double power = std::exp(kurtosis * std::log(base));
    d.value = 1 - power;
    const double byZ = -kurtosis * power / base * q * std::sinh(z);
    d.byPhase = byZ / width;
    d.byWidth = -byZ * z / width;
    d.byKurtosis = -power * std::log(base);
    return d;
}

/// Parameters: a = {period, epoch}; b = {level, depth, width, kurtosis of the first
/// eclipse, depth, width, kurtosis of the second, its phase after the first}.
double modelAt(double t, const double* a, const double* b) {
    return b[0] + b[1] * dip(phaseFrom(t, a[1], a[0], 0), b[2], b[3]).value +
           b[4] * dip(phaseFrom(t, a[1], a[0], b[7]), b[5], b[6]).value;
}

constexpr double HuberK = 1.345;
/// Points outside the eclipses kept at most, to pin the level down.
constexpr std::size_t OutsideKept = 2000;

/// Every point's residual (observed less model, over the noise) under Huber's loss, as
/// the square root of the loss with its sign, so that the cost is the robust one, and its
/// derivatives by hand: one block for all the points.
class Residuals final : public ceres::CostFunction {
public:
    Residuals(std::vector<double> t, std::vector<double> y, double noise)
        : t_(std::move(t)), y_(std::move(y)), noise_(noise) {
        set_num_residuals(static_cast<int>(t_.size()));
        mutable_parameter_block_sizes()->push_back(2);
        mutable_parameter_block_sizes()->push_back(8);
    }
    bool Evaluate(double const* const* parameters, double* residuals,
                  double** jacobians) const override {
        const double* a = parameters[0];
        const double* b = parameters[1];
        const double period = a[0], epoch = a[1];
        for (std::size_t i = 0; i < t_.size(); ++i) {
            const Dip d1 = dip(phaseFrom(t_[i], epoch, period, 0), b[2], b[3]);
            const Dip d2 = dip(phaseFrom(t_[i], epoch, period, b[7]), b[5], b[6]);
            const double r = (y_[i] - b[0] - b[1] * d1.value - b[4] * d2.value) / noise_;
            double scale = 1; // of the derivatives, under the loss
            if (std::abs(r) <= HuberK) {
                residuals[i] = r;
            } else {
                const double rho = 2 * HuberK * std::abs(r) - HuberK * HuberK;
                residuals[i] = std::copysign(std::sqrt(rho), r);
                scale = HuberK / std::abs(r) * r / residuals[i];
            }
            if (jacobians == nullptr) continue;
            // d residual = -d model / noise
            const double k = -scale / noise_;
            const double byPhase = b[1] * d1.byPhase + b[4] * d2.byPhase;
            if (double* ja = jacobians[0]) {
                ja[2 * i] = k * byPhase * -(t_[i] - epoch) / (period * period);
                ja[2 * i + 1] = k * byPhase * (-1 / period);
            }
            if (double* jb = jacobians[1]) {
                double* row = jb + 8 * i;
                row[0] = k;
                row[1] = k * d1.value;
                row[2] = k * b[1] * d1.byWidth;
                row[3] = k * b[1] * d1.byKurtosis;
                row[4] = k * d2.value;
                row[5] = k * b[4] * d2.byWidth;
                row[6] = k * b[4] * d2.byKurtosis;
                row[7] = k * b[4] * -d2.byPhase;
            }
        }
        return true;
    }

private:
    std::vector<double> t_, y_;
    double noise_;
};

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
                                            const EclipseModel& start, double noise,
                                            const EclipseFitOptions& fitOptions) {
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
    const std::size_t every =
        fitOptions.mostPoints > 0 ? std::max<std::size_t>(1, n / fitOptions.mostPoints) : 1;
    for (std::size_t i = 0; i < n; i += every) {
        const double u1 = std::abs(phaseFrom(time[i], a[1], a[0], 0.0));
        const double u2 = std::abs(phaseFrom(time[i], a[1], a[0], b[7]));
        (u1 < reach1 || u2 < reach2 ? near : outside).push_back(i);
    }
    if (near.size() < 10) return std::nullopt;
    const std::size_t stride = std::max<std::size_t>(1, outside.size() / OutsideKept);

    std::vector<double> t, y;
    for (const std::size_t i : near) {
        t.push_back(time[i]);
        y.push_back(dimming[i]);
    }
    for (std::size_t k = 0; k < outside.size(); k += stride) {
        t.push_back(time[outside[k]]);
        y.push_back(dimming[outside[k]]);
    }
    const std::size_t used = t.size();
    ceres::Problem problem;
    problem.AddResidualBlock(new Residuals(std::move(t), std::move(y), noise), nullptr, a, b);
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
    solve.max_num_iterations = fitOptions.iterations;
    solve.num_threads = 1;
    solve.logging_type = ceres::SILENT;
    ceres::Solver::Summary summary;
    // First the period held: the shapes and the epoch settle on the eclipses as folded,
    // then the period moves too; a period free from the start can run an eclipse's
    // model off to a neighbouring dip.
    problem.SetManifold(a, new ceres::SubsetManifold(2, {0}));
    ceres::Solve(solve, &problem, &summary);
    if (!summary.IsSolutionUsable()) return std::nullopt;
    problem.SetManifold(a, nullptr);
    ceres::Solve(solve, &problem, &summary);
    if (!summary.IsSolutionUsable() || !(b[1] > 0)) return std::nullopt;

    // The covariance of period and epoch, the shapes held (symmetric dips: their shapes
    // and their times hardly correlate), scaled by the scatter about the fit.
    problem.SetParameterBlockConstant(b);
    ceres::Covariance::Options covarianceOptions;
    covarianceOptions.algorithm_type = ceres::DENSE_SVD;
    covarianceOptions.num_threads = 1;
    covarianceOptions.null_space_rank = -1; // directions the data leave free: no error
    ceres::Covariance covariance(covarianceOptions);
    const std::vector<std::pair<const double*, const double*>> blocks = {{a, a}};
    if (!covariance.Compute(blocks, &problem)) return std::nullopt;
    double c[4];
    covariance.GetCovarianceBlock(a, a, c);
    const double scatter =
        std::max(1.0, 2 * summary.final_cost / std::max(static_cast<double>(used) - 10, 1.0));

    EclipseModel m;
    m.period = a[0];
    m.epoch = a[1];
    m.level = b[0];
    m.primary = {b[1], b[2], b[3]};
    m.secondary = {b[4], b[5], b[6]};
    m.secondaryPhase = b[7];
    m.chiSquare = 2 * summary.final_cost;
    m.points = used;
    m.periodError = std::sqrt(std::max(c[0], 0.0) * scatter);
    m.epochError = std::sqrt(std::max(c[3], 0.0) * scatter);
    if (!std::isfinite(m.periodError) || !std::isfinite(m.epochError)) return std::nullopt;
    return m;
}

} // namespace orvanta::analysis
