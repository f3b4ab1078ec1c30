// SPDX-License-Identifier: GPL-3.0-or-later
// Ceres Solver does the minimising: its trust-region Levenberg-Marquardt takes a robust
// loss per residual, bounds per parameter and a callback that can stop it. The model is
// not differentiable by automatic differentiation (it runs the window's own arithmetic),
// so one shared cache evaluates the whole curve, and its central-difference Jacobian, once
// per parameter vector; each point's residual block reads its row.
#include "fit/least_squares.h"

#include "core/cycle_phase.h"
#include "core/robust_stats.h"
#include "physics/light_constants.h"
#include "render/observed_overlay.h"

#include <Eigen/Dense>
#include <ceres/ceres.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace orvanta::fit {

namespace {

/// Huber's constant: 95 % efficiency on normal scatter.
constexpr double HuberK = 1.345;
/// Eigenvalues of the scaled normal matrix below this fraction of the largest are taken
/// as directions the data do not determine.
constexpr double NullRatio = 1e-10;
/// Steps every start takes before the best few go on.
constexpr int QuickIterations = 12;
/// How many starts go on to convergence.
constexpr std::size_t Refined = 2;

/// The residuals (observed less model, over the error) of every point at one parameter
/// vector: the free parameters, then the phase shift and the level. Remembers the last
/// vector, and its Jacobian when asked for one.
class Residuals {
public:
    Residuals(CurveModel& model, const Observations& data)
        : model_(model), data_(data), k_(model.parameters().size()), m_(k_ + 2),
          n_(data.phase.size()) {
        typical_.reserve(m_);
        for (const FitParameter* p : model.parameters())
            typical_.push_back(p->typical);
        typical_.push_back(0.001);                      // phase
        typical_.push_back(data.magnitudes ? 0.01 : 1); // level
    }
    [[nodiscard]] std::size_t size() const { return m_; }
    [[nodiscard]] std::size_t points() const { return n_; }

    /// The residuals at x into out; false where the model fails.
    bool at(const double* x, std::vector<double>& out) {
        values_.assign(x, x + k_);
        phases_.resize(n_);
        for (std::size_t i = 0; i < n_; ++i)
            phases_[i] = cyclePhase(data_.phase[i] + x[k_]);
        if (!model_.flux(values_, phases_, flux_)) return false;
        out.resize(n_);
        const double level = x[k_ + 1];
        for (std::size_t i = 0; i < n_; ++i) {
            if (!(flux_[i] > 0)) return false;
            const double model = data_.magnitudes ? -MagnitudeFactor * std::log10(flux_[i]) + level
                                                  : flux_[i] * level;
            const double e = data_.error.empty() || !(data_.error[i] > 0) ? 1 : data_.error[i];
            out[i] = (data_.value[i] - model) / e;
            if (!std::isfinite(out[i])) return false;
        }
        ++evaluations_;
        return true;
    }

    /// Brings the cache to x; false where the model fails there.
    bool ensure(const double* x, bool jacobian) {
        const bool same = have_ && std::memcmp(x, x_.data(), m_ * sizeof(double)) == 0;
        if (!same) {
            x_.assign(x, x + m_);
            have_ = false;
            haveJ_ = false;
            ok_ = at(x, r_);
            have_ = true;
        }
        if (!ok_) return false;
        if (jacobian && !haveJ_) {
            jacobianAt();
            haveJ_ = true;
        }
        return true;
    }
    [[nodiscard]] double r(std::size_t i) const { return r_[i]; }
    [[nodiscard]] double J(std::size_t i, std::size_t j) const { return J_[j * n_ + i]; }
    [[nodiscard]] const std::vector<double>& residuals() const { return r_; }
    /// Central differences for the covariance at the end; forward ones while searching.
    void setCentral(bool central) {
        if (central != central_) haveJ_ = false;
        central_ = central;
    }

private:
    void jacobianAt() {
        J_.assign(m_ * n_, 0.0);
        std::vector<double> x = x_, up, down;
        for (std::size_t j = 0; j < m_; ++j) {
            const double h = (central_ ? 1e-6 : 1e-7) * std::max(std::fabs(x_[j]), typical_[j]);
            x[j] = x_[j] + h;
            const bool okUp = at(x.data(), up);
            x[j] = x_[j] - h;
            const bool okDown = central_ || !okUp ? at(x.data(), down) : false;
            x[j] = x_[j];
            // One-sided where one side cannot be evaluated (a star touching its limit).
            for (std::size_t i = 0; i < n_; ++i) {
                if (okUp && okDown)
                    J_[j * n_ + i] = (up[i] - down[i]) / (2 * h);
                else if (okUp)
                    J_[j * n_ + i] = (up[i] - r_[i]) / h;
                else if (okDown)
                    J_[j * n_ + i] = (r_[i] - down[i]) / h;
            }
        }
    }

    CurveModel& model_;
    const Observations& data_;
    std::size_t k_, m_, n_;
    std::vector<double> typical_;
    std::vector<double> values_, phases_, flux_;
    std::vector<double> x_, r_, J_;
    bool have_ = false, haveJ_ = false, ok_ = false, central_ = false;
    long evaluations_ = 0;
};

/// One point's residual, read from the shared cache.
class PointCost final : public ceres::CostFunction {
public:
    PointCost(Residuals& all, std::size_t i) : all_(all), i_(i) {
        set_num_residuals(1);
        mutable_parameter_block_sizes()->push_back(static_cast<int>(all.size()));
    }
    bool Evaluate(double const* const* x, double* residual, double** jacobians) const override {
        const bool wantJ = jacobians != nullptr && jacobians[0] != nullptr;
        if (!all_.ensure(x[0], wantJ)) return false;
        residual[0] = all_.r(i_);
        if (wantJ)
            for (std::size_t j = 0; j < all_.size(); ++j)
                jacobians[0][j] = all_.J(i_, j);
        return true;
    }

private:
    Residuals& all_;
    std::size_t i_;
};

/// Stops the solver when the caller asks, and tells it how far the fit has got.
class Progress final : public ceres::IterationCallback {
public:
    Progress(const std::function<bool(double)>& tell, double from, double span)
        : tell_(tell), from_(from), span_(span) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        if (!tell_) return ceres::SOLVER_CONTINUE;
        const double done = std::min(1.0, static_cast<double>(s.iteration + 1) / 25.0);
        if (!tell_(from_ + span_ * done)) {
            stopped = true;
            return ceres::SOLVER_ABORT;
        }
        return ceres::SOLVER_CONTINUE;
    }
    bool stopped = false;

private:
    const std::function<bool(double)>& tell_;
    double from_, span_;
};

/// The robust standard deviation of residuals: 1.4826 times their median absolute
/// deviation from the median.
double robustScale(const std::vector<double>& r) {
    std::vector<double> v = r;
    const double centre = medianOf(v);
    for (double& x : v)
        x = std::fabs(x - centre);
    return 1.4826 * medianOf(v);
}

double huberCost(const std::vector<double>& r, double delta) {
    double cost = 0;
    for (double x : r) {
        const double a = std::fabs(x);
        cost += a <= delta ? x * x : 2 * delta * a - delta * delta;
    }
    return cost;
}

struct Solution {
    std::vector<double> x;
    std::vector<double> r;
    int iterations = 0;
    bool stopped = false;
    double cost = 0;
};

/// One start: least squares with a Huber loss whose scale follows the residuals, until the
/// scale settles (three rounds at most).
Solution solveFrom(Residuals& all, const CurveModel& model, std::vector<double> x,
                   const FitOptions& options, int rounds, int iterations, double from,
                   double span) {
    Solution s;
    const std::size_t m = all.size(), k = m - 2;
    std::vector<double> r;
    if (!all.at(x.data(), r)) return s;
    double scale = robustScale(r);
    for (int round = 0; round < rounds; ++round) {
        if (!(scale > 0)) scale = 1e-12;
        ceres::Problem::Options po;
        po.cost_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
        po.loss_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
        ceres::Problem problem(po);
        ceres::HuberLoss loss(HuberK * scale);
        std::vector<std::unique_ptr<PointCost>> costs;
        costs.reserve(all.points());
        for (std::size_t i = 0; i < all.points(); ++i) {
            costs.push_back(std::make_unique<PointCost>(all, i));
            problem.AddResidualBlock(costs.back().get(), &loss, x.data());
        }
        for (std::size_t j = 0; j < k; ++j) {
            const FitParameter& p = *model.parameters()[j];
            problem.SetParameterLowerBound(x.data(), static_cast<int>(j), p.lower);
            problem.SetParameterUpperBound(x.data(), static_cast<int>(j), p.upper);
        }
        ceres::Solver::Options so;
        so.linear_solver_type = ceres::DENSE_QR;
        so.dense_linear_algebra_library_type = ceres::EIGEN;
        so.num_threads = 1; // the same order of sums, so the same digits, every run
        so.max_num_iterations = iterations;
        so.function_tolerance = 1e-10;
        so.parameter_tolerance = 1e-10;
        so.logging_type = ceres::SILENT;
        so.minimizer_progress_to_stdout = false;
        Progress progress(options.progress, from + span * round / rounds, span / rounds);
        so.callbacks.push_back(&progress);
        ceres::Solver::Summary summary;
        ceres::Solve(so, &problem, &summary);
        s.iterations += static_cast<int>(summary.iterations.size()) - 1;
        if (progress.stopped) {
            s.stopped = true;
            return s;
        }
        if (!all.at(x.data(), r)) return s;
        const double next = robustScale(r);
        const bool settled = std::fabs(next - scale) <= 0.05 * scale;
        scale = next;
        if (settled) break;
    }
    s.x = x;
    s.r = r;
    return s;
}

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) s += i + 1 == names.size() ? " and " : ", ";
        s += names[i];
    }
    return s;
}

bool isMass(std::string_view name) {
    return name == "mass-a" || name == "mass-b";
}

} // namespace

std::vector<std::vector<double>> startsFor(const CurveModel& model,
                                           const std::vector<double>& start) {
    std::vector<std::vector<double>> starts;
    for (std::size_t j = 0; j < model.parameters().size(); ++j) {
        const FitParameter& p = *model.parameters()[j];
        if (!p.angle) continue;
        // A tilt of the orbit out of the line of sight shows the same eclipses either way.
        const std::vector<double> turns = p.name == "incline2"
                                              ? std::vector<double>{-2 * start[j]}
                                              : std::vector<double>{90.0, 180.0, 270.0};
        for (double turn : turns) {
            std::vector<double> s = start;
            s[j] += turn;
            starts.push_back(std::move(s));
        }
    }
    return starts;
}

bool apart(double other, double best, std::optional<double> error, double typical) {
    return std::fabs(other - best) >
           std::max(3 * error.value_or(0), 1e-3 * (std::fabs(best) + typical));
}

bool saysNothing(double error, const FitParameter& q) {
    const double span = q.angle ? 360 : q.upper - q.lower;
    return error > span / 4;
}

FitResult fitCurve(CurveModel& model, const std::vector<double>& start, const Observations& data,
                   const FitOptions& options) {
    const std::vector<const FitParameter*>& params = model.parameters();
    const std::size_t k = params.size();
    if (start.size() != k) throw FitError("one starting value per free parameter is needed");
    if (data.phase.size() < k + 3)
        throw FitError(data.name + " has too few points for " + std::to_string(k) +
                       " free parameters");
    Residuals all(model, data);

    // The phase of the model's deepest minimum, where the observed one (phase 0) belongs.
    std::vector<double> grid(1000), flux;
    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = static_cast<double>(i) / 1000.0;
    std::vector<std::vector<double>> starts{start};
    if (options.tryTurns)
        for (std::vector<double>& s : startsFor(model, start))
            starts.push_back(std::move(s));
    for (const std::vector<double>& s : options.starts)
        if (s.size() == k) starts.push_back(s);

    FitResult result;
    // Every start a few steps first, then the best few on to convergence. A start the model
    // cannot evaluate is passed over.
    std::vector<Solution> quick;
    const double quickShare = starts.size() > 1 ? 0.4 : 0;
    for (std::size_t n = 0; n < starts.size() && starts.size() > 1; ++n) {
        if (!model.flux(starts[n], grid, flux)) continue;
        std::vector<double> x = starts[n];
        x.push_back(minimumPhase(grid, flux));
        x.push_back(data.magnitudes ? 0.0 : 1.0);
        Solution s =
            solveFrom(all, model, x, options, 1, QuickIterations,
                      quickShare * static_cast<double>(n) / static_cast<double>(starts.size()),
                      quickShare / static_cast<double>(starts.size()));
        if (s.stopped) {
            result.cancelled = true;
            return result;
        }
        if (!s.x.empty()) quick.push_back(std::move(s));
    }
    std::vector<std::vector<double>> refine;
    std::vector<int> quickIterations;
    if (starts.size() == 1) {
        if (model.flux(start, grid, flux)) {
            std::vector<double> x = start;
            x.push_back(minimumPhase(grid, flux));
            x.push_back(data.magnitudes ? 0.0 : 1.0);
            refine.push_back(std::move(x));
            quickIterations.push_back(0);
        }
    } else if (!quick.empty()) {
        double scale = HUGE_VAL;
        for (const Solution& s : quick)
            scale = std::min(scale, robustScale(s.r));
        for (Solution& s : quick)
            s.cost = huberCost(s.r, HuberK * std::max(scale, 1e-300));
        std::vector<std::size_t> order(quick.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return quick[a].cost < quick[b].cost;
        });
        for (std::size_t i = 0; i < order.size() && refine.size() < Refined; ++i) {
            refine.push_back(quick[order[i]].x);
            quickIterations.push_back(quick[order[i]].iterations);
        }
    }
    std::vector<Solution> solutions;
    const double fullShare = 1 - quickShare;
    for (std::size_t n = 0; n < refine.size(); ++n) {
        Solution s = solveFrom(all, model, refine[n], options, 3, options.maxIterations,
                               quickShare + fullShare * static_cast<double>(n) /
                                                static_cast<double>(refine.size()),
                               fullShare / static_cast<double>(refine.size()));
        if (s.stopped) {
            result.cancelled = true;
            return result;
        }
        s.iterations += quickIterations[n];
        if (!s.x.empty()) solutions.push_back(std::move(s));
    }
    if (solutions.empty()) throw FitError("the model cannot be evaluated at the starting values");

    // Rank the solutions by one robust cost, with the smallest scatter any of them reached.
    double scale = HUGE_VAL;
    for (const Solution& s : solutions)
        scale = std::min(scale, robustScale(s.r));
    for (Solution& s : solutions)
        s.cost = huberCost(s.r, HuberK * std::max(scale, 1e-300));
    std::size_t best = static_cast<std::size_t>(
        std::min_element(solutions.begin(), solutions.end(),
                         [](const Solution& a, const Solution& b) { return a.cost < b.cost; }) -
        solutions.begin());
    // Of solutions the data cannot tell apart (a tilt to either side), the one nearest the
    // start, so that a fit keeps the side the user chose.
    auto fromStart = [&](const Solution& s) {
        double d = 0;
        for (std::size_t j = 0; j < k; ++j) {
            const double gap = (reported(*params[j], s.x[j]) - reported(*params[j], start[j])) /
                               params[j]->typical;
            d += gap * gap;
        }
        return d;
    };
    const double tie = solutions[best].cost * (1 + 1e-6);
    for (std::size_t s = 0; s < solutions.size(); ++s)
        if (solutions[s].cost <= tie && fromStart(solutions[s]) < fromStart(solutions[best]))
            best = s;
    const Solution& b = solutions[best];
    result.values.assign(b.x.begin(), b.x.begin() + static_cast<std::ptrdiff_t>(k));
    result.phaseShift = cyclePhase(b.x[k]);
    result.level = b.x[k + 1];
    result.iterations = b.iterations;

    // The figures in the data's unit, outliers beyond five robust sigma left out.
    all.setCentral(true);
    all.ensure(b.x.data(), true);
    const std::size_t n = all.points();
    std::vector<double> inUnit(n);
    for (std::size_t i = 0; i < n; ++i)
        inUnit[i] = data.error.empty() || !(data.error[i] > 0) ? b.r[i] : b.r[i] * data.error[i];
    std::vector<bool> kept;
    const RobustFigures fig = robustFigures(inUnit, data.error, k + 2, &kept);
    result.rms = fig.rms;
    result.robustRms = fig.robustRms;
    result.points = fig.points;
    result.outliers = fig.outliers;
    result.chi2Reduced = fig.chi2Reduced;

    // The normal matrix of the points kept, each column scaled to a unit diagonal.
    const std::size_t m = k + 2;
    Eigen::MatrixXd A =
        Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(m), static_cast<Eigen::Index>(m));
    double chi2 = 0;
    std::size_t used = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!kept[i]) continue;
        chi2 += b.r[i] * b.r[i];
        ++used;
        for (std::size_t p = 0; p < m; ++p)
            for (std::size_t q = 0; q <= p; ++q)
                A(static_cast<Eigen::Index>(p), static_cast<Eigen::Index>(q)) +=
                    all.J(i, p) * all.J(i, q);
    }
    for (std::size_t p = 0; p < m; ++p)
        for (std::size_t q = p + 1; q < m; ++q)
            A(static_cast<Eigen::Index>(p), static_cast<Eigen::Index>(q)) =
                A(static_cast<Eigen::Index>(q), static_cast<Eigen::Index>(p));
    const double variance = used > m ? chi2 / static_cast<double>(used - m) : HUGE_VAL;

    result.parameters.resize(k);
    std::vector<bool> determined(m, true);
    std::vector<std::string> note(k);
    double largest = 0;
    for (std::size_t p = 0; p < m; ++p)
        largest = std::max(largest, A(static_cast<Eigen::Index>(p), static_cast<Eigen::Index>(p)));
    for (std::size_t p = 0; p < k; ++p) {
        // In phase the masses only set the period, which the data fix: what they change is
        // rounding, not light.
        if (!isMass(params[p]->name) &&
            A(static_cast<Eigen::Index>(p), static_cast<Eigen::Index>(p)) > 1e-24 * largest)
            continue;
        determined[p] = false;
        note[p] = isMass(params[p]->name)
                      ? "the light curve does not depend on the masses; they need radial velocities"
                      : "the light curve does not change with it here";
    }
    // Directions the data cannot tell apart: every parameter with a large part in one is
    // left without an error, and the rest are examined again without them.
    for (std::size_t round = 0; round < m; ++round) {
        std::vector<std::size_t> idx;
        for (std::size_t p = 0; p < m; ++p)
            if (determined[p]) idx.push_back(p);
        const auto d = static_cast<Eigen::Index>(idx.size());
        Eigen::MatrixXd N(d, d);
        Eigen::VectorXd D(d);
        for (Eigen::Index a = 0; a < d; ++a)
            D(a) = std::sqrt(A(static_cast<Eigen::Index>(idx[static_cast<std::size_t>(a)]),
                               static_cast<Eigen::Index>(idx[static_cast<std::size_t>(a)])));
        for (Eigen::Index a = 0; a < d; ++a)
            for (Eigen::Index c = 0; c < d; ++c)
                N(a, c) = A(static_cast<Eigen::Index>(idx[static_cast<std::size_t>(a)]),
                            static_cast<Eigen::Index>(idx[static_cast<std::size_t>(c)])) /
                          (D(a) * D(c));
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eig(N);
        const Eigen::VectorXd& lambda = eig.eigenvalues(); // increasing
        if (d == 0 || lambda(0) > NullRatio * lambda(d - 1)) {
            const Eigen::MatrixXd C = eig.eigenvectors() * lambda.cwiseInverse().asDiagonal() *
                                      eig.eigenvectors().transpose();
            std::vector<double> sigma(m, 0);
            for (Eigen::Index a = 0; a < d; ++a)
                sigma[idx[static_cast<std::size_t>(a)]] = std::sqrt(variance * C(a, a)) / D(a);
            for (std::size_t p = 0; p < k; ++p) {
                if (!determined[p]) continue;
                const FitParameter& q = *params[p];
                if (saysNothing(sigma[p], q)) {
                    char error[32];
                    std::snprintf(error, sizeof error, "%.2g", sigma[p]);
                    note[p] = "the light curve hardly changes with it here (an error of " +
                              std::string(error) +
                              (q.unit.empty() ? "" : " " + std::string(q.unit)) + ")";
                } else
                    result.parameters[p].error = sigma[p];
            }
            for (Eigen::Index a = 0; a < d; ++a)
                for (Eigen::Index c = a + 1; c < d; ++c) {
                    const std::size_t i = idx[static_cast<std::size_t>(a)];
                    const std::size_t j = idx[static_cast<std::size_t>(c)];
                    if (j >= k) continue;
                    result.correlations.push_back({i, j, C(a, c) / std::sqrt(C(a, a) * C(c, c))});
                }
            break;
        }
        std::vector<std::size_t> members;
        for (Eigen::Index a = 0; a < d; ++a) {
            bool in = false;
            for (Eigen::Index v = 0; v < d && lambda(v) <= NullRatio * lambda(d - 1); ++v)
                in = in || std::fabs(eig.eigenvectors()(a, v)) > 0.1;
            if (!in) continue;
            const std::size_t p = idx[static_cast<std::size_t>(a)];
            members.push_back(p);
        }
        if (members.empty()) members.push_back(idx[0]); // cannot happen: a null vector has parts
        for (std::size_t p : members) {
            determined[p] = false;
            if (p >= k) continue;
            std::vector<std::string> others;
            for (std::size_t q : members)
                if (q != p)
                    others.push_back(q < k    ? std::string(params[q]->name)
                                     : q == k ? "the phase"
                                              : "the level");
            note[p] = isMass(params[p]->name)
                          ? "the light curve does not fix the masses; they need radial velocities"
                      : others.empty()
                          ? "not determined by the light curve"
                          : "not determined on its own: the light curve fixes only its "
                            "combination with " +
                                joined(others);
        }
    }
    for (std::size_t p = 0; p < k; ++p) {
        result.parameters[p].name = std::string(params[p]->name);
        result.parameters[p].value = reported(*params[p], result.values[p]);
        if (!result.parameters[p].error) result.parameters[p].note = note[p];
    }

    std::erase_if(result.correlations, [&](const FitResult::Correlation& c) {
        return !result.parameters[c.i].error || !result.parameters[c.j].error;
    });

    // Other solutions nearly as good, and really different from the best.
    for (std::size_t s = 0; s < solutions.size(); ++s) {
        if (s == best || !(solutions[s].cost <= 1.1 * b.cost)) continue;
        bool distinct = false;
        for (std::size_t p = 0; p < k; ++p)
            distinct = distinct ||
                       apart(reported(*params[p], solutions[s].x[p]), result.parameters[p].value,
                             result.parameters[p].error, params[p]->typical);
        // Nor one already listed.
        for (const Alternative& a : result.alternatives) {
            bool same = true;
            for (std::size_t p = 0; p < k; ++p)
                same = same && !apart(reported(*params[p], solutions[s].x[p]), a.values[p],
                                      std::nullopt, params[p]->typical);
            distinct = distinct && !same;
        }
        if (!distinct) continue;
        Alternative a;
        for (std::size_t p = 0; p < k; ++p)
            a.values.push_back(reported(*params[p], solutions[s].x[p]));
        a.chi2Ratio = solutions[s].cost / b.cost;
        result.alternatives.push_back(std::move(a));
    }
    std::sort(result.alternatives.begin(), result.alternatives.end(),
              [](const Alternative& x, const Alternative& y) { return x.chi2Ratio < y.chi2Ratio; });
    if (options.progress) options.progress(1.0);
    return result;
}

} // namespace orvanta::fit
