// SPDX-License-Identifier: GPL-3.0-or-later
// The observed points over the graph: folded on the period, lined up with the model's
// eclipse and compared with the model curve; the layer is drawn in observed_layer.cpp.
#include "render/observed_overlay.h"

#include "core/robust_stats.h"
#include "physics/constants.h"
#include "render/layout.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

constexpr int W = Surface::W;
constexpr int H = Surface::H;

/// A curve sampled at increasing phases from 0, nearly evenly spaced, read by linear
/// interpolation; past the last sample it runs towards the first one, a period on.
class Sampled {
public:
    Sampled(const std::vector<double>& at, const std::vector<double>& v)
        : at_(at), v_(v), slope_(at.size(), 0.0), n_(at.size()) {
        for (std::size_t k = 0; k < n_; ++k) {
            const double p1 = k + 1 < n_ ? at[k + 1] : at[0] + 1;
            const double v1 = k + 1 < n_ ? v[k + 1] : v[0];
            if (p1 > at[k]) slope_[k] = (v1 - v[k]) / (p1 - at[k]);
        }
        if (n_ > 1 && at[n_ - 1] > 0) perStep_ = static_cast<double>(n_ - 1) / at[n_ - 1];
    }
    /// The value at phase p in [0, 1).
    double operator()(double p) const {
        const double guess = p * perStep_;
        std::size_t k = guess > 0 ? std::min(n_ - 1, static_cast<std::size_t>(guess)) : 0;
        while (k > 0 && at_[k] > p)
            --k;
        while (k + 1 < n_ && at_[k + 1] <= p)
            ++k;
        return v_[k] + slope_[k] * (p - at_[k]);
    }

private:
    const std::vector<double>& at_;
    const std::vector<double>& v_;
    std::vector<double> slope_;
    std::size_t n_;
    double perStep_ = 0;
};

} // namespace

std::size_t ObservedOverlay::stride() const {
    const std::size_t n = set_ ? set_->time.size() : 0;
    return n <= MaxUsedPoints ? 1 : (n + MaxUsedPoints - 1) / MaxUsedPoints;
}

ObservedOverlay::ObservedOverlay()
    : pixels_(static_cast<std::size_t>(W) * H, Undrawn),
      taken_(static_cast<std::size_t>(W) * H, 0) {}

void ObservedOverlay::show(ObservedSet set) {
    set_ = std::move(set);
    ++setRevision_;
    rms_.reset();
    figures_.reset();
    residual_.clear();
    outlier_.clear();
    graph_.reset();
}

void ObservedOverlay::remove() {
    set_.reset();
    ++setRevision_;
    rms_.reset();
    figures_.reset();
    graph_.reset();
    rawPhase_.clear();
    phase_.clear();
    residual_.clear();
    outlier_.clear();
    clearLayer();
}

void ObservedOverlay::endCurve() {
    curveTime_.swap(pendingTime_);
    curvePower_.swap(pendingPower_);
    ++curveRevision_;
}

void ObservedOverlay::clearLayer() {
    if (blank_) return;
    std::fill(pixels_.begin(), pixels_.end(), Undrawn);
    blank_ = true;
    ++revision_;
}

void ObservedOverlay::fold(double periodDays) {
    const ObservedSet& s = *set_;
    const std::size_t step = stride();
    const std::size_t n = (s.time.size() + step - 1) / step;
    rawPhase_.resize(n);
    usedFlux_.resize(n);
    const double ref = s.epoch && !s.phased ? *s.epoch : s.time.front();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = k * step;
        rawPhase_[k] = s.phased ? frac(s.time[i]) : frac((s.time[i] - ref) / periodDays);
        usedFlux_[k] = s.flux[i];
    }
    // Without an epoch the first minimum in the data serves as one.
    observedMinimum_ = s.epoch && !s.phased ? 0 : minimumPhase(rawPhase_, usedFlux_);
    foldPeriod_ = periodDays;
}

void ObservedOverlay::update(const Graph& g) {
    if (!set_) {
        clearLayer();
        return;
    }
    if (graph_ && *graph_ == g && seenSet_ == setRevision_ && seenCurve_ == curveRevision_) return;
    const bool setChanged = seenSet_ != setRevision_;
    graph_ = g;
    seenSet_ = setRevision_;
    seenCurve_ = curveRevision_;
    rms_.reset();
    figures_.reset();
    residual_.clear();
    outlier_.clear();
    const bool drawable =
        std::isfinite(g.period) && g.period > 0 && std::isfinite(g.maxPower) && g.maxPower > 0 &&
        std::isfinite(g.maxShown) && std::isfinite(g.graphMag) && std::isfinite(g.graphBase) &&
        std::isfinite(g.axisY) && !curveTime_.empty() && (g.mode == 0 || g.mode == 1);
    if (!drawable) {
        clearLayer();
        return;
    }
    const ObservedSet& s = *set_;
    const double periodDays = s.period ? *s.period : g.period * DaysPerYear;
    if (setChanged || periodDays != foldPeriod_) fold(periodDays);

    // The model curve in phase, as relative flux and as the graph shows it.
    const std::size_t m = curveTime_.size();
    std::vector<double> at(m), rel(m), shown(m);
    for (std::size_t k = 0; k < m; ++k) {
        at[k] = curveTime_[k] / g.period;
        rel[k] = curvePower_[k] / g.maxPower;
        // Magnitudes exactly as the graph converts them, less the full light's.
        shown[k] = g.mode == 0 ? rel[k] : magnitudeOfPower(curvePower_[k]) - g.maxShown;
    }
    // The last sample repeats the first one period on; it would weigh phase 0 twice.
    const std::size_t once = at.back() >= 1 - 1e-9 && m > 1 ? m - 1 : m;
    shift_ =
        minimumPhase(
            std::vector<double>(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(once)),
            std::vector<double>(rel.begin(), rel.begin() + static_cast<std::ptrdiff_t>(once))) -
        observedMinimum_;

    const std::vector<double>& obs = g.mode == 0 ? s.flux : s.mag;
    const std::size_t step = stride();
    const std::size_t n = rawPhase_.size();
    phase_.resize(n);
    const Sampled model(at, shown);
    const bool bars = !s.fluxLow.empty();
    if (setChanged || errorMode_ != g.mode) {
        // One over half the error bar, in the unit the graph shows.
        const std::vector<double>& low = g.mode == 0 ? s.fluxLow : s.magLow;
        const std::vector<double>& high = g.mode == 0 ? s.fluxHigh : s.magHigh;
        inverseError_.resize(low.size());
        for (std::size_t i = 0; i < low.size(); ++i) {
            const double e = (high[i] - low[i]) / 2;
            inverseError_[i] = e > 0 && std::isfinite(e) ? 1 / e : 0;
        }
        errorMode_ = g.mode;
    }
    // rawPhase_ + shift_ lies in (-1, 2): one whole turn at most either way.
    auto placed = [&](std::size_t i) {
        const double p = rawPhase_[i] + shift_;
        const double q = p < 0 ? p + 1 : p >= 1 ? p - 1 : p;
        return q < 1 ? q : 0;
    };
    // The scatter the outliers are judged by, from at most about 4000 points at an even
    // stride: a figure redrawn on every drag step.
    const std::size_t every = n > 4001 ? (n + 4000) / 4001 : 1;
    std::vector<double> sample;
    sample.reserve(n / every + 1);
    for (std::size_t i = 0; i < n; i += every) {
        const double r = obs[i * step] - model(placed(i));
        if (!std::isfinite(r)) continue;
        sample.push_back(bars && inverseError_[i * step] > 0 ? r * inverseError_[i * step] : r);
    }
    RobustTally tally(robustScaleOf(sample));
    residual_.resize(n);
    outlier_.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        phase_[i] = placed(i);
        const double r = obs[i * step] - model(phase_[i]);
        residual_[i] = r;
        if (!tally.add(r, bars ? inverseError_[i * step] : 0) && std::isfinite(r))
            outlier_[i] = true;
    }
    // The plain rms: the same sum of squares, in the same order, as the tally's. Bounded
    // brightnesses keep it finite; should it not be, no figure is shown.
    figures_ = tally.figures(bars, 0);
    if (figures_->points > 0 && std::isfinite(figures_->rms)) {
        rms_ = figures_->rms;
    } else {
        figures_.reset();
        residual_.clear();
        outlier_.clear();
    }
    draw(g);
}

} // namespace orvanta
