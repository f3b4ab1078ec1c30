// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/error_hint.h"

#include "core/checked.h"
#include "core/text_rules.h"
#include "form1.h"

#include <cmath>
#include <functional>
#include <optional>

namespace orvanta {

namespace {

// The label text without its " =".
std::string nameOf(std::string caption) {
    while (!caption.empty() && (caption.back() == '=' || caption.back() == ' '))
        caption.pop_back();
    return caption;
}

bool blank(const std::string& s) {
    for (const char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    return true;
}

// The number a text holds when it starts with one; nothing for "" or "abc" (which read 0).
// A number beyond the double range counts as one too large to use: +/- infinity.
std::optional<double> leadingNumber(const std::string& text) {
    try {
        const double v = Val(text);
        if (ValLength(text) == 0) return std::nullopt;
        return v;
    } catch (const RuntimeError&) {
        return text.find('-') < text.find_first_of("0123456789") ? -HUGE_VAL : HUGE_VAL;
    }
}

/// A box, the name the student sees beside it, what it accepts and which values are wrong.
struct Check {
    const TextBoxCtl& box;
    std::string name;
    std::string accepts;
    std::function<bool(double)> wrong; ///< nullptr: any number will do
    bool emptyIsWrong = true;
};

std::string sentence(const Check& c, const std::string& state) {
    return c.name + " " + state + ": type " + c.accepts + ".";
}

std::optional<std::string> judge(const Check& c) {
    if (blank(c.box.Text))
        return c.emptyIsWrong ? std::optional(sentence(c, "is empty")) : std::nullopt;
    const std::optional<double> v = leadingNumber(c.box.Text);
    if (!v) return c.emptyIsWrong ? std::optional(sentence(c, "is not a number")) : std::nullopt;
    if (c.wrong && c.wrong(*v)) {
        std::string shown = c.box.Text;
        while (!shown.empty() && blank(std::string(1, shown.back())))
            shown.pop_back();
        while (!shown.empty() && blank(std::string(1, shown.front())))
            shown.erase(0, 1);
        return sentence(c, "is " + shown);
    }
    return std::nullopt;
}

} // namespace

std::vector<TextBoxCtl*> boxesRead(Controls& w) {
    std::vector<TextBoxCtl*> boxes = {&w.Text1, &w.Text2, &w.Text3, &w.Text4,  &w.Text5, &w.Text6,
                                      &w.Text7, &w.Text8, &w.Text9, &w.Text10, &w.Text11};
    if (w.List1.TopIndex == 3) boxes.push_back(&w.Text16);
    boxes.push_back(&w.Text12);
    if (w.List2.TopIndex == 3) boxes.push_back(&w.Text17);
    boxes.push_back(&w.Text13);
    boxes.push_back(&w.Text14);
    return boxes;
}

void noteWhatIsRead(Controls& controls) {
    for (TextBoxCtl* box : boxesRead(controls))
        box->ReadNote = readAsNote(box->Text);
}

std::string shownNote(const TextBoxCtl& box) {
    if (box.ReadNote.empty() || readAsNote(box.Text) != box.ReadNote) return {};
    return box.ReadNote;
}

std::string inputHint(const Controls& w, int errorNumber) {
    const auto positive = [](double v) { return !(v > 0); };
    const auto negative = [](double v) { return v < 0; };
    const auto outsideUnit = [](double v) { return !(v > -1 && v < 1); };
    // A step number beyond 16 bits overflows the counter; only an overflow names it.
    const auto steps = [errorNumber](double v) {
        return v == 0 || (errorNumber == err::Overflow && std::fabs(v) > 32766);
    };

    std::vector<Check> checks = {
        {w.Text1, nameOf(w.Label19.Caption), "a distance above 0", positive},
        {w.Text2, nameOf(w.Label17.Caption), "a number of steps from 1 to 32766", steps},
        {w.Text3, nameOf(w.Label15.Caption), "a number above -1 and below 1", outsideUnit, false},
        {w.Text7, nameOf(w.Label8.Caption), "a mass above 0", positive},
        {w.Text8, nameOf(w.Label10.Caption), "a mass above 0", positive},
    };
    // A star on the magnitude row takes its radius from the magnitude.
    if (w.List1.TopIndex != 3)
        checks.push_back({w.Text9, nameOf(w.Label12.Caption), "a radius above 0", positive});
    if (w.List2.TopIndex != 3)
        checks.push_back({w.Text10, nameOf(w.Label26.Caption), "a radius above 0", positive});

    // Each star's light box by the row of its selector.
    struct Light {
        const TextBoxCtl& value;
        const ListBoxCtl& row;
        const TextBoxCtl& temperature;
        const LabelCtl& temperatureName;
    };
    for (const Light& s : {Light{w.Text11, w.List1, w.Text16, w.Label41},
                           Light{w.Text12, w.List2, w.Text17, w.Label42}}) {
        const int row = s.row.TopIndex;
        if (row < 0 || row >= static_cast<int>(s.row.Items.size())) continue;
        const std::string name = nameOf(s.row.Items[static_cast<size_t>(row)]);
        switch (row) {
        case 0:
            checks.push_back({s.value, name, "a flux of 0 or more", negative});
            break;
        case 1:
            checks.push_back({s.value, name, "a luminosity of 0 or more", negative});
            break;
        case 2:
            checks.push_back({s.value, name, "a temperature above 0", positive});
            break;
        default:
            // Any magnitude will do (an empty box reads 0); the temperature beside it is
            // emptied on purpose when the magnitude row is chosen.
            checks.push_back({s.temperature, nameOf(s.temperatureName.Caption),
                              "the star's temperature in K beside its magnitude", positive});
            break;
        }
    }

    for (const Check& c : checks)
        if (std::optional<std::string> found = judge(c)) return *found;

    // Each light alone may be 0, but a plot of two dark stars divides by their light.
    const auto dark = [](const TextBoxCtl& box, const ListBoxCtl& row) {
        return row.TopIndex >= 0 && row.TopIndex <= 2 && leadingNumber(box.Text).value_or(0) == 0;
    };
    if (dark(w.Text11, w.List1) && dark(w.Text12, w.List2) &&
        static_cast<size_t>(w.List1.TopIndex) < w.List1.Items.size() &&
        static_cast<size_t>(w.List2.TopIndex) < w.List2.Items.size())
        return nameOf(w.List1.Items[static_cast<size_t>(w.List1.TopIndex)]) + " and " +
               nameOf(w.List2.Items[static_cast<size_t>(w.List2.TopIndex)]) +
               " are both 0: give at least one star some light.";
    return {};
}

void Form1::NoteWhatIsRead() {
    noteWhatIsRead(*this);
}

} // namespace orvanta
