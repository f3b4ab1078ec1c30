// SPDX-License-Identifier: GPL-3.0-or-later
// How well a curve fits points with a few outliers among them: the scatter from the median
// absolute deviation, the points far beyond it counted and left out, the rms and reduced
// chi-square of the rest.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace orvanta {

/// The median of v (reordered); the mean of the middle two for an even count; 0 when empty.
double medianOf(std::vector<double>& v);

/// Points further than this many robust standard deviations from the median residual are
/// outliers.
inline constexpr double OutlierSigmas = 5;

struct RobustFigures {
    std::size_t points = 0;   ///< residuals that were finite
    std::size_t outliers = 0; ///< of them, beyond OutlierSigmas robust sigma
    double rms = 0;           ///< of all finite residuals
    double robustRms = 0;     ///< of the residuals that are not outliers
    /// 1.4826 times the median absolute deviation of the residuals (divided by their
    /// errors where there are errors): the standard deviation of normal scatter.
    double robustSigma = 0;
    /// Sum over the points kept of (residual / error)^2 over their number less `fitted`;
    /// empty without errors or without a degree of freedom.
    std::optional<double> chi2Reduced;
};

/// The figures of `residual` (observed less model); `error` is empty or one per residual
/// (non-positive errors make the point count without a chi-square term). `fitted` is the
/// number of parameters fitted to them. `kept`, when given, is set to whether each residual
/// counted and was not an outlier.
RobustFigures robustFigures(const std::vector<double>& residual, const std::vector<double>& error,
                            std::size_t fitted = 0, std::vector<bool>* kept = nullptr);

} // namespace orvanta
