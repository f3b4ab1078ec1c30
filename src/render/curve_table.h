// SPDX-License-Identifier: GPL-3.0-or-later
// The light curve as a table: what Ctrl+E saves and `orvanta curve` prints.
#pragma once

#include "physics/eclipse.h"
#include "physics/light_options.h"

#include <string>
#include <vector>

namespace orvanta {

class Form1;
struct Controls;

/// One sample of the period sweep the graph draws.
struct CurveRow {
    double phase;     ///< Time / Period, 0..1
    double timeDays;  ///< days since periastron
    double power;     ///< W received
    double magnitude; ///< absolute magnitude of the summed light
    Eclipse eclipse;
    double rvA = 0; ///< km/s, star A's radial velocity with the systemic one (with velocities)
    double rvB = 0; ///< km/s, star B's
};

/// What real stars add, all off by default: the light's options, and the radial velocities
/// of both stars with the systemic velocity `gamma` (km/s).
struct CurveOptions {
    physics::LightOptions light;
    bool velocities = false;
    double gamma = 0;
};

struct CurveTable {
    /// Every input as its box shows it, then the derived period: one line, no line breaks.
    std::string inputs;
    double periodDays = 0;
    std::vector<CurveRow> rows;
    CurveOptions options;
    double kA = 0, kB = 0; ///< km/s, the velocity amplitudes (with velocities)
    double sinI = 0;       ///< sine of the inclination (with velocities)
};

/// The light curve of the inputs the boxes show now, with the options of real stars, swept
/// by a fresh evaluator (physics/evaluator.h), so the window's own state (time, positions,
/// the Kepler solver's warm start) is untouched and equal boxes give equal digits. Raises the
/// run-time error the window's Plot would.
CurveTable LightCurveTable(const Controls& boxes, const CurveOptions& options = {});

/// The table as CSV: "#" comment lines (the inputs, then "# period = <days> d"), the
/// header row phase,time_days,power_w,magnitude,eclipse, one row per sample. Numbers in
/// the general format with "." decimals, whatever the locale; lines end in "\n".
std::string CurveCsv(const CurveTable& table);

} // namespace orvanta
