// SPDX-License-Identifier: GPL-3.0-or-later
// How well a curve fits points with a few outliers among them: the scatter from the median
// absolute deviation, the points far beyond it counted and left out, the rms and reduced
// chi-square of the rest.
#pragma once

#include <cmath>
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

/// The centre (median) and robust sigma of residuals already divided by their errors;
/// reorders them.
struct RobustScale {
    double centre = 0, sigma = 0;
};
RobustScale robustScaleOf(std::vector<double>& scaled);

/// Sums residuals one at a time against a scale found before: for a pass that computes
/// the residuals and judges them at once.
class RobustTally {
public:
    explicit RobustTally(RobustScale scale) : scale_(scale), limit_(OutlierSigmas * scale.sigma) {}
    /// `inverseError` is 1 / the point's error, or 0 for a point without one. Returns
    /// whether the point counts and is not an outlier.
    bool add(double residual, double inverseError) {
        if (!std::isfinite(residual)) return false;
        ++points_;
        const double square = residual * residual;
        sum_ += square;
        const double s = inverseError > 0 ? residual * inverseError : residual;
        if (scale_.sigma > 0 && std::fabs(s - scale_.centre) > limit_) {
            ++outliers_;
            return false;
        }
        keptSum_ += square;
        if (inverseError > 0) {
            chi2_ += s * s;
            ++chi2Count_;
        }
        return true;
    }
    /// `weighted`: the points have errors. `fitted`: parameters fitted to them.
    [[nodiscard]] RobustFigures figures(bool weighted, std::size_t fitted) const;

private:
    RobustScale scale_;
    double limit_;
    std::size_t points_ = 0, outliers_ = 0, chi2Count_ = 0;
    double sum_ = 0, keptSum_ = 0, chi2_ = 0;
};

/// The figures of `residual` (observed less model); `error` is empty or one per residual
/// (non-positive errors make the point count without a chi-square term). `fitted` is the
/// number of parameters fitted to them. `kept`, when given, is set to whether each residual
/// counted and was not an outlier.
RobustFigures robustFigures(const std::vector<double>& residual, const std::vector<double>& error,
                            std::size_t fitted = 0, std::vector<bool>* kept = nullptr);

} // namespace orvanta
