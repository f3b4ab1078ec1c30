// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/robust_stats.h"

#include <algorithm>

namespace orvanta {

double medianOf(std::vector<double>& v) {
    if (v.empty()) return 0;
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2 == 1) return upper;
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid));
    return lower + (upper - lower) / 2;
}

RobustScale robustScaleOf(std::vector<double>& scaled) {
    RobustScale s;
    s.centre = medianOf(scaled);
    for (double& v : scaled)
        v = std::fabs(v - s.centre);
    s.sigma = 1.4826 * medianOf(scaled);
    return s;
}

RobustFigures RobustTally::figures(bool weighted, std::size_t fitted) const {
    RobustFigures r;
    r.points = points_;
    r.outliers = outliers_;
    r.robustSigma = scale_.sigma;
    if (points_ == 0) return r;
    r.rms = std::sqrt(sum_ / static_cast<double>(points_));
    const std::size_t kept = points_ - outliers_;
    r.robustRms = kept > 0 ? std::sqrt(keptSum_ / static_cast<double>(kept)) : 0;
    if (weighted && chi2Count_ > fitted)
        r.chi2Reduced = chi2_ / static_cast<double>(chi2Count_ - fitted);
    return r;
}

RobustFigures robustFigures(const std::vector<double>& residual, const std::vector<double>& error,
                            std::size_t fitted, std::vector<bool>* kept) {
    const std::size_t n = residual.size();
    if (kept != nullptr) kept->assign(n, false);
    const bool weighted = !error.empty() && error.size() == n;
    // Each residual in units of its error where there is one, so that a precise point
    // counts as an outlier sooner than a rough one.
    auto inverse = [&](std::size_t i) {
        return weighted && error[i] > 0 && std::isfinite(error[i]) ? 1 / error[i] : 0.0;
    };
    std::vector<double> scaled;
    scaled.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(residual[i])) continue;
        const double w = inverse(i);
        scaled.push_back(w > 0 ? residual[i] * w : residual[i]);
    }
    RobustTally tally(robustScaleOf(scaled));
    for (std::size_t i = 0; i < n; ++i) {
        const bool in = tally.add(residual[i], inverse(i));
        if (kept != nullptr) (*kept)[i] = in;
    }
    return tally.figures(weighted, fitted);
}

} // namespace orvanta
