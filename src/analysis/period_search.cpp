// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/period_search.h"
#include "analysis/period_search_parts.h"

#include "analysis/eclipse_model.h"
#include "analysis/minimum_timing.h"
#include "core/cycle_phase.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>

namespace orvanta::analysis {

namespace {

using parts::Eclipses;
using parts::Ephemeris;
using parts::findEclipses;
using parts::firstPassBins;
using parts::foldsOnPart;
using parts::lineThroughMinima;
using parts::miscounted;
using parts::missingInOddCycles;
using parts::prepare;
using parts::secondMayHide;
using parts::Series;
using parts::shiftAgainst;
using parts::startingModel;
using parts::Template;

constexpr std::size_t MinPoints = 30;
/// The most trial frequencies of the first pass; a wider range is refused, not slowed.
constexpr double MaxTrials = 3e6;
/// Point-by-frequency operations the first pass aims at; it sets how many phase bins it
/// can afford (more bins keep a narrow eclipse sharper).
constexpr double FirstPassWork = 2.5e8;
/// Best candidates of the first pass refined on finer bins.
constexpr int Candidates = 8;
/// Candidates a model of the eclipses is fitted at, with at most so many points and steps.
constexpr std::size_t RankedCandidates = 5;
constexpr std::size_t RankingPoints = 2000;
constexpr int RankingIterations = 30;
/// Magnitudes: an eclipse this deep takes more than half the light (0.753 mag), with a margin.
constexpr double HalfTheLightAndMore = 0.8;
/// A chi-square lower by this much makes another candidate the first.
constexpr double ClearlyBetter = 25;

} // namespace

Series parts::prepare(std::span<const double> time, std::span<const double> dimming) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < time.size() && i < dimming.size(); ++i)
        if (std::isfinite(time[i]) && std::isfinite(dimming[i])) order.push_back(i);
    if (order.size() < MinPoints)
        throw PeriodSearchError("too few points to search for a period (" +
                                std::to_string(order.size()) + "; at least " +
                                std::to_string(MinPoints) + " are needed)");
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return time[a] < time[b]; });
    Series s;
    s.span = time[order.back()] - time[order.front()];
    if (!(s.span > 0)) throw PeriodSearchError("all points have the same time");
    s.middle = time[order.front()] + s.span / 2;
    double mean = 0;
    for (std::size_t i : order)
        mean += dimming[i];
    mean /= static_cast<double>(order.size());
    for (std::size_t i : order) {
        s.t.push_back(time[i] - s.middle);
        s.y.push_back(dimming[i] - mean);
        s.sumSquares += (dimming[i] - mean) * (dimming[i] - mean);
    }
    if (!(s.sumSquares > 0)) throw PeriodSearchError("the light does not vary");
    return s;
}

namespace {

double median(std::vector<double> v);

/// The series with every value held within five robust standard deviations of the median:
/// for the search only, so that three outliers cannot outweigh a shallow eclipse (a deep
/// eclipse, held to five deviations, still stands out in every point of it).
Series clipped(const Series& s) {
    const double middle = median(s.y);
    std::vector<double> away;
    away.reserve(s.y.size());
    for (const double y : s.y)
        away.push_back(std::abs(y - middle));
    const double limit = 5 * 1.4826 * median(away);
    if (!(limit > 0)) return s;
    Series c = s;
    double mean = 0;
    for (double& y : c.y) {
        y = std::clamp(y, middle - limit, middle + limit);
        mean += y;
    }
    mean /= static_cast<double>(c.y.size());
    c.sumSquares = 0;
    for (double& y : c.y) {
        y -= mean;
        c.sumSquares += y * y;
    }
    if (!(c.sumSquares > 0)) return s;
    return c;
}

/// The light folded on one period in even phase bins.
struct Fold {
    std::vector<double> sum;
    std::vector<int> count;
    double within = 0; ///< sum of squares about the bin means
    int occupied = 0;
};

Fold fold(const Series& s, double period, int bins, double origin = 0) {
    Fold f;
    f.sum.assign(static_cast<std::size_t>(bins), 0.0);
    f.count.assign(static_cast<std::size_t>(bins), 0);
    for (std::size_t i = 0; i < s.t.size(); ++i) {
        const int b = phaseBin((s.t[i] - origin) / period, bins);
        f.sum[static_cast<std::size_t>(b)] += s.y[i];
        ++f.count[static_cast<std::size_t>(b)];
    }
    double between = 0;
    for (int b = 0; b < bins; ++b)
        if (const int c = f.count[static_cast<std::size_t>(b)]; c > 0) {
            between += f.sum[static_cast<std::size_t>(b)] * f.sum[static_cast<std::size_t>(b)] / c;
            ++f.occupied;
        }
    f.within = std::max(s.sumSquares - between, 0.0);
    return f;
}

/// Phase dispersion: the within-bin variance over the total variance.
double theta(const Series& s, const Fold& f) {
    const auto n = static_cast<double>(s.t.size());
    if (n <= f.occupied) return 1;
    return (f.within / (n - f.occupied)) / (s.sumSquares / (n - 1));
}

double theta(const Series& s, double period, int bins) {
    return theta(s, fold(s, period, bins));
}

/// The first pass: theta at every trial frequency f0 + k df, k < trials. Phases are kept
/// as fractions of a cycle in 64-bit fixed point and advanced by whole-number steps, so the
/// pass is exact integer arithmetic after the first phase of each point.
std::vector<float> firstPass(const Series& s, double f0, double df, std::size_t trials, int bins,
                             const SearchProgress& progress) {
    const std::size_t n = s.t.size();
    constexpr double Cycle = 0x1.0p64;
    std::vector<std::uint64_t> phase(n), step(n);
    for (std::size_t i = 0; i < n; ++i) {
        phase[i] = static_cast<std::uint64_t>(cyclePhase(s.t[i] * f0) * Cycle);
        const double inc = s.t[i] * df * Cycle; // |inc| < 2^63: |t df| is under a bin
        step[i] = static_cast<std::uint64_t>(static_cast<std::int64_t>(std::llround(inc)));
    }
    // Four sets of bins, taken in turn, so that neighbouring points (often in the same
    // bin) do not wait on each other's sums.
    constexpr std::size_t Ways = 4;
    const auto nbins = static_cast<std::size_t>(bins);
    std::vector<double> sum(Ways * nbins);
    std::vector<std::uint32_t> count(Ways * nbins);
    std::vector<float> out(trials);
    const auto nb = static_cast<std::uint64_t>(bins);
    const auto nd = static_cast<double>(n);
    const std::size_t every = std::max<std::size_t>(1, trials / 200);
    for (std::size_t k = 0; k < trials; ++k) {
        std::fill(sum.begin(), sum.end(), 0.0);
        std::fill(count.begin(), count.end(), 0U);
        std::size_t i = 0;
        for (; i + Ways <= n; i += Ways)
            for (std::size_t w = 0; w < Ways; ++w) {
                const std::size_t b =
                    w * nbins + static_cast<std::size_t>(((phase[i + w] >> 32) * nb) >> 32);
                sum[b] += s.y[i + w];
                ++count[b];
                phase[i + w] += step[i + w];
            }
        for (; i < n; ++i) {
            const auto b = static_cast<std::size_t>(((phase[i] >> 32) * nb) >> 32);
            sum[b] += s.y[i];
            ++count[b];
            phase[i] += step[i];
        }
        double between = 0;
        int occupied = 0;
        for (std::size_t b = 0; b < nbins; ++b) {
            double total = 0;
            std::uint32_t c = 0;
            for (std::size_t w = 0; w < Ways; ++w) {
                total += sum[w * nbins + b];
                c += count[w * nbins + b];
            }
            if (c > 0) {
                between += total * total / c;
                ++occupied;
            }
        }
        const double within = std::max(s.sumSquares - between, 0.0);
        out[k] = nd > occupied
                     ? static_cast<float>((within / (nd - occupied)) / (s.sumSquares / (nd - 1)))
                     : 1.0F;
        if (progress && k % every == 0 &&
            !progress(0.8 * static_cast<double>(k) / static_cast<double>(trials)))
            throw PeriodSearchCancelled{};
    }
    return out;
}

/// Refines a trial frequency: two passes of 33 trials, each 16 times finer than the last.
double refine(const Series& s, double freq, double width, int bins) {
    for (int pass = 0; pass < 2; ++pass) {
        const double step = width / 16;
        double best = freq, bestTheta = 2;
        for (int j = -16; j <= 16; ++j) {
            const double f = freq + j * step;
            if (!(f > 0)) continue;
            const double th = theta(s, 1 / f, bins);
            if (th < bestTheta) {
                bestTheta = th;
                best = f;
            }
        }
        freq = best;
        width = step;
    }
    return freq;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

} // namespace

Eclipses parts::findEclipses(const Series& s, double period, int bins) {
    Fold f = fold(s, period, bins);
    const auto nb = static_cast<std::size_t>(bins);
    std::vector<double> mean(nb, std::nan(""));
    std::vector<double> filled;
    for (std::size_t b = 0; b < nb; ++b)
        if (f.count[b] > 0) {
            mean[b] = f.sum[b] / f.count[b];
            filled.push_back(mean[b]);
        }
    const double level = median(filled);
    std::vector<double> residual, away;
    residual.reserve(s.t.size());
    away.reserve(s.t.size());
    for (std::size_t i = 0; i < s.t.size(); ++i) {
        const auto b = static_cast<std::size_t>(phaseBin(s.t[i] / period, bins));
        residual.push_back(s.y[i] - mean[b]);
        away.push_back(std::abs(residual.back()));
    }
    const double sigma = std::max(1.4826 * median(away), 1e-12);
    // An outlier stands alone: a point far off whose neighbours in time are off the same
    // way is part of an eclipse the fold's bins hold few points of.
    auto outlier = [&](std::size_t i) {
        if (away[i] <= 5 * sigma) return false;
        for (const std::size_t j : {i - 1, i + 1})
            if (j < s.t.size() && residual[j] * residual[i] > 0 && away[j] > 3 * sigma)
                return false;
        return true;
    };
    // The bins again without outliers (a passing cloud, a cosmic ray), which would
    // otherwise make a dip of their own.
    std::fill(f.sum.begin(), f.sum.end(), 0.0);
    std::fill(f.count.begin(), f.count.end(), 0);
    for (std::size_t i = 0; i < s.t.size(); ++i) {
        const auto b = static_cast<std::size_t>(phaseBin(s.t[i] / period, bins));
        if (outlier(i)) continue;
        f.sum[b] += s.y[i];
        ++f.count[b];
    }
    for (std::size_t b = 0; b < nb; ++b)
        mean[b] = f.count[b] > 0 ? f.sum[b] / f.count[b] : std::nan("");

    auto wrap = [&](long b) { return static_cast<std::size_t>(((b % bins) + bins) % bins); };
    // The deepest run of three bins.
    std::vector<double> smooth(nb, std::nan(""));
    for (std::size_t b = 0; b < nb; ++b) {
        double sum = 0;
        int count = 0;
        for (long d = -1; d <= 1; ++d) {
            const std::size_t k = wrap(static_cast<long>(b) + d);
            sum += f.sum[k];
            count += f.count[k];
        }
        if (count > 0) smooth[b] = sum / count;
    }
    std::size_t deepest = 0;
    for (std::size_t b = 0; b < nb; ++b)
        if (!std::isnan(smooth[b]) && (std::isnan(smooth[deepest]) || smooth[b] > smooth[deepest]))
            deepest = b;
    Eclipses e;
    e.depth = smooth[deepest] - level;
    e.level = level;
    e.noise = sigma;
    // The primary eclipse: out to where the fold comes back within a tenth of its depth.
    auto inEclipse = [&](std::size_t b) {
        return std::isnan(smooth[b]) || smooth[b] - level > 0.1 * e.depth;
    };
    long left = 0, right = 0;
    while (left < bins / 2 && inEclipse(wrap(static_cast<long>(deepest) - left - 1)))
        ++left;
    while (right < bins / 2 && inEclipse(wrap(static_cast<long>(deepest) + right + 1)))
        ++right;
    // The minimum from the bins' own means, weighted by depth, inside the eclipse's core.
    double weight = 0, offset = 0;
    for (long d = -left; d <= right; ++d) {
        const std::size_t k = wrap(static_cast<long>(deepest) + d);
        if (std::isnan(mean[k])) continue;
        const double w = std::max(mean[k] - level - 0.5 * e.depth, 0.0);
        weight += w;
        offset += w * static_cast<double>(d);
    }
    const double centre = static_cast<double>(deepest) + (weight > 0 ? offset / weight : 0) + 0.5;
    e.primaryPhase = cyclePhase(centre / bins);
    e.halfWidth = (static_cast<double>(std::max(left, right)) + 1) / bins;
    e.width = static_cast<double>(left + right + 1) / bins;
    long run = 0, widest = 0;
    for (long b = 0; b < 2 * bins; ++b) {
        run = f.count[wrap(b)] == 0 ? run + 1 : 0;
        widest = std::max(widest, std::min(run, static_cast<long>(bins)));
    }
    e.gap = static_cast<double>(widest) / bins;
    for (std::size_t b = 0; b < nb; ++b)
        if (f.count[b] >= 2) e.deepest = std::max(e.deepest, mean[b] - level);

    // A second eclipse: a run of bins well away from the primary and its wings, fainter
    // than the light outside eclipse by far more than the noise of their mean.
    // The primary's wings reach out to where the fold is back at the level within the
    // noise of three bins' mean, and one bin more.
    auto inWing = [&](std::size_t b) {
        int count = 0;
        for (long d = -1; d <= 1; ++d)
            count += f.count[wrap(static_cast<long>(b) + d)];
        return count == 0 || smooth[b] - level > 3 * sigma / std::sqrt(static_cast<double>(count));
    };
    long wingLeft = left, wingRight = right;
    while (wingLeft < bins / 2 && inWing(wrap(static_cast<long>(deepest) - wingLeft - 1)))
        ++wingLeft;
    while (wingRight < bins / 2 && inWing(wrap(static_cast<long>(deepest) + wingRight + 1)))
        ++wingRight;
    std::vector<bool> primary(nb, false);
    for (long d = -wingLeft - 1; d <= wingRight + 1; ++d)
        primary[wrap(static_cast<long>(deepest) + d)] = true;
    const long longest = std::max<long>(1, left + right + 1);
    double bestZ = 0;
    double bestCentre = 0;
    auto runOf = [&](long from, long length, double& sum, int& count) {
        sum = 0;
        count = 0;
        for (long k = 0; k < length; ++k) {
            const std::size_t b = wrap(from + k);
            if (primary[b]) return false;
            sum += f.sum[b];
            count += f.count[b];
        }
        return count >= 2;
    };
    for (long start = 0; start < bins; ++start)
        for (long length = 1; length <= longest; ++length) {
            double in = 0;
            int nIn = 0;
            if (!runOf(start, length, in, nIn)) continue;
            const double z = (in / nIn - level) * std::sqrt(static_cast<double>(nIn)) / sigma;
            if (z > bestZ) {
                bestZ = z;
                bestCentre = static_cast<double>(start) + static_cast<double>(length) / 2;
            }
        }
    constexpr double Seen = 5.5; // standard errors; the test is made some hundreds of times
    if (bestZ > Seen) e.secondaryPhase = cyclePhase(bestCentre / bins);
    return e;
}

// The bins of equal length in time, so the coarser fold's bins are unions of the finer ones.
bool parts::foldsOnPart(const Series& s, double period, int divisor, int bins) {
    const Fold whole = fold(s, period, bins * divisor);
    const Fold part = fold(s, period / divisor, bins);
    const double extra = whole.occupied - part.occupied;
    const double residual = static_cast<double>(s.t.size()) - whole.occupied;
    if (extra < 1 || residual < 1 || !(whole.within > 0)) return false;
    const double f = ((part.within - whole.within) / extra) / (whole.within / residual);
    return f < 1 + 4 * std::sqrt(2 / extra);
}

bool parts::missingInOddCycles(const Series& s, double period, const Eclipses& seen, int bins) {
    std::array<double, 2> sum{}, sum2{};
    std::array<int, 2> count{};
    double outside = 0;
    int nOutside = 0;
    const double width = std::max(seen.halfWidth / 2, 1.0 / bins);
    for (std::size_t i = 0; i < s.t.size(); ++i) {
        const double phase = cyclePhase(s.t[i] / period - seen.primaryPhase + 0.5) - 0.5;
        const double away = std::abs(phase);
        if (away <= width) {
            const int odd =
                static_cast<int>(std::floor(s.t[i] / period - seen.primaryPhase + 0.5)) & 1;
            sum[odd] += s.y[i];
            sum2[odd] += s.y[i] * s.y[i];
            ++count[odd];
        } else if (away > 2 * seen.halfWidth + 1.0 / bins &&
                   (!seen.secondaryPhase ||
                    std::abs(cyclePhase(s.t[i] / period - *seen.secondaryPhase + 0.5) - 0.5) >
                        2 * seen.halfWidth + 1.0 / bins)) {
            outside += s.y[i];
            ++nOutside;
        }
    }
    if (count[0] < 3 || count[1] < 3 || nOutside < 3) return false;
    const double level = outside / nOutside;
    const std::array<double, 2> depth{sum[0] / count[0] - level, sum[1] / count[1] - level};
    const int deep = depth[0] >= depth[1] ? 0 : 1;
    const int shallow = 1 - deep;
    if (!(depth[shallow] < 0.5 * depth[deep])) return false;
    double variance = 0;
    for (int k = 0; k < 2; ++k)
        variance += (sum2[k] / count[k] - (sum[k] / count[k]) * (sum[k] / count[k])) / count[k];
    return depth[deep] - depth[shallow] > 5 * std::sqrt(variance);
}

bool parts::miscounted(double period, double fitted, double span) {
    return std::abs(fitted - period) * span / (period * period) > 0.1;
}

bool parts::secondMayHide(const Eclipses& seen) {
    return !seen.secondaryPhase && seen.gap >= seen.width / 2;
}

int parts::firstPassBins(double n, double span, double fLow, double fHigh) {
    const double perBin = (fHigh - fLow) * span;
    return static_cast<int>(std::clamp(std::min(FirstPassWork / (n * perBin), n / 5), 8.0, 50.0));
}

parts::Template::Template(const Series& s, double epoch, double period, int bins)
    : epoch_(epoch), period_(period), mean_(static_cast<std::size_t>(bins)) {
    const Fold f = fold(s, period, bins, epoch);
    std::vector<std::size_t> filled;
    for (std::size_t b = 0; b < mean_.size(); ++b)
        if (f.count[b] > 0) {
            mean_[b] = f.sum[b] / f.count[b];
            filled.push_back(b);
        }
    for (std::size_t k = 0; k < filled.size(); ++k) {
        const std::size_t a = filled[k], b = filled[(k + 1) % filled.size()];
        const std::size_t gap = (b + mean_.size() - a) % mean_.size();
        for (std::size_t j = 1; j < gap; ++j)
            mean_[(a + j) % mean_.size()] = mean_[a] + (mean_[b] - mean_[a]) *
                                                           static_cast<double>(j) /
                                                           static_cast<double>(gap);
    }
}

double parts::Template::at(double t, double shift) const {
    const auto bins = static_cast<double>(mean_.size());
    const double u = cyclePhase((t - epoch_) / period_ - shift) * bins - 0.5;
    const double lo = std::floor(u);
    const double w = u - lo;
    const auto a = static_cast<std::size_t>((static_cast<long>(lo) + static_cast<long>(bins)) %
                                            static_cast<long>(bins));
    return mean_[a] * (1 - w) + mean_[(a + 1) % mean_.size()] * w;
}

std::optional<std::pair<double, double>> parts::shiftAgainst(const Series& s, const Template& tpl,
                                                             std::size_t from, std::size_t to) {
    if (to < from + 10) return std::nullopt;
    const double step = tpl.binWidth() / 4;
    constexpr int Reach = 16;
    auto chi2 = [&](double shift) {
        double sum = 0, sum2 = 0;
        for (std::size_t i = from; i < to; ++i) {
            const double r = s.y[i] - tpl.at(s.t[i], shift);
            sum += r;
            sum2 += r * r;
        }
        return sum2 - sum * sum / static_cast<double>(to - from);
    };
    std::vector<double> c(2 * Reach + 1);
    for (int j = -Reach; j <= Reach; ++j)
        c[static_cast<std::size_t>(j + Reach)] = chi2(j * step);
    const auto best = static_cast<int>(std::min_element(c.begin(), c.end()) - c.begin());
    if (best < 1 || best > 2 * Reach - 1) return std::nullopt;
    const double lo = c[static_cast<std::size_t>(best - 1)];
    const double mid = c[static_cast<std::size_t>(best)];
    const double hi = c[static_cast<std::size_t>(best + 1)];
    const double curve = (lo - 2 * mid + hi) / 2; // chi2 = mid + curve (u - u0)^2, u in steps
    if (!(curve > 0)) return std::nullopt;
    const double u0 = (lo - hi) / (4 * curve);
    const double least = mid - curve * u0 * u0;
    const double variance = std::max(least, 0.0) / static_cast<double>(to - from - 2);
    // chi2 / variance rises by one at one standard error.
    const double error = std::sqrt(variance / curve) * step;
    return std::pair{(best - Reach + u0) * step, error};
}

std::optional<Ephemeris> parts::lineThroughMinima(std::span<const double> cycles,
                                                  std::span<const double> times,
                                                  std::span<const double> weights) {
    if (cycles.size() != times.size() || cycles.size() != weights.size() ||
        std::all_of(cycles.begin(), cycles.end(), [&](double c) { return c == cycles.front(); }))
        return std::nullopt;
    // Weighted straight line time = epoch + period * cycle, cycles counted from their
    // weighted mean so that the epoch and period are uncorrelated.
    const double w = std::accumulate(weights.begin(), weights.end(), 0.0);
    double cm = 0;
    for (std::size_t i = 0; i < cycles.size(); ++i)
        cm += weights[i] * cycles[i];
    cm /= w;
    double sxx = 0, sxy = 0, tm = 0;
    for (std::size_t i = 0; i < cycles.size(); ++i)
        tm += weights[i] * times[i];
    tm /= w;
    for (std::size_t i = 0; i < cycles.size(); ++i) {
        sxx += weights[i] * (cycles[i] - cm) * (cycles[i] - cm);
        sxy += weights[i] * (cycles[i] - cm) * (times[i] - tm);
    }
    if (!(sxx > 0)) return std::nullopt;
    Ephemeris e;
    e.period = sxy / sxx;
    double chi2 = 0;
    for (std::size_t i = 0; i < cycles.size(); ++i) {
        const double r = times[i] - tm - e.period * (cycles[i] - cm);
        chi2 += weights[i] * r * r;
    }
    // Scatter beyond the stated errors widens them.
    const auto used = static_cast<double>(cycles.size());
    const double scale = used > 2 ? std::max(1.0, std::sqrt(chi2 / (used - 2))) : 1.0;
    e.periodError = scale / std::sqrt(sxx);
    // The epoch on the whole cycle nearest the weighted mean.
    const double c0 = std::round(cm);
    e.epoch = tm + e.period * (c0 - cm);
    e.epochError = scale * std::sqrt(1 / w + (c0 - cm) * (c0 - cm) / sxx);
    e.fitted = true;
    return e;
}

namespace {

/// The time of primary minimum on the fold of the points [from, to) about the cycle
/// nearest their middle, by Kwee-van Woerden; its cycle number from `epoch`.
std::optional<std::pair<double, MinimumTime>> foldedMinimum(const Series& s, std::size_t from,
                                                            std::size_t to, double epoch,
                                                            double period, double halfWidth) {
    if (to <= from) return std::nullopt;
    const double middle = (s.t[from] + s.t[to - 1]) / 2;
    const double cycle = std::round((middle - epoch) / period);
    const double guess = epoch + cycle * period;
    std::vector<double> t, y;
    for (std::size_t i = from; i < to; ++i) {
        const double folded = s.t[i] - period * std::round((s.t[i] - guess) / period);
        if (std::abs(folded - guess) > halfWidth) continue;
        t.push_back(folded);
        y.push_back(s.y[i]);
    }
    const auto m = kweeVanWoerden(t, y, guess, halfWidth);
    if (!m) return std::nullopt;
    return std::pair{cycle, *m};
}

/// The period and epoch fitted to the times at which the mean light curve lies best over
/// `parts` successive parts of the data (equal numbers of points).
std::optional<Ephemeris> fitParts(const Series& s, int parts, double epoch, double period,
                                  int bins) {
    const Template tpl(s, epoch, period, bins);
    std::vector<double> cycles, times, weights;
    const std::size_t n = s.t.size();
    for (int p = 0; p < parts; ++p) {
        const std::size_t from = n * static_cast<std::size_t>(p) / static_cast<std::size_t>(parts);
        const std::size_t to =
            n * static_cast<std::size_t>(p + 1) / static_cast<std::size_t>(parts);
        // A part that holds no eclipse does not pin the shift down: left out.
        const auto shift = shiftAgainst(s, tpl, from, to);
        if (!shift || !(shift->second > 0)) continue;
        const double cycle = std::round(((s.t[from] + s.t[to - 1]) / 2 - epoch) / period);
        cycles.push_back(cycle);
        times.push_back(epoch + period * (cycle + shift->first));
        weights.push_back(1 / (shift->second * period * shift->second * period));
    }
    return lineThroughMinima(cycles, times, weights);
}

} // namespace

EclipseModel parts::startingModel(const Series& s, double period, double epoch,
                                  double secondaryPhase, const Eclipses& e, int bins, bool twin) {
    EclipseModel start;
    start.period = period;
    start.epoch = epoch;
    start.level = e.level;
    start.secondaryPhase = secondaryPhase;
    const double width = std::max(e.halfWidth / 2, 0.5 / bins);
    start.primary = {e.depth, width, 1};
    double sum = 0;
    int count = 0;
    for (std::size_t i = 0; i < s.t.size(); ++i) {
        const double u = cyclePhase((s.t[i] - epoch) / period - secondaryPhase + 0.5);
        if (std::abs(u - 0.5) < width / 2) {
            sum += s.y[i];
            ++count;
        }
    }
    const double second = count > 0 ? std::max(sum / count - e.level, 0.0) : 0.0;
    start.secondary = {twin ? e.depth : second, width, 1};
    return start;
}

namespace {

/// The noise of one point from the differences of points next in time: eclipses are
/// rare among them, so their median is the noise's.
double noiseOf(const Series& s) {
    std::vector<double> step;
    step.reserve(s.y.size());
    for (std::size_t i = 1; i < s.y.size(); ++i)
        step.push_back(std::abs(s.y[i] - s.y[i - 1]));
    return std::max(1.4826 * median(step) / std::sqrt(2.0), 1e-12);
}

/// The best of a few fits of the eclipse model on `period`: from the eclipses seen in the
/// fold (the second one half a cycle on when none was seen), then with the two swapped,
/// then with a twin of the first half a cycle on; a poor start can leave an eclipse out.
std::optional<EclipseModel> modelOn(const Series& s, double period, const Eclipses& e, int bins,
                                    double noise, const EclipseFitOptions& options) {
    const double epoch = e.primaryPhase * period;
    std::vector<EclipseModel> starts;
    if (e.secondaryPhase) {
        const double offset = cyclePhase(*e.secondaryPhase - e.primaryPhase);
        starts.push_back(startingModel(s, period, epoch, offset, e, bins, false));
        EclipseModel swapped =
            startingModel(s, period, epoch + offset * period, 1 - offset, e, bins, false);
        swapped.secondary.depth = e.depth;
        starts.push_back(swapped);
    } else {
        starts.push_back(startingModel(s, period, epoch, 0.5, e, bins, false));
    }
    starts.push_back(startingModel(s, period, epoch, 0.5, e, bins, true));
    std::optional<EclipseModel> best;
    for (const EclipseModel& start : starts) {
        const auto fit = fitEclipseModel(s.t, s.y, start, noise, options);
        // Not a miscount of cycles: within a tenth of a cycle over the span.
        if (!fit || miscounted(period, fit->period, s.span)) continue;
        if (!best || fit->chiSquare < best->chiSquare) best = fit;
    }
    return best;
}

bool harmonic(double a, double b) {
    for (const double r : {1.0, 2.0, 3.0, 0.5, 1.0 / 3})
        if (std::abs(a / b - r) < 0.01 * r) return true;
    return false;
}

std::string formatDays(double d) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, d, std::chars_format::general, 6);
    return {text, end.ptr};
}

} // namespace

PeriodRange defaultRange(double spanDays) {
    PeriodRange r;
    r.minDays = std::min(0.2, spanDays / 4);
    r.maxDays = spanDays / 2;
    return r;
}

double phaseDispersion(std::span<const double> time, std::span<const double> dimming,
                       double periodDays, int bins) {
    const Series s = prepare(time, dimming);
    return theta(s, periodDays, bins);
}

PeriodResult findPeriod(std::span<const double> time, std::span<const double> dimming,
                        const PeriodRange& range, const SearchProgress& progress, Dimming unit) {
    const Series s = prepare(time, dimming);
    const PeriodRange defaults = defaultRange(s.span);
    const double minDays = range.minDays.value_or(*defaults.minDays);
    const double maxDays = std::min(range.maxDays.value_or(*defaults.maxDays), s.span);
    if (!(minDays > 0)) throw PeriodSearchError("the shortest period must be above 0 days");
    if (!(minDays < maxDays))
        throw PeriodSearchError("no period to search: the shortest (" + formatDays(minDays) +
                                " d) is not below the longest (" + formatDays(maxDays) +
                                " d, at most the span of the data)");
    const double n = static_cast<double>(s.t.size());
    const double fLow = 1 / maxDays, fHigh = 1 / minDays;

    // Bins of the first pass: as many as the work allows, a few points in each.
    const int coarseBins = firstPassBins(n, s.span, fLow, fHigh);
    // A step that moves the phase of the outermost points by half a bin over the span.
    const double df = 1 / (coarseBins * s.span);
    const double trialsWanted = std::floor((fHigh - fLow) / df) + 1;
    if (trialsWanted > MaxTrials)
        throw PeriodSearchError("the range of periods is too wide for the span of the data: "
                                "narrow it with --min-days");
    const auto trials = static_cast<std::size_t>(trialsWanted);
    const Series held = clipped(s);
    const std::vector<float> coarse = firstPass(held, fLow, df, trials, coarseBins, progress);
    // The periodogram as a plot shows it: the best trial of each run, in order of frequency.
    std::vector<PeriodPeak> periodogram;
    const std::size_t run = (trials + MaxPeriodogramPoints - 1) / MaxPeriodogramPoints;
    for (std::size_t first = 0; first < trials; first += run) {
        std::size_t best = first;
        for (std::size_t k = first; k < std::min(trials, first + run); ++k)
            if (coarse[k] < coarse[best]) best = k;
        periodogram.push_back(
            {1 / (fLow + static_cast<double>(best) * df), 1 - static_cast<double>(coarse[best])});
    }

    // The best local minima of theta, at least 1/span apart in frequency (closer periods
    // cannot be told apart over the span).
    std::vector<std::size_t> order(trials);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return coarse[a] < coarse[b]; });
    const double apart = 1 / s.span;
    std::vector<double> picked;
    for (std::size_t k : order) {
        const double f = fLow + static_cast<double>(k) * df;
        if (std::none_of(picked.begin(), picked.end(),
                         [&](double g) { return std::abs(f - g) < apart; }))
            picked.push_back(f);
        if (picked.size() >= static_cast<std::size_t>(Candidates)) break;
    }

    const int fineBins = static_cast<int>(std::clamp(n / 30, 12.0, 100.0));
    std::vector<PeriodPeak> refined;
    for (std::size_t c = 0; c < picked.size(); ++c) {
        const double f = refine(held, picked[c], df, fineBins);
        refined.push_back({1 / f, 1 - theta(held, 1 / f, fineBins)});
        if (progress &&
            !progress(0.8 + 0.1 * static_cast<double>(c + 1) / static_cast<double>(picked.size())))
            throw PeriodSearchCancelled{};
    }
    std::stable_sort(refined.begin(), refined.end(),
                     [](const PeriodPeak& a, const PeriodPeak& b) { return a.score > b.score; });

    // Among the best few candidates, the one a model of two eclipses fits best, when it
    // fits clearly better than the first: bins blur narrow eclipses seen on a few nights
    // and let a wrong period that happens to stack them score as well; the model, which
    // knows an eclipse's shape, does not. All with the same noise, so that the fits compare.
    const int eclipseBins = static_cast<int>(std::clamp(n / 15, 20.0, 200.0));
    {
        const double noise = noiseOf(s);
        std::optional<double> firstChi;
        double bestChi = 0;
        std::size_t best = 0;
        double bestPeriod = 0;
        const std::size_t ranked = std::min<std::size_t>(RankedCandidates, refined.size());
        std::vector<std::optional<double>> chi(ranked);
        std::vector<double> fitted(ranked);
        for (std::size_t k = 0; k < ranked; ++k) {
            const double p = refined[k].periodDays;
            const auto fit = modelOn(s, p, findEclipses(held, p, eclipseBins), eclipseBins, noise,
                                     {RankingPoints, RankingIterations});
            if (!fit) continue;
            chi[k] = fit->chiSquare;
            fitted[k] = fit->period;
            if (k == 0) firstChi = fit->chiSquare;
            if (best == 0 && k == 0) bestChi = fit->chiSquare;
            if ((k > 0 && !firstChi && best == 0) || fit->chiSquare < bestChi) {
                bestChi = fit->chiSquare;
                best = k;
                bestPeriod = fit->period;
            }
        }
        // A multiple of another candidate that fits at least as well as the first is
        // that candidate: a longer fold can leave out eclipses no point fell in.
        for (bool again = true; again && best > 0;) {
            again = false;
            for (std::size_t k = 0; k < ranked; ++k) {
                const double m = bestPeriod / refined[k].periodDays;
                if (k == best || !chi[k] || m < 1.5 || std::abs(m - std::round(m)) > 0.01 * m ||
                    (firstChi && *chi[k] > *firstChi))
                    continue;
                best = k;
                bestChi = *chi[k];
                bestPeriod = fitted[k];
                again = true;
                break;
            }
        }
        if (best > 0 && (!firstChi || *firstChi - bestChi > ClearlyBetter)) {
            PeriodPeak chosen = refined[best];
            chosen.periodDays = bestPeriod;
            refined.erase(refined.begin() + static_cast<std::ptrdiff_t>(best));
            refined.insert(refined.begin(), chosen);
        }
    }

    // The light's own repeat period: a half or a third of the best, when it folds as well
    // (not below half the shortest period searched: equal eclipses fold onto that half).
    double repeat = refined.front().periodDays;
    const int testBins = static_cast<int>(std::clamp(n / 20, 8.0, 50.0));
    for (bool again = true; again;) {
        again = false;
        for (const int d : {2, 3})
            if (repeat / d >= minDays / 2 && foldsOnPart(s, repeat, d, testBins)) {
                repeat = 1 / refine(s, d / repeat, df / 4, fineBins);
                again = true;
                break;
            }
    }

    // One eclipse in the repeat period: two equal ones per orbit.
    const Eclipses seen = findEclipses(s, repeat, eclipseBins);
    PeriodResult r;
    r.periodogram = std::move(periodogram);
    r.twoEclipsesSeen = seen.secondaryPhase.has_value();
    // Unless no point falls in a stretch of phase wide enough to hide the second eclipse
    // (half as wide as the first): then the light repeats on its own period, the second
    // eclipse unseen, and twice that is the alternative.
    const bool hidden = secondMayHide(seen);
    // Nor when the eclipse takes more than half the light (a margin for the noise): the
    // other one is then fainter, too faint to see.
    const bool tooDeep = !r.twoEclipsesSeen && !hidden && unit == Dimming::Magnitudes &&
                         seen.deepest > HalfTheLightAndMore;
    double period = r.twoEclipsesSeen || hidden || tooDeep ? repeat : 2 * repeat;
    if (!r.twoEclipsesSeen) r.alternativeDays = hidden || tooDeep ? 2 * repeat : repeat;
    // The primary eclipse missing from every other cycle: the two eclipses seen were the
    // primary and secondary of an orbit twice as long (eclipses not half an orbit apart).
    if (r.twoEclipsesSeen && 2 * period <= s.span &&
        missingInOddCycles(s, period, seen, eclipseBins)) {
        period *= 2;
    }
    const int orbitBins =
        static_cast<int>(std::clamp(std::round(eclipseBins * period / repeat), 20.0, 800.0));
    const Eclipses orbit = findEclipses(s, period, orbitBins);
    const double halfWidth =
        std::min(std::max(1.5 * orbit.halfWidth, 3.0 / orbitBins), 0.25) * period;

    // The period from the times at which the mean curve lies best over successive parts of
    // the data: some tens of points in each bin of the curve, some hundreds in each part.
    const int templateBins = static_cast<int>(std::clamp(n / 8, 20.0, 400.0));
    // Each part two cycles or more, so that it holds an eclipse.
    const int partsWanted =
        static_cast<int>(std::clamp(std::min(n / 150, s.span / (2 * period)), 2.0, 8.0));
    Ephemeris eph;
    eph.period = period;
    eph.epoch = orbit.primaryPhase * period;
    for (int pass = 0; pass < 3; ++pass) {
        std::optional<Ephemeris> fitted;
        for (int parts = partsWanted; parts >= 2 && !fitted; --parts)
            fitted = fitParts(s, parts, eph.epoch, eph.period, templateBins);
        if (!fitted) break;
        // A fit that moves the period by more than a tenth of a cycle over the span is a
        // miscount of cycles, not a refinement.
        if (miscounted(eph.period, fitted->period, s.span)) break;
        eph = *fitted;
    }
    // Last, the period and epoch of a model of both eclipses fitted to every point: it
    // uses each point where it lies, not in a bin, so it gets the most out of few points.
    double secondaryOffset =
        orbit.secondaryPhase ? cyclePhase(*orbit.secondaryPhase - orbit.primaryPhase) : 0.5;
    bool modelled = false;
    {
        Eclipses at = orbit;
        at.primaryPhase = eph.epoch / eph.period;
        if (orbit.secondaryPhase) at.secondaryPhase = at.primaryPhase + secondaryOffset;
        if (const auto m = modelOn(s, eph.period, at, orbitBins, orbit.noise, {})) {
            // A model's shape that misses the eclipses' own biases its period beyond the
            // error it states: the times of minimum, which know no shape, tell by how much.
            eph.periodError =
                eph.fitted ? std::hypot(m->periodError, m->period - eph.period) : m->periodError;
            eph.period = m->period;
            eph.epoch = m->epoch;
            eph.epochError = m->epochError;
            secondaryOffset = m->secondaryPhase;
            // The deeper eclipse is the primary.
            if (m->secondary.depth > m->primary.depth) {
                eph.epoch += m->secondaryPhase * m->period;
                secondaryOffset = 1 - m->secondaryPhase;
            }
            eph.fitted = true;
            modelled = true;
        }
    }
    // The epoch: the primary minimum on the fold of all the data, about the cycle nearest
    // the middle, by Kwee-van Woerden; the period's error adds over the cycles between.
    if (const auto whole = foldedMinimum(s, 0, s.t.size(), eph.epoch, eph.period, halfWidth)) {
        const double cycles = std::abs(whole->second.time - eph.epoch) / eph.period;
        const double fromPeriod = eph.fitted ? std::round(cycles) * eph.periodError : 0.0;
        eph.epoch = whole->second.time;
        eph.epochError = std::hypot(whole->second.error, fromPeriod);
    } else {
        // The deepest bin of the fold, good to about its width.
        eph.epochError = period / orbitBins;
    }
    if (!eph.fitted) {
        // The frequency step of the last refinement, as the period's uncertainty.
        eph.period = period;
        eph.periodError = period * period * df / 256;
    }
    if (progress && !progress(0.95)) throw PeriodSearchCancelled{};

    r.periodDays = eph.period;
    r.periodErrorDays = eph.periodError;
    r.epoch = s.middle + eph.epoch;
    r.epochError = eph.epochError;
    r.method =
        std::string("phase dispersion, ") +
        (r.twoEclipsesSeen ? "primary and secondary eclipses seen"
         : hidden  ? "one eclipse per cycle seen, the other in a stretch of phase not observed"
         : tooDeep ? "one eclipse per cycle seen, deeper than two equal eclipses can be"
                   : "one eclipse per cycle seen, taken as two equal eclipses") +
        (modelled     ? ", period fitted to every point with a model of symmetric eclipses, "
                        "epoch by Kwee-van Woerden"
         : eph.fitted ? ", period and epoch fitted to Kwee-van Woerden times of minimum"
                      : ", epoch by Kwee-van Woerden");

    // The candidates: the period found first, then the others by score. A multiple of
    // the repeat period is scored with as many more bins, so that it is not marked down
    // for the coarser bins alone.
    auto score = [&](double p) {
        const double times = std::max(1.0, std::round(p / repeat));
        return 1 - theta(s, p, static_cast<int>(fineBins * std::min(times, 8.0)));
    };
    r.peaks.push_back({r.periodDays, score(r.periodDays)});
    if (r.alternativeDays) r.peaks.push_back({*r.alternativeDays, score(*r.alternativeDays)});
    for (const PeriodPeak& p : refined) {
        if (r.peaks.size() >= 5) break;
        if (std::none_of(r.peaks.begin(), r.peaks.end(), [&](const PeriodPeak& q) {
                return std::abs(q.periodDays - p.periodDays) < 0.01 * q.periodDays;
            }))
            r.peaks.push_back(p);
    }
    // Another period, not a multiple of this one, that folds the light nearly as well on
    // bins wide enough to hold several nights each.
    if (!r.alternativeDays) {
        const double own = theta(s, r.periodDays, testBins);
        for (const PeriodPeak& p : refined)
            if (!harmonic(p.periodDays, r.periodDays) &&
                theta(s, p.periodDays, testBins) < own * 1.02) {
                r.alternativeDays = p.periodDays;
                break;
            }
    }

    // Every eclipse well covered by observations, timed on its own.
    const double first = std::floor((s.t.front() - eph.epoch) / eph.period) - 1;
    const double last = std::ceil((s.t.back() - eph.epoch) / eph.period) + 1;
    for (double c = first; c <= last; c += 1) {
        for (int kind = 0; kind < 2; ++kind) {
            const double predicted =
                eph.epoch + eph.period * (c + (kind == 0 ? 0.0 : secondaryOffset));
            const auto lo = std::lower_bound(s.t.begin(), s.t.end(), predicted - halfWidth);
            const auto hi = std::upper_bound(s.t.begin(), s.t.end(), predicted + halfWidth);
            if (hi - lo < 12) continue;
            // Points must reach well out on both sides of the minimum.
            if (*lo > predicted - 0.6 * halfWidth || *(hi - 1) < predicted + 0.6 * halfWidth)
                continue;
            const auto from = static_cast<std::size_t>(lo - s.t.begin());
            const auto to = static_cast<std::size_t>(hi - s.t.begin());
            const auto m =
                kweeVanWoerden(std::span(s.t).subspan(from, to - from),
                               std::span(s.y).subspan(from, to - from), predicted, halfWidth);
            if (!m) continue;
            ObservedMinimum o;
            o.cycle = c + (kind == 0 ? 0.0 : 0.5);
            o.time = s.middle + m->time;
            o.error = m->error;
            o.oMinusC = m->time - (eph.epoch + eph.period * o.cycle);
            r.minima.push_back(o);
        }
    }
    std::stable_sort(
        r.minima.begin(), r.minima.end(),
        [](const ObservedMinimum& a, const ObservedMinimum& b) { return a.time < b.time; });
    if (progress) progress(1);
    return r;
}

} // namespace orvanta::analysis
