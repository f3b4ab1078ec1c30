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
#include "render/observed_thinning.h"
#include "render/surface.h"

#include <cmath>
#include <cstdint>
#include <memory>
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
    /// Up to this many points all are folded, compared and drawn on an update. Of a larger
    /// set at most one per pixel column and row of the graph is (the first in time order),
    /// so that a drag stays smooth at any number of points: more would not show apart. The
    /// caption says how many are used.
    static constexpr std::size_t MaxUsedPoints = 100'000;
    /// 0x00BBGGRR: magenta, which no curve, trace or mark uses.
    static constexpr std::uint32_t PointColour = 0x00FF00FFu;

    /// The points of a set folded for a graph: all of them, or of more than MaxUsedPoints the
    /// first in each pixel column of the observed phase (as folded, before it is lined up
    /// with the model's) and each pixel row the graph draws it on (off the graph, one row
    /// above and one below). Taken off the event loop when a file is read, and again when
    /// the period folded on, or for a thinned sample the graph's rows, change.
    struct Sample {
        double foldPeriod = NAN; ///< days folded with; NaN: no sample
        Graph graph;             ///< the graph whose rows thinned it
        bool thinned = false;
        std::vector<std::uint32_t> index; ///< the points kept, in time order (thinned only)
        std::vector<double> rawPhase;     ///< their observed phase, 0 at the observed epoch
        double observedMinimum = 0;       ///< the phase of the observed primary minimum
    };
    /// The sample of `set` for `graph`; no sample for a graph that cannot be drawn.
    static Sample sample(const ObservedSet& set, const Graph& graph);

    ObservedOverlay();

    /// Shows a new set in place of the old one.
    void show(ObservedSet set);
    /// The same, without a copy, with a sample taken for the graph shown (used if it still
    /// is, else taken again).
    void show(std::shared_ptr<const ObservedSet> set, Sample ready);
    void show(std::shared_ptr<const ObservedSet> set);
    /// Removes the points.
    void remove();
    [[nodiscard]] bool shown() const { return set_ != nullptr; }
    [[nodiscard]] const ObservedSet* set() const { return set_.get(); }

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
    /// Whether the set is thinned to one point per pixel column and row.
    [[nodiscard]] bool thinned() const { return sample_.thinned; }
    /// The points compared and drawn on the last update, in time order: all of them, or of
    /// a thinned set at most one per pixel of the graph (the first there).
    [[nodiscard]] const std::vector<std::uint32_t>& usedPoints() const { return used_; }
    /// Where the points used are drawn: phase 0 is the left edge, as the model's sweep.
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
    /// thinned set says how many points are drawn ("(8123 drawn, one per pixel)").
    [[nodiscard]] std::string caption() const;

    /// The layer: the surface's size, 0x00BBGGRR or Undrawn.
    [[nodiscard]] const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    [[nodiscard]] std::uint32_t pixel(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * Surface::W + x];
    }
    /// Grows by one with every change of the layer.
    [[nodiscard]] std::uint64_t revision() const { return revision_; }

    /// The graph's row of a relative value (flux, or magnitude from the full light).
    static double graphRow(const Graph& g, double v) {
        const double q = g.mode == 0 ? v * g.maxPower : v + g.maxShown;
        return g.axisY - g.graphMag * (q - g.graphBase);
    }

private:
    void draw(const Graph& g);
    void clearLayer();

    std::shared_ptr<const ObservedSet> set_;
    std::uint64_t setRevision_ = 0;
    std::vector<double> pendingTime_, pendingPower_, curveTime_, curvePower_;
    std::uint64_t curveRevision_ = 0;

    // Cached between updates.
    std::optional<Graph> graph_;
    std::uint64_t seenSet_ = ~0ull, seenCurve_ = ~0ull;
    Sample sample_;
    std::uint64_t sampleRevision_ = 0; ///< grows with every new sample
    std::vector<double> inverseError_; ///< 1 / half the error bar of the sample's points
    std::uint64_t seenInverse_ = ~0ull;
    int inverseMode_ = -1;            ///< the graph mode inverseError_ is in
    std::vector<std::uint32_t> used_; ///< the points used on the last update
    std::vector<double> phase_;       ///< their phase on the graph
    std::vector<double> usedInverse_; ///< their inverseError_
    double shift_ = 0;
    std::optional<double> rms_;
    std::optional<RobustFigures> figures_;
    std::vector<double> residual_; ///< of each point used, in the order of phase_
    std::vector<bool> outlier_;
    PixelCells usedCells_; ///< one point per pixel of a thinned set

    std::vector<std::uint32_t> pixels_;
    PixelCells centres_; ///< pixels already a square's centre
    std::uint64_t revision_ = 0;
    bool blank_ = true;
};

struct PixelGrid;

/// Paints the layer's drawn points over a composed picture of the window (screen pixels).
void composeObserved(const ObservedOverlay& overlay, PixelGrid out);

} // namespace orvanta
