// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/model_boxes.h"

#include "form1.h"

namespace orvanta::cli {

std::string oneLine(std::string s) {
    for (std::size_t i = s.find('\n'); i != std::string::npos; i = s.find('\n', i))
        s.replace(i, 1, ": ");
    return s;
}

std::unique_ptr<Form1> modelFromOptions(const CurveRequest& request, std::string& error) {
    auto f = std::make_unique<Form1>();
    f->Run([&] {
        applyToBoxes(request, *f);
        f->Pi = PiLiteral;
        f->DataInput();
    });
    if (f->ErrorCount == 0) return f;
    error = oneLine(f->ErrorText);
    return nullptr;
}

} // namespace orvanta::cli
