// SPDX-License-Identifier: GPL-3.0-or-later
// Folding, lining up, placing and comparing the observed points; the layer they are drawn on.
#include "render/observed_overlay.h"

#include "core/text_rules.h"
#include "physics/constants.h"
#include "render/layout.h"
#include "render/raster.h"
#include "render/surface.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

constexpr int W = Surface::W;
constexpr int H = Surface::H;

/// x - floor(x), in [0, 1).
double frac(double x) {
    const double f = x - std::floor(x);
    return f >= 1 ? 0 : f;
}

/// The median of v (reordered); the mean of the middle two for an even count.
double median(std::vector<double>& v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2 == 1) return upper;
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid));
    return lower + (upper - lower) / 2;
}

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

/// v rounded to two significant digits.
double twoDigits(double v) {
    if (!(v > 0) || !std::isfinite(v)) return v;
    const double k = 1 - std::floor(std::log10(v)); // 10^k is exact for |k| <= 22
    if (k >= 0) return std::round(v * std::pow(10.0, k)) / std::pow(10.0, k);
    return std::round(v / std::pow(10.0, -k)) * std::pow(10.0, -k);
}

} // namespace

double magnitudeOfRatio(double ratio) {
    return -2.512 * std::log10(ratio);
}

double ratioOfMagnitude(double magnitude) {
    return std::pow(10.0, -magnitude / 2.512);
}

ObservedSet prepareObserved(ObservedData data) {
    ObservedSet s;
    s.name = std::move(data.name);
    s.phased = data.phased;
    s.period = data.period;
    s.epoch = data.epoch;
    s.skipped = data.skipped;
    s.skippedLines = std::move(data.skippedLines);
    const std::size_t n = data.value.size();
    const bool isMag = data.brightness == Brightness::Magnitude;

    // Faintness: larger is fainter in both units. Clip the faint side (the eclipses)
    // until the set kept stops changing; outliers on the bright side barely move a median.
    std::vector<double> faint(n);
    for (std::size_t i = 0; i < n; ++i)
        faint[i] = isMag ? data.value[i] : -data.value[i];
    std::vector<double> kept = faint, work;
    for (int round = 0; round < 30; ++round) {
        work = kept;
        const double med = median(work);
        for (double& w : work)
            w = std::fabs(w - med);
        const double limit = med + 3 * 1.4826 * median(work);
        std::vector<double> next;
        next.reserve(n);
        for (double f : faint)
            if (f <= limit) next.push_back(f);
        if (next.size() == kept.size()) break;
        kept = std::move(next);
    }
    const double zero = median(kept);

    s.time = std::move(data.time);
    s.flux.resize(n);
    s.mag.resize(n);
    const bool bars = !data.error.empty();
    if (bars) {
        s.fluxLow.resize(n);
        s.fluxHigh.resize(n);
        s.magLow.resize(n);
        s.magHigh.resize(n);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (isMag) {
            s.mag[i] = data.value[i] - zero;
            s.flux[i] = ratioOfMagnitude(s.mag[i]);
        } else {
            s.flux[i] = data.value[i] / -zero;
            s.mag[i] = magnitudeOfRatio(s.flux[i]);
        }
        if (!bars) continue;
        const double e = data.error[i];
        if (isMag) {
            s.magLow[i] = s.mag[i] - e;
            s.magHigh[i] = s.mag[i] + e;
            s.fluxLow[i] = ratioOfMagnitude(s.magHigh[i]);
            s.fluxHigh[i] = ratioOfMagnitude(s.magLow[i]);
        } else {
            const double fe = e / -zero;
            s.fluxLow[i] = s.flux[i] - fe;
            s.fluxHigh[i] = s.flux[i] + fe;
            s.magLow[i] = magnitudeOfRatio(s.fluxHigh[i]);
            s.magHigh[i] = s.fluxLow[i] > 0 ? magnitudeOfRatio(s.fluxLow[i]) : HUGE_VAL;
        }
    }
    return s;
}

double minimumPhase(const std::vector<double>& phase, const std::vector<double>& flux) {
    const std::size_t n = phase.size();
    if (n == 0) return 0;
    // A fixed number of bins, so that the same curve sampled more or less densely gives
    // the same depth and so the same minimum.
    constexpr std::size_t bins = 100;
    const double width = 1.0 / static_cast<double>(bins);
    auto binOf = [&](double p) {
        return std::min(bins - 1, static_cast<std::size_t>(frac(p) * static_cast<double>(bins)));
    };
    // Group the fluxes by bin (a counting sort), then take each bin's median.
    std::vector<std::size_t> start(bins + 1, 0);
    for (double p : phase)
        ++start[binOf(p) + 1];
    for (std::size_t b = 0; b < bins; ++b)
        start[b + 1] += start[b];
    std::vector<double> grouped(n);
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        grouped[fill[binOf(phase[i])]++] = flux[i];
    std::vector<double> med(bins, HUGE_VAL);
    std::vector<double> part;
    for (std::size_t b = 0; b < bins; ++b) {
        if (start[b] == start[b + 1]) continue;
        part.assign(grouped.begin() + static_cast<std::ptrdiff_t>(start[b]),
                    grouped.begin() + static_cast<std::ptrdiff_t>(start[b + 1]));
        med[b] = median(part);
    }
    const std::size_t deepest =
        static_cast<std::size_t>(std::min_element(med.begin(), med.end()) - med.begin());
    const double centre = (static_cast<double>(deepest) + 0.5) * width;
    const double bottom = med[deepest];
    if (!(bottom < 1)) return centre;
    const double half = (1 + bottom) / 2;
    // The run of bins below half depth around the deepest, and one bin more on each side.
    std::size_t left = 0, right = 0;
    // Empty bins (sparse samples) do not end the run.
    auto below = [&](std::size_t b) { return med[b] < half || start[b] == start[b + 1]; };
    while (left + right + 1 < bins && below((deepest + bins - left - 1) % bins))
        ++left;
    while (left + right + 1 < bins && below((deepest + right + 1) % bins))
        ++right;
    const double lo = -(static_cast<double>(left) + 1.5) * width;
    const double hi = (static_cast<double>(right) + 1.5) * width;
    double sw = 0, swu = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = frac(phase[i] - centre + 0.5) - 0.5;
        if (u < lo || u > hi) continue;
        const double w = half - flux[i];
        if (w <= 0) continue;
        sw += w;
        swu += w * u;
    }
    return sw > 0 ? frac(centre + swu / sw) : centre;
}

ObservedOverlay::ObservedOverlay()
    : pixels_(static_cast<std::size_t>(W) * H, Undrawn),
      taken_(static_cast<std::size_t>(W) * H, 0) {}

void ObservedOverlay::show(ObservedSet set) {
    set_ = std::move(set);
    ++setRevision_;
    rms_.reset();
    graph_.reset();
}

void ObservedOverlay::remove() {
    set_.reset();
    ++setRevision_;
    rms_.reset();
    graph_.reset();
    rawPhase_.clear();
    phase_.clear();
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
    const std::size_t n = s.time.size();
    rawPhase_.resize(n);
    const double ref = s.epoch && !s.phased ? *s.epoch : s.time.front();
    for (std::size_t i = 0; i < n; ++i)
        rawPhase_[i] = s.phased ? frac(s.time[i]) : frac((s.time[i] - ref) / periodDays);
    // Without an epoch the first minimum in the data serves as one.
    observedMinimum_ = s.epoch && !s.phased ? 0 : minimumPhase(rawPhase_, s.flux);
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
    if (setChanged || periodDays != foldPeriod_ || rawPhase_.size() != s.time.size())
        fold(periodDays);

    // The model curve in phase, as relative flux and as the graph shows it.
    const std::size_t m = curveTime_.size();
    std::vector<double> at(m), rel(m), shown(m);
    for (std::size_t k = 0; k < m; ++k) {
        at[k] = curveTime_[k] / g.period;
        rel[k] = curvePower_[k] / g.maxPower;
        // Magnitudes exactly as the graph converts them, less the full light's.
        shown[k] = g.mode == 0 ? rel[k]
                               : (4.85 - 2.512 * std::log(curvePower_[k] / 1e26) / std::log(10.0)) -
                                     g.maxShown;
    }
    // The last sample repeats the first one period on; it would weigh phase 0 twice.
    const std::size_t once = at.back() >= 1 - 1e-9 && m > 1 ? m - 1 : m;
    shift_ =
        minimumPhase(
            std::vector<double>(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(once)),
            std::vector<double>(rel.begin(), rel.begin() + static_cast<std::ptrdiff_t>(once))) -
        observedMinimum_;

    const std::vector<double>& obs = g.mode == 0 ? s.flux : s.mag;
    const std::size_t n = obs.size();
    phase_.resize(n);
    const Sampled model(at, shown);
    double sum = 0;
    std::size_t used = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // rawPhase_ + shift_ lies in (-1, 2): one whole turn at most either way.
        double p = rawPhase_[i] + shift_;
        p = p < 0 ? p + 1 : p >= 1 ? p - 1 : p;
        phase_[i] = p < 1 ? p : 0;
        const double r = obs[i] - model(phase_[i]);
        if (!std::isfinite(r)) continue;
        sum += r * r;
        ++used;
    }
    if (used > 0) rms_ = std::sqrt(sum / static_cast<double>(used));
    draw(g);
}

void ObservedOverlay::draw(const Graph& g) {
    std::fill(pixels_.begin(), pixels_.end(), Undrawn);
    if (++stamp_ == 0) { // once in four billion redraws
        std::fill(taken_.begin(), taken_.end(), 0);
        stamp_ = 1;
    }
    blank_ = false;
    ++revision_;
    const ObservedSet& s = *set_;
    const bool power = g.mode == 0;
    // The graph's row of a relative value (flux, or magnitude from the full light).
    auto row = [&](double v) {
        const double q = power ? v * g.maxPower : v + g.maxShown;
        return g.axisY - g.graphMag * (q - g.graphBase);
    };
    auto pixel = [](double v) { return std::floor(v + 0.5); };
    const std::uint32_t stamp = stamp_;
    const std::vector<double>& obs = power ? s.flux : s.mag;
    const bool bars = !s.fluxLow.empty();
    for (std::size_t i = 0; i < obs.size(); ++i) {
        // The whole pixel: truncation is rounding down once the value is known to be >= 0.
        const double xr = GraphSpan * phase_[i] + 0.5;
        const double yr = row(obs[i]) + 0.5;
        if (!(yr >= 0 && yr < H) || !(xr >= 0 && xr < W)) continue;
        const int px = static_cast<int>(xr), py = static_cast<int>(yr);
        const double y = py;
        // At most one square per pixel: a million points cost no more than the window has.
        std::uint32_t& taken = taken_[static_cast<std::size_t>(py) * W + px];
        if (taken == stamp) continue;
        taken = stamp;
        if (bars) {
            double a = row(power ? s.fluxLow[i] : s.magLow[i]);
            double b = row(power ? s.fluxHigh[i] : s.magHigh[i]);
            if (std::isnan(a)) a = y;
            if (std::isnan(b)) b = y;
            const int y0 = static_cast<int>(std::clamp(pixel(std::min(a, b)), 0.0, H - 1.0));
            const int y1 = static_cast<int>(std::clamp(pixel(std::max(a, b)), 0.0, H - 1.0));
            for (int yy = y0; yy <= y1; ++yy)
                pixels_[static_cast<std::size_t>(yy) * W + px] = PointColour;
        }
        for (int yy = std::max(0, py - 1); yy <= std::min(H - 1, py + 1); ++yy)
            for (int xx = std::max(0, px - 1); xx <= std::min(W - 1, px + 1); ++xx)
                pixels_[static_cast<std::size_t>(yy) * W + xx] = PointColour;
    }
}

std::string ObservedOverlay::caption() const {
    if (!set_) return {};
    std::string c = set_->name + ": " + std::to_string(set_->time.size()) + " points";
    if (rms_ && graph_) {
        c += ", rms " + Str(twoDigits(*rms_)) + (graph_->mode == 1 ? " mag" : " relative flux");
    }
    return c;
}

void composeObserved(const ObservedOverlay& overlay, PixelGrid out) {
    if (!overlay.shown()) return;
    const std::uint32_t* src = overlay.pixels().data();
    for (int y = 0; y < std::min(out.height, H); ++y) {
        std::uint32_t* dst = out.row(y);
        for (int x = 0; x < W; ++x, ++src)
            if (*src != ObservedOverlay::Undrawn && x < out.width) dst[x] = screenPixel(*src);
    }
}

} // namespace orvanta
