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

namespace {

/// Whether the graph can show points: a period, a light and a scale.
bool drawableGraph(const ObservedOverlay::Graph& g) {
    return std::isfinite(g.period) && g.period > 0 && std::isfinite(g.maxPower) && g.maxPower > 0 &&
           std::isfinite(g.maxShown) && std::isfinite(g.graphMag) && std::isfinite(g.graphBase) &&
           std::isfinite(g.axisY) && (g.mode == 0 || g.mode == 1);
}

/// The days a set is folded with on a graph.
double foldPeriodOf(const ObservedSet& s, const ObservedOverlay::Graph& g) {
    return s.period ? *s.period : g.period * DaysPerYear;
}

/// Whether two graphs put every value on the same row.
bool sameRows(const ObservedOverlay::Graph& a, const ObservedOverlay::Graph& b) {
    return a.mode == b.mode && a.maxPower == b.maxPower && a.maxShown == b.maxShown &&
           a.graphMag == b.graphMag && a.graphBase == b.graphBase && a.axisY == b.axisY;
}

} // namespace

ObservedOverlay::Sample ObservedOverlay::sample(const ObservedSet& s, const Graph& g) {
    Sample out;
    if (!drawableGraph(g) || s.time.empty()) return out;
    const double periodDays = foldPeriodOf(s, g);
    out.foldPeriod = periodDays;
    out.graph = g;
    const std::size_t n = s.time.size();
    const double ref = s.epoch && !s.phased ? *s.epoch : s.time.front();
    auto phaseOf = [&](std::size_t i) {
        return s.phased ? frac(s.time[i]) : frac((s.time[i] - ref) / periodDays);
    };
    // Without an epoch the first minimum in the data serves as one.
    const bool findMinimum = !(s.epoch && !s.phased);
    if (n <= MaxUsedPoints) {
        out.rawPhase.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            out.rawPhase[i] = phaseOf(i);
        out.observedMinimum = findMinimum ? minimumPhase(out.rawPhase, s.flux) : 0;
        return out;
    }
    out.thinned = true;
    // The minimum from an even sample of all the points: one in `step`.
    const std::size_t step = (n + MaxUsedPoints - 1) / MaxUsedPoints;
    std::vector<double> evenPhase, evenFlux;
    evenPhase.reserve(n / step + 1);
    evenFlux.reserve(n / step + 1);
    const std::vector<double>& obs = g.mode == 0 ? s.flux : s.mag;
    PixelCells cells(W, cellRows(H));
    for (std::size_t i = 0, next = 0; i < n; ++i) {
        const double p = phaseOf(i);
        if (i == next) {
            evenPhase.push_back(p);
            evenFlux.push_back(s.flux[i]);
            next += step;
        }
        const int x = std::min(W - 1, static_cast<int>(GraphSpan * p));
        if (!cells.take(x, cellRow(graphRow(g, obs[i]) + 0.5, H))) continue;
        out.index.push_back(static_cast<std::uint32_t>(i));
        out.rawPhase.push_back(p);
    }
    out.observedMinimum = findMinimum ? minimumPhase(evenPhase, evenFlux) : 0;
    return out;
}

ObservedOverlay::ObservedOverlay()
    : usedCells_(W, cellRows(H)), pixels_(static_cast<std::size_t>(W) * H, Undrawn),
      centres_(W, H) {}

void ObservedOverlay::show(ObservedSet set) {
    show(std::make_shared<const ObservedSet>(std::move(set)));
}

void ObservedOverlay::show(std::shared_ptr<const ObservedSet> set) {
    show(std::move(set), Sample{});
}

void ObservedOverlay::show(std::shared_ptr<const ObservedSet> set, Sample ready) {
    set_ = std::move(set);
    sample_ = std::move(ready);
    ++sampleRevision_;
    used_.clear();
    phase_.clear();
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
    sample_ = {};
    ++sampleRevision_;
    used_.clear();
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

void ObservedOverlay::update(const Graph& g) {
    if (!set_) {
        clearLayer();
        return;
    }
    if (graph_ && *graph_ == g && seenSet_ == setRevision_ && seenCurve_ == curveRevision_) return;
    graph_ = g;
    seenSet_ = setRevision_;
    seenCurve_ = curveRevision_;
    rms_.reset();
    figures_.reset();
    residual_.clear();
    outlier_.clear();
    if (!drawableGraph(g) || curveTime_.empty()) {
        clearLayer();
        return;
    }
    const ObservedSet& s = *set_;
    // Folded again when the period changes; a thinned sample also when the rows do.
    if (!(sample_.foldPeriod == foldPeriodOf(s, g)) ||
        (sample_.thinned && !sameRows(sample_.graph, g))) {
        sample_ = sample(s, g);
        ++sampleRevision_;
    }

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
        sample_.observedMinimum;

    const std::vector<double>& obs = g.mode == 0 ? s.flux : s.mag;
    const Sampled model(at, shown);
    const bool bars = !s.fluxLow.empty();
    const bool thinned = sample_.thinned;
    const std::size_t sampled = sample_.rawPhase.size();
    if (bars && (seenInverse_ != sampleRevision_ || inverseMode_ != g.mode)) {
        // One over half the error bar of each point of the sample, in the unit the graph
        // shows; 0 without one.
        const std::vector<double>& low = g.mode == 0 ? s.fluxLow : s.magLow;
        const std::vector<double>& high = g.mode == 0 ? s.fluxHigh : s.magHigh;
        inverseError_.resize(sampled);
        for (std::size_t k = 0; k < sampled; ++k) {
            const std::size_t i = thinned ? sample_.index[k] : k;
            const double e = (high[i] - low[i]) / 2;
            inverseError_[k] = e > 0 && std::isfinite(e) ? 1 / e : 0;
        }
        seenInverse_ = sampleRevision_;
        inverseMode_ = g.mode;
    }
    // rawPhase + shift_ lies in (-1, 2): one whole turn at most either way.
    auto placed = [&](double raw) {
        const double p = raw + shift_;
        const double q = p < 0 ? p + 1 : p >= 1 ? p - 1 : p;
        return q < 1 ? q : 0;
    };
    // The points used: all, or of a thinned sample the first in each pixel as lined up now.
    if (!thinned) {
        if (used_.size() != sampled) {
            used_.resize(sampled);
            for (std::size_t k = 0; k < sampled; ++k)
                used_[k] = static_cast<std::uint32_t>(k);
        }
        phase_.resize(sampled);
        for (std::size_t k = 0; k < sampled; ++k)
            phase_[k] = placed(sample_.rawPhase[k]);
    } else {
        used_.clear();
        phase_.clear();
        usedInverse_.clear();
        usedCells_.clear();
        for (std::size_t k = 0; k < sampled; ++k) {
            const std::size_t i = sample_.index[k];
            const double q = placed(sample_.rawPhase[k]);
            const int x = static_cast<int>(GraphSpan * q + 0.5);
            if (!usedCells_.take(x, cellRow(graphRow(g, obs[i]) + 0.5, H))) continue;
            used_.push_back(static_cast<std::uint32_t>(i));
            phase_.push_back(q);
            if (bars) usedInverse_.push_back(inverseError_[k]);
        }
    }
    // 1 / half the error bar of each point used.
    const std::vector<double>& inverse = thinned ? usedInverse_ : inverseError_;
    const std::size_t n = used_.size();
    // The scatter the outliers are judged by, from at most about 4000 points at an even
    // stride: a figure redrawn on every drag step.
    const std::size_t every = n > 4001 ? (n + 4000) / 4001 : 1;
    std::vector<double> scaled;
    scaled.reserve(n / every + 1);
    for (std::size_t k = 0; k < n; k += every) {
        const std::size_t i = used_[k];
        const double r = obs[i] - model(phase_[k]);
        if (!std::isfinite(r)) continue;
        const double inv = bars ? inverse[k] : 0;
        scaled.push_back(inv > 0 ? r * inv : r);
    }
    RobustTally tally(robustScaleOf(scaled));
    residual_.resize(n);
    outlier_.assign(n, false);
    for (std::size_t k = 0; k < n; ++k) {
        const double r = obs[used_[k]] - model(phase_[k]);
        residual_[k] = r;
        if (!tally.add(r, bars ? inverse[k] : 0) && std::isfinite(r)) outlier_[k] = true;
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
