// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target for the observed-data reader and the overlay behind it (`make fuzz`, clang's
// libFuzzer): any input is either refused with a DataFileError or shown with a caption that
// holds no figure that is not a number; read as radial velocities, refused or read into
// columns of one length, each row with a velocity below the speed of light. Not part of the
// normal build or of CI.
#include "core/observed_data.h"
#include "core/velocity_data.h"
#include "render/observed_overlay.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace orvanta;
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    try {
        const VelocitySet v = parseVelocities(text, "fuzz.txt");
        const std::size_t n = v.time.size();
        if (n < 3 || v.rvA.size() != n || v.rvB.size() != n || v.errorA.size() != n ||
            v.errorB.size() != n)
            std::abort();
        for (std::size_t i = 0; i < n; ++i) {
            if (std::isnan(v.rvA[i]) && std::isnan(v.rvB[i])) std::abort();
            for (double x : {v.rvA[i], v.rvB[i]})
                if (!std::isnan(x) && !(std::fabs(x) < 299792.458)) std::abort();
            for (double e : {v.errorA[i], v.errorB[i]})
                if (!std::isnan(e) && !(e >= 0)) std::abort();
            if (!v.phased && i > 0 && v.time[i] < v.time[i - 1]) std::abort();
        }
    } catch (const DataFileError&) {}
    ObservedData data;
    try {
        data = parseObserved(text, "fuzz.txt");
    } catch (const DataFileError&) {
        return 0;
    }
    ObservedOverlay o;
    o.beginCurve();
    for (int k = 0; k <= 16; ++k)
        o.curveSample(0.0625 * k, k == 8 ? 0.4 : 1);
    o.endCurve();
    o.show(prepareObserved(std::move(data)));
    ObservedOverlay::Graph g;
    g.period = 1;
    g.maxPower = 1;
    g.maxShown = 1;
    g.graphMag = 300;
    g.graphBase = 0.5;
    g.axisY = 360;
    for (int mode = 0; mode < 2; ++mode) {
        g.mode = mode;
        o.update(g);
        const std::string caption = o.caption();
        for (const char* bad : {"nan", "inf"})
            if (caption.find(bad) != std::string::npos) std::abort();
        if (o.rms() && !std::isfinite(*o.rms())) std::abort();
    }
    return 0;
}
