// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/curve_model.h"

#include "form1.h"

#include <cmath>

namespace orvanta::fit {

BoxModel::BoxModel(const Controls& boxes, const std::vector<std::string>& free)
    : f_(std::make_unique<Form1>()), names_(free) {
    Form1& f = *f_;
    f.copyValuesFrom(boxes);
    f.PrevQuantityA = f.List1.TopIndex;
    f.PrevQuantityB = f.List2.TopIndex;
    f.Pi = PiLiteral;
    try {
        prepareBoxes(f, free);
        f.DataInput();
    } catch (const RuntimeError& e) {
        throw FitError("the starting values cannot be used: " + e.message);
    }
    for (const std::string& name : free) {
        const FitParameter* p = findFitParameter(name);
        for (const FitParameter* q : free_)
            if (q == p) throw FitError("parameter '" + name + "' is named twice");
        free_.push_back(p);
        freeDistance_ = freeDistance_ || name == "distance";
    }
    distance0_ = Val(f.Text1.Text);
    massA0_ = Val(f.Text7.Text);
    massB0_ = Val(f.Text8.Text);
    period0_ = (f.Period * DaysPerYear).value();
}

BoxModel::BoxModel(const BoxModel& other)
    : CurveModel(), f_(std::make_unique<Form1>()), names_(other.names_), free_(other.free_),
      distance0_(other.distance0_), massA0_(other.massA0_), massB0_(other.massB0_),
      period0_(other.period0_), freeDistance_(other.freeDistance_) {
    f_->copyValuesFrom(*other.f_);
    f_->PrevQuantityA = other.f_->PrevQuantityA;
    f_->PrevQuantityB = other.f_->PrevQuantityB;
    f_->Pi = PiLiteral;
}

BoxModel::~BoxModel() = default;

std::unique_ptr<CurveModel> BoxModel::clone() const {
    return std::unique_ptr<CurveModel>(new BoxModel(*this));
}

std::vector<double> BoxModel::start() const {
    std::vector<double> v;
    for (const FitParameter* p : free_)
        v.push_back(readParameter(*f_, *p));
    return v;
}

double BoxModel::periodDays() const {
    return period0_;
}

void BoxModel::apply(const std::vector<double>& values) {
    Form1& f = *f_;
    for (std::size_t j = 0; j < free_.size(); ++j)
        writeParameter(f, *free_[j], values[j]);
    // The data fix the period; Kepler's third law then carries the masses with the orbit's
    // size. The masses themselves change nothing in phase: they stay as typed.
    if (freeDistance_) {
        const double r = Val(f.Text1.Text) / distance0_;
        f.Text7.Text = Str(massA0_ * r * r * r);
        f.Text8.Text = Str(massB0_ * r * r * r);
    }
}

const Controls& BoxModel::boxesWith(const std::vector<double>& values) {
    apply(values);
    return *f_;
}

bool BoxModel::flux(const std::vector<double>& values, const std::vector<double>& phases,
                    std::vector<double>& out) {
    Form1& f = *f_;
    out.resize(phases.size());
    try {
        apply(values);
        f.Time = 0;
        f.EccAnomaly = 0; // each curve from the same start, whatever ran before
        f.DataInput();
        const Num full = f.MaxPowerSum;
        for (std::size_t i = 0; i < phases.size(); ++i) {
            f.Time = Num(phases[i]) * f.Period;
            f.Main();
            out[i] = (f.PowerSum / full).value();
        }
    } catch (const RuntimeError&) {
        return false;
    }
    return true;
}

} // namespace orvanta::fit
