// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/robust_stats.h"

#include <algorithm>
#include <cmath>

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

RobustFigures robustFigures(const std::vector<double>& residual, const std::vector<double>& error,
                            std::size_t fitted, std::vector<bool>* kept) {
    RobustFigures r;
    if (kept != nullptr) kept->assign(residual.size(), false);
    const bool weighted = !error.empty() && error.size() == residual.size();
    // Each residual in units of its error where there is one, so that a precise point
    // counts as an outlier sooner than a rough one.
    std::vector<double> scaled, deviation;
    std::vector<std::size_t> index;
    scaled.reserve(residual.size());
    index.reserve(residual.size());
    double sum = 0;
    for (std::size_t i = 0; i < residual.size(); ++i) {
        if (!std::isfinite(residual[i])) continue;
        const double e = weighted ? error[i] : 1;
        scaled.push_back(weighted && e > 0 && std::isfinite(e) ? residual[i] / e : residual[i]);
        index.push_back(i);
        sum += residual[i] * residual[i];
    }
    r.points = scaled.size();
    if (r.points == 0) return r;
    r.rms = std::sqrt(sum / static_cast<double>(r.points));

    deviation = scaled;
    const double centre = medianOf(deviation);
    for (std::size_t k = 0; k < scaled.size(); ++k)
        deviation[k] = std::fabs(scaled[k] - centre);
    r.robustSigma = 1.4826 * medianOf(deviation);

    double keptSum = 0, chi2 = 0;
    std::size_t keptCount = 0, chi2Count = 0;
    for (std::size_t k = 0; k < scaled.size(); ++k) {
        if (std::fabs(scaled[k] - centre) > OutlierSigmas * r.robustSigma && r.robustSigma > 0) {
            ++r.outliers;
            continue;
        }
        const double v = residual[index[k]];
        if (kept != nullptr) (*kept)[index[k]] = true;
        keptSum += v * v;
        ++keptCount;
        if (weighted && error[index[k]] > 0 && std::isfinite(error[index[k]])) {
            chi2 += scaled[k] * scaled[k];
            ++chi2Count;
        }
    }
    r.robustRms = keptCount > 0 ? std::sqrt(keptSum / static_cast<double>(keptCount)) : 0;
    if (weighted && chi2Count > fitted)
        r.chi2Reduced = chi2 / static_cast<double>(chi2Count - fitted);
    return r;
}

} // namespace orvanta
