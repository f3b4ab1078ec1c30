// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta masses`: the masses of a binary from a radial-velocity file and the model's orbit.
#pragma once

#include "cli/curve_command.h"
#include "fit/velocity_fit.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvanta::cli {

struct MassesRequest {
    CurveRequest::Action action = CurveRequest::Action::Curve;
    std::string file;
    bool json = false;
    std::optional<double> periodDays;
    CurveRequest model; ///< the options of `orvanta curve`: the orbit whose shape is fitted
};

/// Reads the arguments after "masses". Raises UsageError.
MassesRequest parseMassesArguments(const std::vector<std::string>& args);

std::string massesHelp();

/// One JSON object: k_a_km_s, k_b_km_s, gamma_km_s, mass_a_sin3i, mass_b_sin3i,
/// a_sin_i_rsun, mass_a, mass_b, a_rsun, periastron_days, each {"value","error"}; then
/// period_days, eccentricity, inclination_deg, chi2_reduced, rms_km_s, points_a, points_b,
/// weighted.
std::string massesJson(const fit::VelocityFit& fit);
std::string massesText(const fit::VelocityFit& fit, const VelocitySet& set);

/// Runs the command. Returns 0, or 2 with one line on `err`.
int runMassesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace orvanta::cli
