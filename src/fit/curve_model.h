// SPDX-License-Identifier: GPL-3.0-or-later
// What a fit compares with the data: a function from the values of the free parameters and
// a set of phases to the light received, relative to both stars' full light.
#pragma once

#include "fit/fit_parameters.h"
#include "physics/evaluator.h"
#include "physics/light_options.h"

#include <memory>
#include <string>
#include <vector>

namespace orvanta {
struct Controls;
} // namespace orvanta

namespace orvanta::fit {

class CurveModel {
public:
    virtual ~CurveModel() = default;
    /// The free parameters, in the order of the values.
    [[nodiscard]] virtual const std::vector<const FitParameter*>& parameters() const = 0;
    /// The light at each phase (0..1 of the period from periastron) as a fraction of both
    /// full discs' light. False where the model cannot be evaluated with these values
    /// (stars that do not fit in the orbit, a run-time error of the model).
    virtual bool flux(const std::vector<double>& values, const std::vector<double>& phases,
                      std::vector<double>& out) = 0;
    /// An independent model for another thread.
    [[nodiscard]] virtual std::unique_ptr<CurveModel> clone() const = 0;
};

/// The system's own model for a set of boxes: the boxes are read once, as Plot reads them,
/// and every curve is a fresh Evaluator (no window object, so a fit can run on any thread).
/// The free parameters take the values a box would hold (a value typed in is read back at
/// the 15 digits a box shows), so a fitted curve has the window's digits once the values
/// are in their boxes; a star's light follows its selector's row as Plot reads it (a
/// luminosity with the radius, a magnitude's radius with the temperature). The period stays
/// the boxes' period: a free distance carries both masses with it by Kepler's third law.
/// The masses change nothing in phase, so a fit leaves them as they are. A free option of
/// the light (limb-a, limb-b: the linear coefficient u1, u2 held; third-light) cannot be
/// evaluated where the options' own checks refuse it.
class BoxModel final : public CurveModel {
public:
    /// Raises FitError for an unknown name, a name given twice, a parameter the boxes derive
    /// or boxes Plot cannot read. `light`: the options of real stars in force.
    BoxModel(const Controls& boxes, const std::vector<std::string>& free,
             const physics::LightOptions& light = {});

    [[nodiscard]] const std::vector<const FitParameter*>& parameters() const override {
        return free_;
    }
    bool flux(const std::vector<double>& values, const std::vector<double>& phases,
              std::vector<double>& out) override;
    [[nodiscard]] std::unique_ptr<CurveModel> clone() const override;

    /// The free parameters' values as the boxes show them: the start of a fit.
    [[nodiscard]] std::vector<double> start() const { return start_; }
    /// The evaluator's parameter set for these values. Raises the model's RuntimeError.
    [[nodiscard]] Parameters parametersWith(const std::vector<double>& values) const;
    /// The options of the light with these values.
    [[nodiscard]] physics::LightOptions lightWith(const std::vector<double>& values) const {
        return parametersWith(values).light;
    }
    /// The period of the boxes, days.
    [[nodiscard]] double periodDays() const { return period0_; }

private:
    /// What Plot reads of a star's light besides the radius: its selector's row, the value
    /// box (a luminosity or a magnitude) and the temperature.
    struct StarLight {
        int row = 0;
        double value = 0, temperature = 0;
    };

    std::vector<const FitParameter*> free_;
    std::vector<double> start_;
    Parameters base_;
    StarLight lightA_, lightB_;
    double distance0_ = 0, massA0_ = 0, massB0_ = 0, period0_ = 0;
    bool freeDistance_ = false, freeOptions_ = false;
};

} // namespace orvanta::fit
