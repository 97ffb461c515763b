#include "specification_window/specification_painter.h"

#include "engine/selection.h"

namespace veltrix {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

struct FixedLabel {
    int x;
    int y;
    const char* text;
};

void Labels(PageCanvas& canvas, std::initializer_list<FixedLabel> labels) {
    for (const FixedLabel& label : labels) canvas.TextOut(label.x, label.y, label.text);
}

}  // namespace

void PaintMessageColumn(PageCanvas& canvas, const std::vector<std::string>& lines,
                        const DisplaySettings& display) {
    canvas.SetBrush(kPageBlack);
    canvas.SetFont(display.FontName, display.FontSizeTiny);
    canvas.SetFontColour(kPageGreen);
    int y = 86;
    for (const std::string& line : lines) {
        y += 20;
        if (!line.empty()) canvas.TextOut(400, y, Text(line));
    }
}

void PaintPartNumber(PageCanvas& canvas, bool valid, const std::string& partNumber,
                     const DisplaySettings& display) {
    canvas.SetBrush(kPageBlack);
    canvas.SetFontColour(kPageWhite);
    if (valid) {
        canvas.SetFont(display.FontName, display.FontSizeLarge);
        canvas.TextOut(100, 91, Text(partNumber));
    } else {
        canvas.SetFont(display.FontName, display.FontSizeTiny);
        canvas.TextOut(110, 97, QString::fromLatin1(kNoStandardPart.data(), kNoStandardPart.size()));
    }
}

void PaintInputFrames(PageCanvas& canvas, const DisplaySettings& display) {
    const QString& face = display.FontName;
    canvas.SetBrush(kPageBlack);

    canvas.SetFont(face, display.FontSizeMedium);
    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(45, 94, ">");
    canvas.FrameRect(2, 88, 339, 118, kPageMagenta);
    canvas.SetPen(kPageMagenta);
    canvas.MoveTo(5, 104);
    canvas.LineTo(48, 104);
    canvas.TextOut(10, 93, "Part");

    canvas.FrameRect(2, 134, 339, 290, kPageMagenta);
    canvas.TextOut(10, 122, "Design (Passband) Specifications");

    canvas.SetFont(face, display.FontSizeSmall);
    canvas.SetFontColour(kPageWhite);
    Labels(canvas, {{10, 149, "Center"},
                    {10, 163, "Frequency"},
                    {179, 149, "Bandwidth"},
                    {179, 163, "(minimum)"},
                    {134, 155, "MHz"},
                    {299, 155, "MHz"},
                    {10, 190, "Number of"},
                    {10, 204, "Sections"},
                    {179, 190, "Passband"},
                    {179, 204, "Definition"},
                    {10, 232, "Resonator"},
                    {10, 246, "Profile"},
                    {179, 232, "Dielectric"},
                    {179, 246, "Constant"}});
    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(30, 267, "Insertion loss at Fo");
    canvas.SetFontColour(kPageWhite);
    Labels(canvas, {{275, 267, "dB"}, {171, 267, "="}});

    canvas.FrameRect(2, 305, 339, 372, kPageMagenta);
    canvas.SetFont(face, display.FontSizeMedium);
    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(10, 293, "Stopband Points");

    canvas.SetFont(face, display.FontSizeSmall);
    canvas.SetFontColour(kPageWhite);
    Labels(
        canvas,
        {{163, 308, "F1"}, {260, 308, "F2"}, {10, 327, "Frequency"}, {197, 327, "MHz"}, {294, 327, "MHz"}});
    canvas.SetFontColour(kPageYellow);
    Labels(canvas, {{10, 349, "Nominal Attenuation"}, {197, 349, "dBc"}, {294, 349, "dBc"}});
}

void PaintContactNotice(PageCanvas& canvas, int messageLineCount, const DisplaySettings& display) {
    canvas.SetBrush(kPageBlack);
    canvas.SetFont(display.FontName, display.FontSizeTiny);
    canvas.SetFontColour(kPageGreen);
    const int top = 20 * messageLineCount;
    canvas.TextOut(400, top + 126, "This program defines");
    canvas.TextOut(400, top + 146, "standard Veltrix products.");
    canvas.TextOut(400, top + 186, "Please contact Norvane");
    canvas.TextOut(400, top + 206, QStringLiteral("at ") + QString::fromLatin1(contact::kSalesPhone));
    canvas.TextOut(400, top + 226, "for special requirements.");
}

void PaintGuaranteeNotice(PageCanvas& canvas, const std::string& notice, const DisplaySettings& display) {
    if (notice.empty()) return;
    canvas.SetBrush(kPageBlack);
    canvas.SetFont(display.FontName, display.FontSizeTiny);
    canvas.SetFontColour(kPageGreen);
    canvas.TextOut(144, 289, Text(notice));
}

}  // namespace veltrix
