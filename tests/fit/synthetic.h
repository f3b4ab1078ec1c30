// SPDX-License-Identifier: GPL-3.0-or-later
// Light curves made by the model itself at parameters only the tests know, with normal
// noise and a few outliers, for the fit's tests and benchmarks.
#pragma once

#include "fit/curve_model.h"
#include "fit/observations.h"
#include "form1.h"
#include "render/observed_overlay.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace orvanta::fittest {

/// An Algol-like pair on a mildly eccentric orbit, the light of both stars given as
/// temperatures.
inline std::unique_ptr<Form1> hiddenSystem() {
    auto f = std::make_unique<Form1>();
    f->Text7.Text = "3.6";
    f->Text8.Text = "0.8";
    f->Text9.Text = "2.6";
    f->Text10.Text = "3.1";
    f->List1.TopIndex = 2;
    f->List2.TopIndex = 2;
    f->Text11.Text = "9500";
    f->Text12.Text = "4800";
    f->Text1.Text = "15";
    f->Text3.Text = "0.15";
    f->Text4.Text = "0";
    f->Text5.Text = "-4";
    f->Text6.Text = "30";
    return f;
}

inline double gauss(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double a = 1 - u(rng), b = u(rng);
    return std::sqrt(-2 * std::log(a)) * std::cos(2 * 3.141592653589793 * b);
}

/// `n` points at random phases in magnitudes (noise `noise` mag), the observed phase zero
/// `offset` after the model's primary minimum (where a file's epoch would put it), and `outliers`
/// points 0.3 mag too faint. With `errors` the points carry their one-sigma error; `light`:
/// the options of real stars the curve is made with.
inline fit::Observations synthetic(const Controls& truth, std::size_t n, double noise,
                                   std::size_t outliers, std::uint64_t seed, bool errors = true,
                                   double offset = 0.002, const physics::LightOptions& light = {}) {
    fit::BoxModel model(truth, {}, light);
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> phase(n);
    for (double& p : phase)
        p = u(rng);
    std::sort(phase.begin(), phase.end());
    std::vector<double> grid(1000), flux;
    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = static_cast<double>(i) / 1000.0;
    model.flux({}, grid, flux);
    offset += minimumPhase(grid, flux);
    std::vector<double> at(n);
    for (std::size_t i = 0; i < n; ++i)
        at[i] = std::fmod(phase[i] + offset, 1.0);
    model.flux({}, at, flux);
    fit::Observations o;
    o.name = "synthetic";
    o.magnitudes = true;
    o.phase = phase;
    for (std::size_t i = 0; i < n; ++i) {
        o.value.push_back(-2.512 * std::log10(flux[i]) + noise * gauss(rng));
        if (errors) o.error.push_back(noise);
    }
    for (std::size_t k = 1; k <= outliers; ++k)
        o.value[k * n / (outliers + 1)] += 0.3;
    return o;
}

} // namespace orvanta::fittest
