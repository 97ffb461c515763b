#include "outline_geometry/outline_geometry.h"

#include <cstdio>

#include "engine/rules.h"

namespace veltrix {

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool Inches(DrawingUnits units) { return units == DrawingUnits::Inches; }

// A fixed text in its inch and millimetre forms.
const char* Pick(DrawingUnits units, const char* inches, const char* millimetres) {
    return Inches(units) ? inches : millimetres;
}

double ByProfile(ResonatorProfile profile, double mm4, double mm6, double mm12) {
    return profile == ResonatorProfile::Mm6 ? mm6 : profile == ResonatorProfile::Mm12 ? mm12 : mm4;
}

double ResonatorPitch(ResonatorProfile profile) { return ByProfile(profile, 0.156, 0.275, 0.4724); }
double BodyHeight(ResonatorProfile profile) { return ByProfile(profile, 0.156, 0.236, 0.4724); }
double TabBodyHeight(ResonatorProfile profile) { return ByProfile(profile, 0.18, 0.26, 0.5); }
double FirstMiddleGround(ResonatorProfile profile) { return ByProfile(profile, 0.24, 0.47, 0.83); }
double SecondMiddleGround5(ResonatorProfile profile) { return ByProfile(profile, 0.47, 0.83, 1.5); }
double SecondMiddleGround6(ResonatorProfile profile) { return ByProfile(profile, 0.63, 1.1, 1.9); }

bool FiveOrSix(int n) { return n == 5 || n == 6; }

double ByDielectric(DielectricMaterial dielectric, double dl, double dr, double dh) {
    return dielectric == DielectricMaterial::DR ? dr : dielectric == DielectricMaterial::DH ? dh : dl;
}

// The rounding that keeps the two 4 mm dimensions of 5 and 6 sections adding up to the drawn totals.
double Snap(double value, double low, double high) { return value >= low && value <= high ? high : value; }

double DropInResonatorLength(const FilterSpec& spec) {
    return (spec.Dielectric == DielectricMaterial::DR ? 481.0 : 311.25) / spec.F0;
}

double TabResonatorLength(const FilterSpec& spec) {
    const double constant = ByDielectric(spec.Dielectric, 652.0, 499.0, 311.25);
    return constant / spec.F0;
}

double TabThreshold(DielectricMaterial dielectric) {
    return ByDielectric(dielectric, 791.6228, 600.0, 387.81439);
}

class Texts {
  public:
    explicit Texts(DrawingUnits units) : units_(units) {}
    void Add(int number, std::string text, int x, int y) {
        dimensions_[number].push_back({std::move(text), x, y});
    }
    void Std(int number, double inches, int x, int y) {
        Add(number, FormatStd(ToDisplayUnits(inches, units_), units_), x, y);
    }
    void Fine(int number, double inches, int x, int y) {
        Add(number, FormatFine(ToDisplayUnits(inches, units_), units_), x, y);
    }
    void Max(int number, double inches, int x, int y) {
        Add(number, FormatMax(ToDisplayUnits(inches, units_), units_), x, y);
    }
    void Typ(int number, double inches, int x, int y) {
        Add(number, FormatTyp(ToDisplayUnits(inches, units_), units_), x, y);
    }
    void Fixed(int number, const char* inches, const char* millimetres, int x, int y) {
        Add(number, Pick(units_, inches, millimetres), x, y);
    }
    DimensionTexts Take() { return std::move(dimensions_); }

  private:
    DrawingUnits units_;
    DimensionTexts dimensions_;
};

}  // namespace

double ToDisplayUnits(double inches, DrawingUnits units) {
    return units == DrawingUnits::Millimetres ? inches * 25.4 : inches;
}

std::string FormatStd(double value, DrawingUnits units) {
    return Format(Inches(units) ? "%.2f" : "%.1f", value);
}
std::string FormatFine(double value, DrawingUnits units) {
    return Format(Inches(units) ? "%.3f" : "%.2f", value);
}
std::string FormatMax(double value, DrawingUnits units) {
    return Format(Inches(units) ? "%.2f max" : "%.1f max", value);
}
std::string FormatTyp(double value, DrawingUnits units) {
    return Format(Inches(units) ? "%.2f typ" : "%.1f typ", value);
}

std::string OutlineTitle(MountingStyle mounting) {
    switch (mounting) {
        case MountingStyle::DropIn:
            return "Drop in (PC) mounting            ";
        case MountingStyle::SurfaceTab:
            return "Surface mounting - Tab           ";
        case MountingStyle::Orbis:
            return "Leadless Surface Mount - Orbis";
        case MountingStyle::SurfacePin:
        case MountingStyle::Tessel:
            break;
    }
    return "";
}

std::string ToleranceLine(DrawingUnits units) {
    return Inches(units) ? "Tolerances: All dimensions \u00b1 .02 inches unless otherwise specified.    "
                         : "Tolerances: All dimensions \u00b1 .5 millimeters unless otherwise specified.";
}

std::optional<std::vector<std::string>> OutlineNotice(const FilterSpec& spec) {
    if (spec.Profile == ResonatorProfile::Mm12 && spec.Mounting == MountingStyle::Orbis) {
        return std::vector<std::string>{
            "No Outline Drawings to Display.",
            spec.Dielectric == DielectricMaterial::DR ? "No Leadless for DR4." : "No Leadless for DH4."};
    }
    if (spec.SelStatus != kSelectionValid) {
        return std::vector<std::string>{"No Outline Drawings to Display.",
                                        "Error Information on Filter Specification Screen."};
    }
    return std::nullopt;
}

DimensionTexts DropInDimensions(const FilterSpec& spec, DrawingUnits units) {
    const int n = spec.Sections;
    const ResonatorProfile profile = spec.Profile;
    const double p = ResonatorPitch(profile);
    const double h = BodyHeight(profile);
    const double r = DropInResonatorLength(spec);
    const bool snap = FiveOrSix(n) && profile == ResonatorProfile::Mm4;
    Texts t(units);

    const double between = (n - 1) * p;
    t.Std(1, snap ? Snap(between, 0.62, 0.63) : between, 155, 200);
    t.Std(2, profile == ResonatorProfile::Mm12 ? 0.5 : h + 0.02, 305, 150);

    // The end offset is whatever makes the shown hundredths add up.
    const int a = static_cast<int>(n * p * 100 + 0.5);
    const int b = static_cast<int>((n - 1) * p * 100 + 0.5);
    if ((a - b) % 2 != 0) {
        t.Fine(3, (a - b) * 0.01 * 0.5, 74, 220);
    } else {
        t.Std(3, p * 0.5, 78, 215);
    }

    const double length = snap ? Snap(n * p, 0.78, 0.79) : n * p;
    t.Std(4, length, 155, 255);
    if (FiveOrSix(n)) {
        if (profile == ResonatorProfile::Mm4 && length == 0.79) {
            t.Fine(5, 0.365, 118, 405);
        } else {
            t.Std(5, (length - 0.06) * 0.5, 122, 405);
        }
    }
    t.Std(6, Snap(length - 0.06, 1.31, 1.32), 155, 425);
    t.Fixed(7, ".105", "2.67", 315, 370);
    t.Fixed(8, ".160", "4.06", 300, 390);
    t.Max(9, r + 0.06 + 0.15, 305, 305);
    t.Typ(9, r + 0.06 + 0.12, 305, 320);
    t.Fixed(10, ".06", "1.5", 30, 365);
    t.Fixed(11, ".03 Rad.", "0.8 Rad.", 5, 400);
    t.Std(12, h * 0.5 + 0.01, 555, 135);
    t.Fixed(13, " .032", " 0.81", 520, 195);
    t.Fixed(13, "\u00b1.003 Dia.", "\u00b10.08 Dia.", 520, 210);
    t.Fixed(14, ".010", "0.25", 500, 230);
    t.Max(15, r + 0.165 + 0.15, 434, 85);
    t.Typ(15, r + 0.165 + 0.12, 434, 100);
    return t.Take();
}

DimensionTexts TabDimensions(const FilterSpec& spec, DrawingUnits units) {
    const int n = spec.Sections;
    const ResonatorProfile profile = spec.Profile;
    const double p = ResonatorPitch(profile);
    const double h = BodyHeight(profile);
    const double r = TabResonatorLength(spec);
    const bool large = FiveOrSix(n) && profile == ResonatorProfile::Mm12;
    Texts t(units);

    t.Std(1, n * p, 155, 100);
    if (FiveOrSix(n)) {
        t.Std(2, FirstMiddleGround(profile), 94, 190);
        t.Std(3, n == 5 ? SecondMiddleGround5(profile) : SecondMiddleGround6(profile), 120, 210);
    }
    t.Std(4, large ? n * p + 0.156 + 0.04 : n * p + 0.156, 155, 230);
    t.Std(5, h * 0.5 + 0.01, 290, 160);
    t.Std(6, TabBodyHeight(profile), 325, 135);
    t.Fixed(7, ".01", "0.3", 35, 130);
    t.Fixed(7, " \u00b1.003", " \u00b10.08", 15, 145);
    t.Max(8, r + 0.175, 410, 85);
    t.Typ(8, r + 0.145, 410, 100);
    t.Fixed(9, ".07", "1.8", 547, 95);
    t.Fixed(10, ".01", "0.3", 540, 130);
    t.Fixed(10, "\u00b1.003", "\u00b10.08", 532, 145);

    // Above the threshold the terminal shortens to what the resonator leaves room for.
    double terminal = 0.75;
    if (spec.F0 > TabThreshold(spec.Dielectric)) {
        terminal = 0.45;
        if (terminal > r) terminal = 0.3;
        if (terminal > r) terminal = 0.25;
    }
    t.Std(11, terminal, 5, 336);
    t.Std(12, terminal - 0.03, 30, 350);
    t.Fixed(13, ".015", "0.38", 30, 415);
    t.Fixed(13, " \u00b1.003", " \u00b10.08", 15, 430);
    if (FiveOrSix(n)) {
        t.Fixed(14, ".032 \u00b1.003", "0.81 \u00b10.08", 108, 408);
    } else {
        t.Fixed(14, ".032 \u00b1.003", "0.81 \u00b10.08", 132, 400);
    }
    const double between = (n - 1) * p;
    t.Std(15, FiveOrSix(n) && profile == ResonatorProfile::Mm4 ? Snap(between, 0.62, 0.63) : between, 155,
          425);
    t.Std(16, large ? 0.1 : 0.08, 320, 400);
    t.Std(17, large ? 0.1 : profile == ResonatorProfile::Mm4 ? 0.07 : 0.08, 320, 368);
    return t.Take();
}

LeadlessGeometry LeadlessFor(const FilterSpec& spec) {
    LeadlessGeometry g;
    const int n = spec.Sections;
    g.sections = n;
    g.profile = spec.Profile;
    g.length = spec.Profile == ResonatorProfile::Mm6 ? 30 * n + 60 : 32 * n + 40;
    const double f0 = spec.F0;
    switch (spec.Dielectric) {
        case DielectricMaterial::DR:
            g.heightClass = f0 >= 1395 ? 1 : f0 >= 825 ? 2 : 3;
            break;
        case DielectricMaterial::DH:
            g.heightClass = f0 >= 895 ? 1 : f0 >= 525 ? 2 : 3;
            break;
        case DielectricMaterial::DL:
            g.heightClass = f0 >= 1600 ? 1 : 2;
            break;
    }
    const int k = g.heightClass;
    g.bodyHeightInches = k == 1 ? 0.55 : k == 2 ? 0.75 : 1.05;
    g.height = k == 1 ? 66 : k == 2 ? 90 : 114;
    g.innerDepth = k == 3 ? 46 : 56;
    g.resonatorLength = ByDielectric(spec.Dielectric, 635.34, 481.0, 311.25) / f0;
    g.protrusion = g.bodyHeightInches - 0.26 <= g.resonatorLength;
    g.pitch = ByProfile(spec.Profile, 0.16, 0.24, 0.4724);
    g.endMargin = ByProfile(spec.Profile, 0.04, 0.04, 0.0);
    g.thickness = ByProfile(spec.Profile, 0.19, 0.27, 0.0);

    const int inset = spec.Profile == ResonatorProfile::Mm6 ? 29 : 23;
    const int first = inset;
    const int last = g.length - inset;
    g.centres.push_back(first);
    if (n >= 2) {
        const int spacing = (last - first) / (n - 1);
        for (int i = 2; i <= n - 1; ++i) g.centres.push_back(first + spacing * (i - 1));
        g.centres.push_back(last);
    }
    if (k == 3) {
        g.notchRows = {20, 42, 60, 78, 96};
    } else if (k == 2) {
        g.notchRows = {20, 44, 68};
    } else {
        g.notchRows = {20, 44};
    }
    return g;
}

DimensionTexts LeadlessDimensions(const FilterSpec& spec, DrawingUnits units) {
    const LeadlessGeometry g = LeadlessFor(spec);
    const int length = g.length;
    const int height = g.height;
    Texts t(units);

    t.Std(1, g.sections * g.pitch + 2 * g.endMargin, length / 2 + 56, 95);
    t.Std(2, g.bodyHeightInches, 13, height / 2 + 115);

    // The chain down the right of the top view: one segment between consecutive stations.
    std::vector<int> rows{115, 135};
    for (size_t i = 1; i < g.notchRows.size(); ++i) rows.push_back(115 + g.notchRows[i]);
    rows.push_back(115 + height);
    const double last = g.heightClass == 1 ? 0.175 : g.heightClass == 2 ? 0.205 : 0.165;
    for (size_t i = 1; i < rows.size(); ++i) {
        const double value = i == 1 ? 0.155 : i == 2 ? 0.22 : i + 1 == rows.size() ? last : 0.17;
        t.Std(3, value, length + 110, rows[i] - 15);
    }

    const int c1 = 70 + g.centres.front();
    t.Std(4, g.pitch * 0.5 + g.endMargin, 60, 260);
    t.Std(4, g.pitch, c1 + 7, 260);
    t.Std(4, 0.075, length + 46, 260);
    t.Std(5, 0.19, 13, 309);
    t.Std(6, 0.26, 30, 354);
    t.Std(7, 0.12, length + 85, 343);
    t.Std(8, 0.05, length + 115, 326);
    t.Std(9, g.thickness, 446, 70);
    if (g.protrusion) t.Std(10, g.resonatorLength + 0.26, 511, 151);
    return t.Take();
}

std::optional<OutlineTexts> OutlineFor(const FilterSpec& spec, DrawingUnits units) {
    if (OutlineNotice(spec)) return std::nullopt;
    OutlineTexts texts;
    texts.title = OutlineTitle(spec.Mounting);
    texts.part = FormatPartNumber(spec);
    texts.tolerance = ToleranceLine(units);
    switch (spec.Mounting) {
        case MountingStyle::DropIn:
            texts.dimensions = DropInDimensions(spec, units);
            break;
        case MountingStyle::SurfaceTab:
            texts.dimensions = TabDimensions(spec, units);
            break;
        case MountingStyle::Orbis:
            texts.dimensions = LeadlessDimensions(spec, units);
            break;
        case MountingStyle::SurfacePin:
        case MountingStyle::Tessel:
            break;
    }
    return texts;
}

std::string OutlineDescription(const FilterSpec& spec, DrawingUnits units) {
    if (const auto notice = OutlineNotice(spec)) {
        std::string text;
        for (const std::string& line : *notice) {
            if (!text.empty()) text += ' ';
            text += line;
        }
        return text;
    }
    std::string title = OutlineTitle(spec.Mounting);
    title.erase(title.find_last_not_of(' ') + 1);
    std::string text = FormatPartNumber(spec);
    if (!title.empty()) text += ", " + title;
    text += Inches(units) ? ", dimensions in inches" : ", dimensions in millimeters";
    return text;
}

}  // namespace veltrix
