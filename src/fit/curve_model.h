// SPDX-License-Identifier: GPL-3.0-or-later
// What a fit compares with the data: a function from the values of the free parameters and
// a set of phases to the light received, relative to both stars' full light.
#pragma once

#include "fit/fit_parameters.h"

#include <memory>
#include <string>
#include <vector>

namespace orvanta {
class Form1;
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

/// The system's own model on a copy of a window's boxes: the free parameters typed into
/// their boxes, everything else as the boxes show it. The period stays the boxes' period:
/// a free distance carries both masses with it by Kepler's third law. The masses change
/// nothing in phase, so a fit leaves them as they are.
class BoxModel final : public CurveModel {
public:
    /// Raises FitError for an unknown name or a parameter the boxes derive.
    BoxModel(const Controls& boxes, const std::vector<std::string>& free);
    ~BoxModel() override;

    [[nodiscard]] const std::vector<const FitParameter*>& parameters() const override {
        return free_;
    }
    bool flux(const std::vector<double>& values, const std::vector<double>& phases,
              std::vector<double>& out) override;
    [[nodiscard]] std::unique_ptr<CurveModel> clone() const override;

    /// The free parameters' values as the boxes show them: the start of a fit.
    [[nodiscard]] std::vector<double> start() const;
    /// The boxes with these values typed in, and the masses that keep the period: what the window's
    /// boxes become after a fit.
    [[nodiscard]] const Controls& boxesWith(const std::vector<double>& values);
    /// The period of the boxes, days.
    [[nodiscard]] double periodDays() const;

private:
    BoxModel(const BoxModel& other);
    void apply(const std::vector<double>& values);

    std::unique_ptr<Form1> f_;
    std::vector<std::string> names_;
    std::vector<const FitParameter*> free_;
    double distance0_ = 0, massA0_ = 0, massB0_ = 0, period0_ = 0;
    bool freeDistance_ = false;
};

} // namespace orvanta::fit
