// SPDX-License-Identifier: GPL-3.0-or-later
// The observed light curve over the graph: the points folded onto the graph's one period,
// their eclipse lined up with the model's, their level with the model's full light, drawn
// as small squares on a layer of their own above the drawing surface; and how far they lie
// from the model curve.
#pragma once

#include "core/robust_stats.h"
#include "photometry/magnitudes.h"
#include "render/observed_phase.h"
#include "render/observed_set.h"
#include "render/surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

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

    /// The surface's mark of a pixel nothing has drawn on.
    static constexpr std::uint32_t Undrawn = Surface::Undrawn;
    /// The most points folded, compared and drawn on an update: of a larger set every
    /// stride()-th in time order, so that a drag stays smooth at any number of points
    /// (more than the graph's pixels would not show apart; the caption says so).
    static constexpr std::size_t MaxUsedPoints = 100'000;
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
    /// One in how many points is used: 1 up to MaxUsedPoints points.
    [[nodiscard]] std::size_t stride() const;
    /// Where the points used are drawn (every stride()-th): phase 0 is the left edge, as
    /// the model's sweep.
    [[nodiscard]] const std::vector<double>& alignedPhase() const { return phase_; }
    /// The shift from the observed phase to the graph's, so that the minima meet.
    [[nodiscard]] double phaseShift() const { return shift_; }
    /// The robust figures of the same residuals: outliers beyond five robust sigma counted
    /// and left out, the reduced chi-square where the file has errors.
    [[nodiscard]] const std::optional<RobustFigures>& figures() const { return figures_; }
    /// Observed less model at each point used (alignedPhase()), in the graph's unit
    /// (magnitudes or relative flux), and whether each is an outlier by the figures' rule;
    /// empty while figures() is.
    [[nodiscard]] const std::vector<double>& residuals() const { return residual_; }
    [[nodiscard]] const std::vector<bool>& outliers() const { return outlier_; }
    /// Whether the residuals are in magnitudes (else relative flux).
    [[nodiscard]] bool inMagnitudes() const { return graph_ && graph_->mode == 1; }
    /// "algol.txt: 412 points, rms 0.031 mag", and with outliers or errors
    /// "algol.txt: 728 points, rms 0.011 mag (3 outliers), χ²ᵣ 1.04" (the rms without them);
    /// a file without a period adds "folded on the model's period", a band is named, and a
    /// thinned set says how many points are drawn.
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
    std::vector<double> rawPhase_; ///< observed phase, 0 at the observed epoch (points used)
    std::vector<double> usedFlux_; ///< the relative flux of the points used
    double observedMinimum_ = 0;   ///< phase of the observed primary minimum in rawPhase_
    std::vector<double> phase_;    ///< phase on the graph
    double shift_ = 0;
    std::optional<double> rms_;
    std::optional<RobustFigures> figures_;
    std::vector<double> residual_;
    std::vector<bool> outlier_;
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
