// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/error_hint.h"
#include "core/list_rows.h"

#include "core/text_rules.h"
#include "form1.h"
#include "physics/checked.h"
#include "ui/inputs.h"

#include <cmath>
#include <functional>
#include <memory>
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

/// The name a box goes by beside it, and what it holds, for the sentence of a value too large
/// or too small to calculate with.
struct Quantity {
    std::string name;
    std::string noun;
};

Quantity quantityOf(const Controls& w, const TextBoxCtl& box) {
    const auto light = [](const ListBoxCtl& row) -> Quantity {
        static const char* const nouns[] = {"flux", "luminosity", "temperature", "magnitude"};
        const int r = row.TopIndex;
        if (r < 0 || r >= static_cast<int>(row.Items.size()) || r > LightRow::Magnitude)
            return {"", ""};
        return {nameOf(row.Items[static_cast<size_t>(r)]), nouns[r]};
    };
    if (&box == &w.Text1) return {nameOf(w.Label19.Caption), "distance"};
    if (&box == &w.Text2) return {nameOf(w.Label17.Caption), "number of steps"};
    if (&box == &w.Text3) return {nameOf(w.Label15.Caption), "eccentricity"};
    if (&box == &w.Text4) return {nameOf(w.Label13.Caption), "angle"};
    if (&box == &w.Text5) return {nameOf(w.Label14.Caption), "angle"};
    if (&box == &w.Text6) return {nameOf(w.Label16.Caption), "angle"};
    if (&box == &w.Text7) return {nameOf(w.Label8.Caption), "mass"};
    if (&box == &w.Text8) return {nameOf(w.Label10.Caption), "mass"};
    if (&box == &w.Text9) return {nameOf(w.Label12.Caption), "radius"};
    if (&box == &w.Text10) return {nameOf(w.Label26.Caption), "radius"};
    if (&box == &w.Text11) return light(w.List1);
    if (&box == &w.Text12) return light(w.List2);
    if (&box == &w.Text16) return {nameOf(w.Label41.Caption), "temperature"};
    if (&box == &w.Text17) return {nameOf(w.Label42.Caption), "temperature"};
    if (&box == &w.Text13) return {nameOf(w.Label5.Caption), "graph scale"};
    if (&box == &w.Text14) return {nameOf(w.Label27.Caption), "star scale"};
    return {"", ""};
}

/// Whether a fresh window with these boxes fails on start-up (reading, fitting, plotting).
bool startFails(const Controls& boxes) {
    // Heap: the window object holds the 794 x 568 drawing surface.
    auto fresh = std::make_unique<Form1>();
    fresh->copyValuesFrom(boxes);
    try {
        fresh->Form_Load();
    } catch (const RuntimeError&) {
        return true;
    }
    return false;
}

/// The box whose value the calculation cannot use, found by trial: the boxes as they are fail
/// on a fresh start, and the same boxes with this one's start-up text do not. A box is tried
/// only where its start-up text means the same quantity (a light box on its start-up row).
std::optional<std::string> boxFoundByTrial(const Controls& w) {
    if (!startFails(w)) return std::nullopt;
    const auto start = std::make_unique<Form1>(); // the layout's own texts
    auto trial = std::make_unique<Form1>();
    trial->copyValuesFrom(w);
    for (TextBoxCtl* box : boxesRead(*trial)) {
        const auto* original = static_cast<const TextBoxCtl*>(start->find(box->Name));
        if (original == nullptr || original->Text.empty() || original->Text == box->Text) continue;
        if (box == &trial->Text11 && trial->List1.TopIndex != start->List1.TopIndex) continue;
        if (box == &trial->Text12 && trial->List2.TopIndex != start->List2.TopIndex) continue;
        const std::string text = box->Text;
        box->Text = original->Text;
        const bool fails = startFails(*trial);
        box->Text = text;
        if (fails) continue;
        const Quantity q = quantityOf(*trial, *box);
        if (q.name.empty()) continue;
        const double typed = leadingNumber(text).value_or(0);
        const bool large = std::fabs(typed) > std::fabs(Val(original->Text));
        std::string shown = text;
        while (!shown.empty() && blank(std::string(1, shown.back())))
            shown.pop_back();
        while (!shown.empty() && blank(std::string(1, shown.front())))
            shown.erase(0, 1);
        return q.name + " is " + shown + (large ? ", too large" : ", too small") +
               " to calculate with: type a " + (large ? "smaller " : "larger ") + q.noun + ".";
    }
    return std::nullopt;
}

} // namespace

std::vector<TextBoxCtl*> boxesRead(Controls& w) {
    std::vector<TextBoxCtl*> boxes = {&w.Text1, &w.Text2, &w.Text3, &w.Text4,  &w.Text5, &w.Text6,
                                      &w.Text7, &w.Text8, &w.Text9, &w.Text10, &w.Text11};
    if (w.List1.TopIndex == LightRow::Magnitude) boxes.push_back(&w.Text16);
    boxes.push_back(&w.Text12);
    if (w.List2.TopIndex == LightRow::Magnitude) boxes.push_back(&w.Text17);
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
    if (w.List1.TopIndex != LightRow::Magnitude) checks.push_back(check(*inputNamed("radius-a")));
    if (w.List2.TopIndex != LightRow::Magnitude) checks.push_back(check(*inputNamed("radius-b")));

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
        return LightRow::isLight(row.TopIndex) && leadingNumber(box.Text).value_or(0) == 0;
    };
    if (dark(w.Text11, w.List1) && dark(w.Text12, w.List2) &&
        static_cast<size_t>(w.List1.TopIndex) < w.List1.Items.size() &&
        static_cast<size_t>(w.List2.TopIndex) < w.List2.Items.size())
        return nameOf(w.List1.Items[static_cast<size_t>(w.List1.TopIndex)]) + " and " +
               nameOf(w.List2.Items[static_cast<size_t>(w.List2.TopIndex)]) +
               " are both 0: give at least one star some light.";

    // A value of the right sign can still be too large (or small) for the calculation: a mass
    // of 1e400 overflows as it is read, a radius of 1e300 once it is squared.
    if (errorNumber == err::Overflow || errorNumber == err::InvalidCall)
        if (std::optional<std::string> found = boxFoundByTrial(w)) return *found;
    return {};
}

void Form1::NoteWhatIsRead() {
    noteWhatIsRead(*this);
}

} // namespace orvanta
