#include "outline_window/outline_drawings.h"

#include <initializer_list>

#include "engine/rules.h"
#include "outline_geometry/outline_geometry.h"
#include "outline_window/drawing_figures.h"

namespace veltrix {

namespace {

// Dimension lines and arrowheads in drawing order, then the dimension's texts.
void Dimension(DrawingCanvas& canvas, const DimensionTexts& texts, int number,
               std::initializer_list<Figure> figures) {
    DrawFigures(canvas, figures);
    WriteDimension(canvas, texts, number);
}

// The outline is drawn in the drawing colour; dimensions follow in grey with opaque texts.
void StartOutline(DrawingCanvas& canvas, const DisplaySettings& display) {
    canvas.SetPen(display.DrawingColour);
    canvas.SetBrush(display.DrawingColour);
    canvas.SetFontColour(display.DrawingColour);
    canvas.SetFont(QString::fromLatin1(kDimensionFace), kDimensionPoints);
}

void StartDimensions(DrawingCanvas& canvas, const DisplaySettings& display) {
    canvas.SetBrush(kPageBlack);
    canvas.SetPen(display.DrawingGreyColour);
}

void BlueFrame(DrawingCanvas& canvas, int left, int top, int right, int bottom, const QColor& restore) {
    canvas.SetBrush(kPageBlue);
    canvas.FrameRect(left, top, right, bottom);
    canvas.SetBrush(restore);
}

void BlueLines(DrawingCanvas& canvas, const QColor& restore, std::initializer_list<Figure> figures) {
    canvas.SetPen(kPageBlue);
    DrawFigures(canvas, figures);
    canvas.SetPen(restore);
}

void BlackFilledCircle(DrawingCanvas& canvas, int left, int top, int right, int bottom) {
    const QColor brush = canvas.Brush();
    canvas.SetBrush(kPageBlack);
    canvas.Ellipse(left, top, right, bottom);
    canvas.SetBrush(brush);
}

const QPoint kDropInSide[] = {{440, 120}, {515, 120}, {515, 125}, {495, 125}, {495, 185},
                              {515, 185}, {515, 190}, {440, 190}, {440, 185}, {490, 185},
                              {490, 125}, {490, 125}, {440, 125}, {440, 120}, {0, 0}};
const QPoint kDropInEnd[] = {{75, 305},  {75, 380},  {76, 383},  {79, 385},  {81, 385},
                             {84, 383},  {85, 380},  {85, 365},  {270, 365}, {270, 380},
                             {270, 380}, {270, 380}, {271, 382}, {274, 384}, {276, 384},
                             {279, 382}, {280, 379}, {280, 305}, {75, 305},  {0, 0}};
const QPoint kDropInEndMiddleFoot[] = {{75, 305},  {75, 380},  {76, 383},  {79, 385},  {81, 385},  {84, 383},
                                       {85, 380},  {85, 365},  {172, 365}, {172, 380}, {173, 383}, {176, 385},
                                       {178, 385}, {181, 383}, {182, 380}, {182, 365}, {270, 365}, {270, 380},
                                       {270, 380}, {270, 380}, {271, 382}, {274, 384}, {276, 384}, {279, 382},
                                       {280, 379}, {280, 305}, {75, 305},  {0, 0}};

const QPoint kTabTop[] = {{75, 175},  {60, 175},  {60, 180}, {295, 180}, {295, 175},
                          {280, 175}, {280, 120}, {75, 120}, {75, 175},  {0, 0}};
const QPoint kTabSide[] = {{425, 120}, {505, 120}, {505, 180}, {425, 180}, {425, 175},
                           {500, 175}, {500, 125}, {425, 125}, {425, 120}, {0, 0}};

bool FiveOrSix(const FilterSpec& spec) { return spec.Sections == 5 || spec.Sections == 6; }

}  // namespace

void DrawDropIn(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display) {
    const QColor& colour = display.DrawingColour;
    StartOutline(canvas, display);

    // Top view.
    canvas.FrameRect(75, 120, 280, 190);
    DrawFigures(canvas, {Ln(110, 120, 110, 138), Ln(110, 170, 110, 190), Ln(245, 120, 245, 138),
                         Ln(245, 171, 245, 190), Ln(75, 125, 110, 125), Ln(75, 185, 110, 185),
                         Ln(245, 125, 280, 125), Ln(245, 185, 280, 185)});
    canvas.Arc(93, 138, 127, 172, 270, 90);
    BlackFilledCircle(canvas, 106, 151, 114, 159);
    canvas.Arc(228, 138, 262, 172, 90, 270);
    BlackFilledCircle(canvas, 241, 151, 249, 159);

    // Side view.
    canvas.PolylineTable(kDropInSide, 0, 0, 1.0);
    canvas.Rectangle(489, 153, 531, 156);
    canvas.FrameRect(480, 132, 489, 177);
    canvas.FrameRect(490, 138, 495, 171);
    BlueFrame(canvas, 414, 126, 479, 184, colour);

    // End view.
    canvas.PolylineTable(FiveOrSix(spec) ? kDropInEndMiddleFoot : kDropInEnd, 0, 0, 1.0);
    canvas.Rectangle(108, 365, 111, 400);
    canvas.Rectangle(243, 365, 246, 400);
    BlueLines(canvas, colour, {Ln(75, 275, 280, 275), Ln(75, 275, 75, 304), Ln(280, 275, 280, 304)});

    StartDimensions(canvas, display);
    const DimensionTexts texts = DropInDimensions(spec, spec.Units);
    Dimension(
        canvas, texts, 1,
        {Ln(110, 195, 110, 215), Ln(245, 195, 245, 215), Lt(110, 205), Ln(110, 205, 245, 205), Rt(245, 205)});
    Dimension(
        canvas, texts, 2,
        {Ln(285, 120, 310, 120), Ln(285, 190, 310, 190), Up(295, 120), Ln(295, 120, 295, 190), Dn(295, 190)});
    Dimension(canvas, texts, 3, {Ln(75, 195, 75, 215), Lt(75, 205), Ln(75, 205, 110, 205), Rt(110, 205)});
    Dimension(
        canvas, texts, 4,
        {Ln(75, 250, 75, 270), Ln(280, 250, 280, 270), Lt(75, 260), Ln(75, 260, 280, 260), Rt(280, 260)});
    if (FiveOrSix(spec)) {
        Dimension(canvas, texts, 5,
                  {Ln(177, 350, 177, 420), Lt(80, 410), Ln(80, 410, 177, 410), Rt(177, 410)});
    }
    Dimension(
        canvas, texts, 6,
        {Ln(80, 350, 80, 439), Ln(275, 350, 275, 439), Lt(80, 430), Ln(80, 430, 275, 430), Rt(275, 430)});
    Dimension(
        canvas, texts, 7,
        {Ln(285, 365, 315, 365), Ln(285, 385, 315, 385), Up(305, 365), Ln(305, 365, 305, 385), Dn(305, 385)});
    Dimension(canvas, texts, 8, {Ln(250, 400, 315, 400), Up(290, 365), Ln(290, 365, 290, 400), Dn(290, 400)});
    Dimension(canvas, texts, 9, {Ln(285, 275, 310, 275), Up(295, 275), Ln(295, 275, 295, 365), Dn(295, 365)});
    Dimension(canvas, texts, 10, {Lt(85, 370), Ln(85, 370, 100, 370), Ln(60, 370, 75, 370), Rt(75, 370)});
    Dimension(canvas, texts, 11, {Ln(40, 395, 60, 380), Ln(60, 380, 75, 380), Rt(75, 380)});
    Dimension(
        canvas, texts, 12,
        {Ln(520, 120, 560, 120), Ln(536, 154, 561, 154), Up(546, 120), Ln(546, 120, 546, 154), Dn(546, 154)});
    Dimension(canvas, texts, 13, {Ln(525, 157, 525, 202), Up(525, 157)});
    Dimension(canvas, texts, 14,
              {Ln(510, 170, 510, 185), Up(510, 190), Ln(510, 190, 510, 220), Dn(510, 185)});
    Dimension(
        canvas, texts, 15,
        {Ln(415, 90, 415, 120), Ln(515, 90, 515, 115), Lt(415, 105), Ln(415, 105, 515, 105), Rt(515, 105)});
}

void DrawSurfaceMountTab(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display) {
    const QColor& colour = display.DrawingColour;
    const bool middleGrounds = FiveOrSix(spec);
    StartOutline(canvas, display);

    // Top view.
    canvas.PolylineTable(kTabTop, 0, 0, 1.0);
    DrawFigures(canvas, {Ln(92, 175, 92, 150), Ln(117, 175, 92, 175), Ln(118, 150, 118, 175)});
    canvas.Rectangle(103, 149, 107, 180);
    DrawFigures(canvas, {Ln(237, 175, 237, 150), Ln(262, 175, 237, 175), Ln(263, 150, 263, 175)});
    canvas.Rectangle(248, 149, 252, 180);
    if (middleGrounds) {
        canvas.FrameRect(145, 175, 160, 180);
        canvas.FrameRect(200, 175, 215, 180);
    }
    canvas.Arc(93, 137, 119, 163, 0, 180);
    canvas.Arc(238, 137, 264, 163, 0, 180);

    // Side view.
    canvas.PolylineTable(kTabSide, 0, 0, 1.0);
    canvas.FrameRect(486, 135, 499, 165);
    DrawFigures(canvas, {Ln(505, 153, 510, 153), Ln(510, 153, 510, 180), Ln(510, 180, 525, 180),
                         Ln(525, 180, 525, 175), Ln(525, 175, 515, 175), Ln(515, 175, 515, 148),
                         Ln(515, 148, 505, 148)});
    BlueFrame(canvas, 385, 126, 485, 174, colour);

    // Bottom view.
    canvas.FrameRect(75, 320, 280, 385);
    canvas.FrameRect(280, 365, 295, 380);
    canvas.FrameRect(280, 325, 295, 340);
    canvas.FrameRect(60, 325, 75, 340);
    canvas.FrameRect(60, 365, 75, 380);
    canvas.Rectangle(103, 385, 107, 403);
    canvas.Rectangle(248, 385, 252, 403);
    if (middleGrounds) {
        canvas.Rectangle(145, 385, 160, 400);
        canvas.Rectangle(200, 385, 215, 400);
    }
    BlueLines(canvas, colour, {Ln(75, 280, 280, 280), Ln(75, 280, 75, 319), Ln(280, 280, 280, 319)});

    StartDimensions(canvas, display);
    const DimensionTexts texts = TabDimensions(spec, spec.Units);
    Dimension(canvas, texts, 1,
              {Ln(75, 95, 75, 115), Ln(280, 95, 280, 115), Lt(75, 105), Ln(75, 105, 280, 105), Rt(280, 105)});
    if (middleGrounds) {
        Dimension(
            canvas, texts, 2,
            {Ln(75, 185, 75, 225), Ln(145, 185, 145, 205), Lt(75, 195), Ln(75, 195, 145, 195), Rt(145, 195)});
        Dimension(canvas, texts, 3,
                  {Ln(200, 185, 200, 225), Lt(75, 215), Ln(75, 215, 200, 215), Rt(200, 215)});
    }
    Dimension(
        canvas, texts, 4,
        {Ln(60, 185, 60, 245), Ln(295, 185, 295, 245), Lt(60, 235), Ln(60, 235, 295, 235), Rt(295, 235)});
    Dimension(
        canvas, texts, 5,
        {Ln(255, 150, 310, 150), Ln(300, 180, 355, 180), Up(305, 150), Ln(305, 150, 305, 180), Dn(305, 180)});
    Dimension(canvas, texts, 6, {Ln(285, 120, 355, 120), Up(345, 120), Ln(345, 120, 345, 180), Dn(345, 180)});
    Dimension(canvas, texts, 7,
              {Ln(35, 175, 55, 175), Ln(35, 180, 55, 180), Ln(45, 155, 45, 175), Dn(45, 175),
               Ln(45, 180, 45, 200), Up(45, 180)});
    Dimension(
        canvas, texts, 8,
        {Ln(385, 90, 385, 120), Ln(505, 90, 505, 115), Lt(385, 105), Ln(385, 105, 505, 105), Rt(505, 105)});
    Dimension(canvas, texts, 9,
              {Ln(525, 90, 525, 170), Rt(505, 95), Ln(505, 95, 488, 95), Lt(525, 95), Ln(525, 95, 542, 95)});
    Dimension(canvas, texts, 10,
              {Ln(530, 175, 570, 175), Ln(530, 180, 570, 180), Ln(550, 155, 550, 175), Dn(550, 175),
               Ln(550, 180, 550, 200), Up(550, 180)});
    Dimension(canvas, texts, 11,
              {Ln(10, 320, 70, 320), Ln(10, 385, 70, 385), Up(20, 320), Ln(20, 320, 20, 385), Dn(20, 385)});
    Dimension(canvas, texts, 12,
              {Ln(35, 325, 55, 325), Ln(35, 380, 55, 380), Up(45, 325), Ln(45, 325, 45, 380), Dn(45, 380)});
    Dimension(canvas, texts, 13, {Up(45, 385), Ln(45, 385, 45, 415)});
    Dimension(canvas, texts, 14, {Ln(83, 400, 103, 400), Rt(103, 400), Lt(107, 400), Ln(107, 400, 127, 400)});
    Dimension(
        canvas, texts, 15,
        {Ln(105, 408, 105, 440), Ln(250, 408, 250, 440), Lt(105, 430), Ln(105, 430, 250, 430), Rt(250, 430)});
    Dimension(canvas, texts, 16,
              {Ln(280, 390, 280, 410), Ln(295, 385, 295, 410), Ln(260, 400, 280, 400), Rt(280, 400),
               Lt(295, 400), Ln(295, 400, 315, 400)});
    Dimension(
        canvas, texts, 17,
        {Ln(300, 365, 345, 365), Ln(300, 380, 345, 380), Up(310, 365), Ln(310, 365, 310, 380), Dn(310, 380)});
}

void DrawOutline(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display) {
    canvas.SetBrush(kPageBlack);
    canvas.SetPen(kPageGreen);
    canvas.SetFont(QString::fromLatin1(kDimensionFace), kDimensionPoints);
    canvas.SetFontColour(kPageSilver);

    switch (spec.Mounting) {
        case MountingStyle::DropIn:
            DrawDropIn(canvas, spec, display);
            break;
        case MountingStyle::SurfaceTab:
            DrawSurfaceMountTab(canvas, spec, display);
            break;
        case MountingStyle::Orbis:
            DrawLeadless(canvas, spec, display);
            break;
        default:
            break;
    }
    canvas.SetBrush(kPageBlack);

    canvas.SetFont(display.FontName, display.FontSizeTiny);
    canvas.SetFontColour(kPageMagenta);
    const std::string title = OutlineTitle(spec.Mounting);
    if (!title.empty()) canvas.TextOut(30, 70, QString::fromStdString(title));

    canvas.SetFont(display.FontName, display.FontSizeMedium);
    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(30, 50, QStringLiteral("Part:"));
    canvas.SetFontColour(kPageWhite);
    canvas.TextOut(80, 50, QString::fromStdString(FormatPartNumber(spec)));

    canvas.SetFont(display.FontName, display.FontSizeTiny);
    canvas.SetFontColour(kPageWhite);
    canvas.TextOut(20, 446, QString::fromStdString(ToleranceLine(spec.Units)));
    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(20, 446, QStringLiteral("Tolerances: "));
    canvas.SetFontColour(kPageWhite);
    canvas.TextOut(440, 446, QStringLiteral("Note: Drawing not to scale."));
    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(440, 446, QStringLiteral("Note: "));
}

}  // namespace veltrix
