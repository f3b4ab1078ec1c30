// SPDX-License-Identifier: GPL-3.0-or-later
// The observed light curve over the graph: the points folded onto the graph's one period,
// their eclipse lined up with the model's, their level with the model's full light, drawn
// as small squares on a layer of their own above the drawing surface; and how far they lie
// from the model curve.
#pragma once

#include "core/observed_data.h"
#include "core/robust_stats.h"
#include "render/surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

/// Observed points relative to their own level out of eclipse.
struct ObservedSet {
    std::string name;
    bool phased = false;
    std::optional<double> period, epoch; ///< days
    std::vector<double> time;            ///< days, or phase
    std::vector<double> flux;            ///< relative flux, 1 out of eclipse
    std::vector<double> mag;             ///< magnitudes relative to the level out of eclipse
    /// Ends of the error bars in both units; empty without an error column.
    std::vector<double> fluxLow, fluxHigh, magLow, magHigh;
    std::size_t skipped = 0;
    std::vector<std::size_t> skippedLines;
};

/// The magnitude difference of a flux ratio, with the program's 2.512 per factor of ten.
double magnitudeOfRatio(double ratio);
/// The flux ratio of a magnitude difference.
double ratioOfMagnitude(double magnitude);

/// Sets the zero point: the median level of the points out of eclipse (found by clipping
/// the faint side until it no longer changes) becomes magnitude 0 and flux 1.
ObservedSet prepareObserved(ObservedData data);

/// The phase 0..1 of the deepest eclipse of a curve given as relative flux (1 out of
/// eclipse) at phases 0..1 in any order: the deepest of 100 bins of medians, then
/// the centroid of the light missing below half that depth around it.
double minimumPhase(const std::vector<double>& phase, const std::vector<double>& flux);

class ObservedOverlay {
public:
    /// What the graph shows now.
    struct Graph {
        double period = 0;   ///< years
        double maxPower = 0; ///< W, the light with no eclipse
        double maxShown = 0; ///< that light as the graph shows it (W, or magnitude)
        double graphMag = 0, graphBase = 0, axisY = 0;
        int mode = 0; ///< 0 power, 1 magnitude
        bool operator==(const Graph&) const = default;
    };

    static constexpr std::uint32_t Undrawn = 0xFF000000u;
    /// 0x00BBGGRR: magenta, which no curve, trace or mark uses.
    static constexpr std::uint32_t PointColour = 0x00FF00FFu;

    ObservedOverlay();

    /// Shows a new set in place of the old one.
    void show(ObservedSet set);
    /// Removes the points.
    void remove();
    [[nodiscard]] bool shown() const { return set_.has_value(); }
    [[nodiscard]] const ObservedSet* set() const { return set_ ? &*set_ : nullptr; }

    /// The model curve of one whole period, sample by sample from time 0: a sweep that
    /// does not reach its end leaves the last whole curve in place.
    void beginCurve() {
        pendingTime_.clear();
        pendingPower_.clear();
    }
    void curveSample(double time, double power) {
        pendingTime_.push_back(time);
        pendingPower_.push_back(power);
    }
    void endCurve();

    /// Brings the folding, the placement, the residual and the layer up to date with the
    /// graph and the last model curve; does nothing when none of them changed. A graph
    /// that cannot be drawn (no period, no light) hides the points.
    void update(const Graph& graph);

    /// Root-mean-square difference from the model curve, in magnitudes (magnitude mode) or
    /// relative flux (power mode); empty until there is a curve to compare with.
    [[nodiscard]] std::optional<double> rms() const { return rms_; }
    /// Where the points are drawn: phase 0 is the left edge, as the model's sweep.
    [[nodiscard]] const std::vector<double>& alignedPhase() const { return phase_; }
    /// The shift from the observed phase to the graph's, so that the minima meet.
    [[nodiscard]] double phaseShift() const { return shift_; }
    /// The robust figures of the same residuals: outliers beyond five robust sigma counted
    /// and left out, the reduced chi-square where the file has errors.
    [[nodiscard]] const std::optional<RobustFigures>& figures() const { return figures_; }
    /// "algol.txt: 412 points, rms 0.031 mag", and with outliers or errors
    /// "algol.txt: 728 points, rms 0.011 mag (3 outliers), χ²ᵣ 1.04" (the rms without them).
    [[nodiscard]] std::string caption() const;

    /// The layer: the surface's size, 0x00BBGGRR or Undrawn.
    [[nodiscard]] const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    [[nodiscard]] std::uint32_t pixel(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * Surface::W + x];
    }
    /// Grows by one with every change of the layer.
    [[nodiscard]] std::uint64_t revision() const { return revision_; }

private:
    void fold(double periodDays);
    void draw(const Graph& g);
    void clearLayer();

    std::optional<ObservedSet> set_;
    std::uint64_t setRevision_ = 0;
    std::vector<double> pendingTime_, pendingPower_, curveTime_, curvePower_;
    std::uint64_t curveRevision_ = 0;

    // Cached between updates.
    std::optional<Graph> graph_;
    std::uint64_t seenSet_ = ~0ull, seenCurve_ = ~0ull;
    double foldPeriod_ = 0;        ///< days the raw phases were folded with
    std::vector<double> rawPhase_; ///< observed phase, 0 at the observed epoch
    double observedMinimum_ = 0;   ///< phase of the observed primary minimum in rawPhase_
    std::vector<double> phase_;    ///< phase on the graph
    double shift_ = 0;
    std::optional<double> rms_;
    std::optional<RobustFigures> figures_;
    std::vector<double> inverseError_; ///< 1 / half the error bar, 0 without one
    int errorMode_ = -1;               ///< the graph mode inverseError_ is in

    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> taken_; ///< pixels already a square's centre: == stamp_
    std::uint32_t stamp_ = 0;
    std::uint64_t revision_ = 0;
    bool blank_ = true;
};

struct PixelGrid;

/// Paints the layer's drawn points over a composed picture of the window (screen pixels).
void composeObserved(const ObservedOverlay& overlay, PixelGrid out);

} // namespace orvanta
