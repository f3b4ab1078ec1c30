// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_controls.h"

#include "core/version.h"
#include "photometry/presets.h"

#include <algorithm>
#include <string>

namespace orvanta {

namespace {

constexpr double Third = 1.0 / 3.0;

// "8 December 2026" for "2026-12-08"; any other form is shown as it stands.
std::string dateInWords(const std::string& iso) {
    static const char* const Months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    const bool digits = iso.size() == 10 && iso[4] == '-' && iso[7] == '-' &&
                        iso.find_first_not_of("0123456789-") == std::string::npos;
    if (!digits) return iso;
    const int month = std::stoi(iso.substr(5, 2));
    const int day = std::stoi(iso.substr(8, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) return iso;
    return std::to_string(day) + ' ' + Months[month - 1] + ' ' + iso.substr(0, 4);
}

// The credits: the close hint, the programme and society, the subject, who made it and
// under which licence, the version and its release date from the build, and the contact.
std::string creditsText() {
    std::string text = "\r\n"
                       "<Double Click This Box to Close>\r\n"
                       "\r\n"
                       "Teaching Astronomy through\r\n"
                       "Interactive Simulation\r\n"
                       "(TATIS)\r\n"
                       "\r\n"
                       "Society for Classroom Astronomy\r\n"
                       "\r\n"
                       "Subject: Eclipsing Binary Stars\r\n"
                       "2002 TATIS Simulation Project\r\n"
                       "Orvanta: An Eclipsing Binary Star\r\n"
                       "\r\n"
                       "Programmers:\r\n"
                       "The Orvanta project and its contributors\r\n"
                       "Licence: GNU GPL, version 3 or later\r\n"
                       "\r\n"
                       "Last Updated:\r\n";
    text += "Version ";
    text += Version;
    text += ", ";
    text += dateInWords(ReleaseDate);
    text += "\r\n"
            "\r\n"
            "For technical difficulties, please contact\r\n"
            "the Orvanta project at\r\n"
            "orvanta@example.org\r\n"
            "\r\n"
            "Keyboard commands: see \"Keyboard\"\r\n"
            "in README.md (/usr/share/doc/orvanta)\r\n";
    return text;
}

void place(Control& c, const char* name, Kind kind, FrameCtl* container, double l, double t,
           double w, double h) {
    c.Name = name;
    c.kind = kind;
    c.Container = container;
    c.Left = l;
    c.Top = t;
    c.Width = w;
    c.Height = h;
}

// A text box on a panel: button face, black text, I-beam.
void inputBox(TextBoxCtl& c, const char* name, FrameCtl* frame, double l, double t,
              const char* text, int tab) {
    place(c, name, Kind::TextBox, frame, l, t, 49, 18);
    c.Text = text;
    c.BackColor = ButtonFace;
    c.ForeColor = Black;
    c.MousePointer = Pointer::IBeam;
    c.TabIndex = tab;
}

// A caption or note inside a panel: button-face text on a transparent background.
void panelLabel(LabelCtl& c, const char* name, FrameCtl* frame, double l, double t, double w,
                double h, const char* caption, bool visible = true) {
    place(c, name, Kind::Label, frame, l, t, w, h);
    c.Caption = caption;
    c.ForeColor = ButtonFace;
    c.Transparent = true;
    c.Visible = visible;
}

// A read-out: white bold text on a transparent background.
void readOut(LabelCtl& c, const char* name, FrameCtl* container, double l, double t, double w,
             double h, const char* caption, Align align = Align::Left) {
    place(c, name, Kind::Label, container, l, t, w, h);
    c.Caption = caption;
    c.ForeColor = White;
    c.Bold = true;
    c.Transparent = true;
    c.Alignment = align;
}

void selector(ListBoxCtl& c, const char* name, FrameCtl* frame, double t, double w,
              std::vector<std::string> items, int tab) {
    place(c, name, Kind::ListBox, frame, 5 + Third, t, w, 14);
    c.Items = std::move(items);
    c.BackColor = Black;
    c.ForeColor = ButtonFace;
    c.TabIndex = tab;
}

void menuLabel(LabelCtl& c, const char* name, double t, double h, const char* caption) {
    place(c, name, Kind::Label, nullptr, 736, t, 57, h);
    c.Caption = caption;
    c.ForeColor = White;
    c.Transparent = true;
    c.Alignment = Align::Centre;
    c.Border = true;
    c.MousePointer = Pointer::UpArrow;
}

void tick(LineCtl& c, int index, double x, double y1, double y2) {
    place(c, "Line1", Kind::LineMark, nullptr, 0, 0, 0, 0);
    c.Name = "Line1(";
    c.Name += std::to_string(index);
    c.Name += ')';
    c.X1 = x;
    c.X2 = x;
    c.Y1 = y1;
    c.Y2 = y2;
    c.BorderColor = Green;
}

void starShape(ShapeCtl& c, const char* name, double l, double t, Colour32 fill, bool visible) {
    place(c, name, Kind::Shape, nullptr, l, t, 105, 105);
    c.FillColor = fill;
    c.BorderColor = White;
    c.Visible = visible;
}

} // namespace

Controls::Controls() {
    place(Text15, "Text15", Kind::TextBox, nullptr, 397, 57, 313, 272);
    Text15.Text = creditsText();
    Text15.BackColor = ButtonFace;
    Text15.ForeColor = Black;
    Text15.Bold = true;
    Text15.MultiLine = true;
    Text15.VerticalScroll = true;
    Text15.Alignment = Align::Centre;
    Text15.Visible = false;
    Text15.MousePointer = Pointer::Arrow;

    Timer1.Name = "Timer1";
    Timer1.Interval = 1;
    Timer1.Enabled = false;

    place(Frame2, "Frame2", Kind::Frame, nullptr, 400, 368, 337, 201);
    Frame2.Caption = "Variables for Stars A and B";
    Frame2.BackColor = Black;
    Frame2.ForeColor = White;
    Frame2.Bold = true;
    Frame2.MousePointer = Pointer::Arrow;

    inputBox(Text14, "Text14", &Frame2, 128, 176, "25", 15);
    inputBox(Text17, "Text17", &Frame2, 128, 160, "", 14);
    Text17.Visible = false;
    inputBox(Text16, "Text16", &Frame2, 128, 144, "", 13);
    Text16.Visible = false;
    inputBox(Text12, "Text12", &Frame2, 128, 128, "32538658.5511403", 12);
    inputBox(Text11, "Text11", &Frame2, 128, 112, "1181952000", 11);
    inputBox(Text10, "Text10", &Frame2, 128, 96, "3.54", 10);
    inputBox(Text9, "Text9", &Frame2, 128, 80, "2.88", 9);
    inputBox(Text8, "Text8", &Frame2, 128, 64, "0.8", 8);
    inputBox(Text7, "Text7", &Frame2, 128, 48, "3.59", 7);

    selector(List2, "List2", &Frame2, 128, 121,
             {"FluxB / (W/m^2) =", "LuminosityB / W =", "TemperatureB / K =", "AbsVisMagB ="}, 21);
    selector(List1, "List1", &Frame2, 112, 121,
             {"FluxA / (W/m^2) =", "LuminosityA / W =", "TemperatureA / K =", "AbsVisMagA ="}, 20);

    place(Combo1, "Combo1", Kind::ComboBox, &Frame2, 128, 16, 49, 20);
    Combo1.Items = spectralTypeItems();
    Combo1.TabIndex = 16;

    place(Check2, "Check2", Kind::CheckBox, &Frame2, 288, 176, 47 + Third, 17);
    Check2.Caption = "Auto";
    Check2.BackColor = Black;
    Check2.ForeColor = ButtonFace;
    Check2.Value = 1;
    Check2.TabIndex = 19;

    place(Combo2, "Combo2", Kind::ComboBox, &Frame2, 256, 16, 49, 20);
    Combo2.Items = spectralTypeItems();
    Combo2.TabIndex = 17;

    panelLabel(Label44, "Label44", &Frame2, 176, 144, 153, 17, "(Temperature of Star A Surface)",
               false);
    panelLabel(Label43, "Label43", &Frame2, 176, 160, 153, 17, "(Temperature of Star B Surface)",
               false);
    panelLabel(Label42, "Label42", &Frame2, 8, 160, 121, 17, "TemperatureB / K =", false);
    panelLabel(Label41, "Label41", &Frame2, 8, 144, 121, 17, "TemperatureA / K =", false);
    panelLabel(Label40, "Label40", &Frame2, 184, 16, 65, 25, "Spectral Type of StarB =");
    panelLabel(Label39, "Label39", &Frame2, 56, 16, 65, 25, "Spectral Type of StarA =");
    panelLabel(Label28, "Label28", &Frame2, 176, 176, 153, 17, "(Magnification of Stars)");
    panelLabel(Label27, "Label27", &Frame2, 8, 176, 121, 17, "StarMag / (Px/SunRad) =");
    panelLabel(Label1, "Label1", &Frame2, 176, 64, 153, 17, "(Mass of Star B)");
    panelLabel(Label26, "Label26", &Frame2, 8, 96, 121, 17, "RadiusB / SunRad =");
    panelLabel(Label12, "Label12", &Frame2, 8, 80, 121, 17, "RadiusA / SunRad =");
    panelLabel(Label10, "Label10", &Frame2, 8, 64, 121, 17, "MassB / SunMass =");
    panelLabel(Label9, "Label9", &Frame2, 176, 48, 153, 17, "(Mass of Star A)");
    panelLabel(Label8, "Label8", &Frame2, 8, 48, 121, 17, "MassA / SunMass =");
    panelLabel(Label7, "Label7", &Frame2, 176, 80, 153, 17, "(Radius of Star A)");
    panelLabel(Label6, "Label6", &Frame2, 176, 96, 153, 17, "(Radius of Star B)");
    panelLabel(Label3, "Label3", &Frame2, 176, 128, 153, 17, "(Light Flux from Star B Surface)");
    panelLabel(Label4, "Label4", &Frame2, 176, 112, 153, 17, "(Light Flux from Star A Surface)");

    place(Frame1, "Frame1", Kind::Frame, nullptr, 0, 368, 401, 201);
    Frame1.Caption = "Variables for Simulation";
    Frame1.BackColor = Black;
    Frame1.ForeColor = White;
    Frame1.Bold = true;
    Frame1.MousePointer = Pointer::Arrow;

    selector(List3, "List3", &Frame1, 63, 129, {"Max Power Sum / W =", "Min Abs Mag Sum ="}, 22);
    inputBox(Text13, "Text13", &Frame1, 136, 176, "3E-26", 6);
    inputBox(Text6, "Text6", &Frame1, 136, 160, "0", 5);
    inputBox(Text5, "Text5", &Frame1, 136, 144, "-7.69", 4);
    inputBox(Text4, "Text4", &Frame1, 136, 128, "0", 3);
    inputBox(Text3, "Text3", &Frame1, 136, 112, "0", 2);
    inputBox(Text2, "Text2", &Frame1, 136, 96, "100", 1);
    inputBox(Text1, "Text1", &Frame1, 136, 80, "15", 0);

    place(Check1, "Check1", Kind::CheckBox, &Frame1, 344, 176, 49, 17);
    Check1.Caption = "Auto";
    Check1.BackColor = Black;
    Check1.ForeColor = ButtonFace;
    Check1.Value = 1;
    Check1.TabIndex = 18;

    panelLabel(Label48, "Label48", &Frame1, 8, 32, 121, 17, "Power Sum / W =");
    readOut(Label47, "Label47", &Frame1, 136, 16, 169, 17, "1");
    panelLabel(Label46, "Label46", &Frame1, 8, 16, 121, 17, "Time / Day =");
    readOut(Label45, "Label45", &Frame1, 136, 32, 169, 17, "1");
    readOut(Label25, "Label25", &Frame1, 296, 16, 97, 14, "(100%)");
    readOut(Label11, "Label11", &Frame1, 296, 32, 97, 14, "(100%)");
    readOut(Label33, "Label33", &Frame1, 136, 64, 169, 17, "1");
    panelLabel(Label32, "Label32", &Frame1, 8, 152, 89, 17, "");
    panelLabel(Label30, "Label30", &Frame1, 8, 48, 121, 17, "Period / Day =");
    readOut(Label31, "Label31", &Frame1, 136, 48, 169, 17, "1");
    panelLabel(Label18, "Label18", &Frame1, 184, 80, 214, 17,
               "(Average Distance Between Centres of Stars)");
    panelLabel(Label5, "Label5", &Frame1, 8, 176, 121, 17, "GraphMag / (Px/W) =");
    panelLabel(Label2, "Label2", &Frame1, 184, 176, 214, 17, "(Vertical Magnification of Graph)");
    panelLabel(Label24, "Label24", &Frame1, 184, 144, 214, 17,
               "(Inclination of Orbit: Ctrl + Vertical Drag)");
    panelLabel(Label23, "Label23", &Frame1, 184, 160, 214, 17,
               "(Inclination of Orbit: Shift + Horizontal Drag)");
    panelLabel(Label22, "Label22", &Frame1, 184, 96, 214, 17,
               "(Number of Iterations This Simulation Runs)");
    panelLabel(Label21, "Label21", &Frame1, 184, 128, 214, 17,
               "(Inclination of Orbit: Ctrl + Horizontal Drag)");
    panelLabel(Label20, "Label20", &Frame1, 184, 112, 214, 17,
               "(Eccentricity of True Relative Orbit: Alt)");
    panelLabel(Label19, "Label19", &Frame1, 8, 80, 121, 17, "MeanDistance / SunRad =");
    panelLabel(Label17, "Label17", &Frame1, 8, 96, 121, 17, "IterationNo =");
    panelLabel(Label16, "Label16", &Frame1, 8, 160, 121, 17, "Incline3 / Degree =");
    panelLabel(Label15, "Label15", &Frame1, 8, 112, 121, 17, "Eccen (-1<e<1) =");
    panelLabel(Label14, "Label14", &Frame1, 8, 144, 121, 17, "Incline2 / Degree =");
    panelLabel(Label13, "Label13", &Frame1, 8, 128, 121, 17, "Incline1 / Degree =");

    place(Image2, "Image2", Kind::Image, nullptr, 84, 57, 313, 272);
    Image2.Picture = "credits.jpg";
    Image2.Visible = false;
    Image2.MousePointer = Pointer::Arrow;
    place(Image1, "Image1", Kind::Image, nullptr, 744, 368, 41, 53);
    Image1.Picture = "emblem.gif";
    Image1.MousePointer = Pointer::Arrow;

    menuLabel(HideMenu, "HideMenu", 539, 27, "Hide  Menu");
    menuLabel(About, "About", 516, 15, "About");
    menuLabel(Clear, "Clear", 493, 15, "Clear");
    menuLabel(Simulate, "Simulate", 470, 15, "Step");
    menuLabel(Play, "Play", 447, 15, "Play");
    menuLabel(Plot, "Plot", 424, 15, "Plot");

    tick(Line1[1], 1, 0, 351, 351);
    Line1[1].X2 = WindowWidth;
    place(Label38, "Label38", Kind::Label, nullptr, 584, 320, 33, 17);
    Label38.Caption = "Time:";
    Label38.ForeColor = ButtonFace;
    Label38.Transparent = true;
    Label38.Alignment = Align::Centre;
    readOut(Label37, "Label37", nullptr, 584, 336, 25, 17, "100", Align::Right);
    readOut(Label36, "Label36", nullptr, 608, 336, 17, 17, "%");
    tick(Line1[10], 10, 713, 347, 355);
    tick(Line1[9], 9, 634, 347, 355);
    tick(Line1[8], 8, 555, 347, 355);
    tick(Line1[5], 5, 317, 347, 355);
    tick(Line1[4], 4, 237, 347, 355);
    tick(Line1[6], 6, 79, 347, 355);
    tick(Line1[7], 7, 475, 347, 355);
    tick(Line1[3], 3, 158, 347, 355);
    tick(Line1[2], 2, 396, 343, 359);
    readOut(Label35, "Label35", nullptr, 200, 224, 17, 17, "%");
    readOut(Label34, "Label34", nullptr, 128, 224, 73, 17, "-100", Align::Right);
    place(Label29, "Label29", Kind::Label, nullptr, 176, 208, 33, 17);
    Label29.Caption = "Power:";
    Label29.ForeColor = ButtonFace;
    Label29.Transparent = true;
    Label29.Alignment = Align::Centre;

    place(RedDot, "RedDot", Kind::Shape, nullptr, 536, 56, 105, 105);
    RedDot.FillColor = Red;
    RedDot.BorderColor = White;
    RedDot.Mode = DrawMode::MaskPenNot;
    place(Centre, "Centre", Kind::Shape, nullptr, 536, 176, 105, 105);
    Centre.FillColor = White;
    Centre.BorderColor = White;
    Centre.Mode = DrawMode::XorPen;

    place(Line2, "Line2", Kind::LineMark, nullptr, 0, 0, 0, 0);
    Line2.X1 = 648;
    Line2.Y1 = 0;
    Line2.X2 = 648;
    Line2.Y2 = 368;
    Line2.BorderColor = Green;

    starShape(StarBTop, "StarBTop", 72, 224, Blue, false);
    starShape(StarA, "StarA", 24, 184, Red, true);
    starShape(StarBBottom, "StarBBottom", 24, 128, Blue, false);

    place(Label49, "Label49", Kind::Label, nullptr, 736, 368, 60, 201);
    Label49.BackColor = Black;
    Label49.MousePointer = Pointer::Arrow;

    int stack = 0;
    for (Control* c : stackingOrder())
        c->Stack = stack++;
}

std::vector<Control*> Controls::stackingOrder() {
    std::vector<Control*> order = {
        &Text15,    &Frame2,      &Text14,   &Text17,   &Text16,   &Text12,   &Text11,   &Text10,
        &Text9,     &Text8,       &Text7,    &List2,    &List1,    &Combo1,   &Check2,   &Combo2,
        &Label44,   &Label43,     &Label42,  &Label41,  &Label40,  &Label39,  &Label28,  &Label27,
        &Label1,    &Label26,     &Label12,  &Label10,  &Label9,   &Label8,   &Label7,   &Label6,
        &Label3,    &Label4,      &Frame1,   &List3,    &Text13,   &Text6,    &Text5,    &Text4,
        &Text3,     &Text2,       &Text1,    &Check1,   &Label48,  &Label47,  &Label46,  &Label45,
        &Label25,   &Label11,     &Label33,  &Label32,  &Label30,  &Label31,  &Label18,  &Label5,
        &Label2,    &Label24,     &Label23,  &Label22,  &Label21,  &Label20,  &Label19,  &Label17,
        &Label16,   &Label15,     &Label14,  &Label13,  &Image2,   &Image1,   &HideMenu, &About,
        &Clear,     &Simulate,    &Play,     &Plot,     &Line1[1], &Label38,  &Label37,  &Label36,
        &Line1[10], &Line1[9],    &Line1[8], &Line1[5], &Line1[4], &Line1[6], &Line1[7], &Line1[3],
        &Line1[2],  &Label35,     &Label34,  &Label29,  &RedDot,   &Centre,   &Line2,    &StarBTop,
        &StarA,     &StarBBottom, &Label49};
    return order;
}

std::vector<const Control*> Controls::stackingOrder() const {
    auto order = const_cast<Controls*>(this)->stackingOrder();
    return {order.begin(), order.end()};
}

namespace {

template <class Ctl> void copyKeepingFrame(Control& to, const Control& from) {
    FrameCtl* const frame = to.Container;
    static_cast<Ctl&>(to) = static_cast<const Ctl&>(from);
    to.Container = frame;
}

} // namespace

void Controls::copyValuesFrom(const Controls& other) {
    const std::vector<Control*> to = stackingOrder();
    const std::vector<const Control*> from = other.stackingOrder();
    for (std::size_t i = 0; i < to.size(); ++i) {
        switch (to[i]->kind) {
        case Kind::Label:
            copyKeepingFrame<LabelCtl>(*to[i], *from[i]);
            break;
        case Kind::TextBox:
            copyKeepingFrame<TextBoxCtl>(*to[i], *from[i]);
            break;
        case Kind::ListBox:
            copyKeepingFrame<ListBoxCtl>(*to[i], *from[i]);
            break;
        case Kind::ComboBox:
            copyKeepingFrame<ComboBoxCtl>(*to[i], *from[i]);
            break;
        case Kind::CheckBox:
            copyKeepingFrame<CheckBoxCtl>(*to[i], *from[i]);
            break;
        case Kind::Frame:
            copyKeepingFrame<FrameCtl>(*to[i], *from[i]);
            break;
        case Kind::Image:
            copyKeepingFrame<ImageCtl>(*to[i], *from[i]);
            break;
        case Kind::Shape:
            copyKeepingFrame<ShapeCtl>(*to[i], *from[i]);
            break;
        case Kind::LineMark:
            copyKeepingFrame<LineCtl>(*to[i], *from[i]);
            break;
        case Kind::Timer:
            break;
        }
    }
    Timer1 = other.Timer1;
}

Control* Controls::find(std::string_view name) {
    for (Control* c : stackingOrder())
        if (c->Name == name) return c;
    return nullptr;
}

std::vector<Control*> Controls::tabOrder() {
    std::vector<Control*> order;
    for (Control* c : stackingOrder())
        if (c->TabIndex >= 0) order.push_back(c);
    std::sort(order.begin(), order.end(),
              [](const Control* a, const Control* b) { return a->TabIndex < b->TabIndex; });
    return order;
}

} // namespace orvanta
