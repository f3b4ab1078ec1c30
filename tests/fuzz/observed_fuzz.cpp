// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target for the observed-data reader and the overlay behind it (`make fuzz`, clang's
// libFuzzer): any input is either refused with a DataFileError or shown with a caption that
// holds no figure that is not a number. Not part of the normal build or of CI.
#include "core/observed_data.h"
#include "render/observed_overlay.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace orvanta;
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
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
