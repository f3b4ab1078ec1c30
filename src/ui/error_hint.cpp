// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/error_hint.h"

#include "core/text_rules.h"
#include "form1.h"
#include "physics/checked.h"
#include "ui/inputs.h"

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

/// Which values of a quantity are wrong; nullptr where any number will do.
static std::function<bool(double)> wrongFor(Accepts accepts, int errorNumber) {
    switch (accepts) {
    case Accepts::Positive:
        return [](double v) { return !(v > 0); };
    case Accepts::NonNegative:
        return [](double v) { return v < 0; };
    case Accepts::OpenUnit:
        return [](double v) { return !(v > -1 && v < 1); };
    case Accepts::Steps:
        // A step number beyond 16 bits overflows the counter; only an overflow names it.
        return [errorNumber](double v) {
            return v == 0 || (errorNumber == err::Overflow && std::fabs(v) > 32766);
        };
    case Accepts::Any:
        break;
    }
    return nullptr;
}

std::string inputHint(const Controls& w, int errorNumber) {
    const auto check = [&](const InputQuantity& q) {
        return Check{w.*(q.box), nameOf((w.*(q.caption)).Caption), std::string(q.hint),
                     wrongFor(q.accepts, errorNumber), q.emptyIsWrong};
    };
    std::vector<Check> checks;
    for (const char* name : {"distance", "steps", "eccentricity", "mass-a", "mass-b"})
        checks.push_back(check(*inputNamed(name)));
    // A star on the magnitude row takes its radius from the magnitude.
    if (w.List1.TopIndex != 3) checks.push_back(check(*inputNamed("radius-a")));
    if (w.List2.TopIndex != 3) checks.push_back(check(*inputNamed("radius-b")));

    // Each star's light box by the row of its selector.
    for (const auto& [star, selector] : {std::pair{'a', &w.List1}, std::pair{'b', &w.List2}}) {
        const int row = selector->TopIndex;
        if (row < 0 || row >= static_cast<int>(selector->Items.size())) continue;
        const std::string name = nameOf(selector->Items[static_cast<size_t>(row)]);
        for (const InputQuantity& q : inputQuantities()) {
            if (q.star != star || q.lightRow != row) continue;
            if (q.accepts != Accepts::Any)
                checks.push_back({w.*(q.box), name, std::string(q.hint),
                                  wrongFor(q.accepts, errorNumber), q.emptyIsWrong});
            else
                // Any magnitude will do (an empty box reads 0); the temperature beside it is
                // emptied on purpose when the magnitude row is chosen.
                checks.push_back({w.*temperatureBesideMagnitude(star),
                                  nameOf((w.*temperatureBesideMagnitudeCaption(star)).Caption),
                                  std::string(TemperatureBesideMagnitudeHint),
                                  wrongFor(Accepts::Positive, errorNumber)});
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
