// The leadless package: its length follows the sections, its height the dielectric and frequency.
#include <vector>

#include "outline_geometry/outline_geometry.h"
#include "outline_window/drawing_figures.h"
#include "outline_window/outline_drawings.h"

namespace veltrix {

namespace {

constexpr int kViewLeft = 70;
constexpr int kTopViewRow = 115;
constexpr int kBottomViewRow = 300;
constexpr int kRadius = 4;

class LeadlessPainter {
  public:
    LeadlessPainter(DrawingCanvas& canvas, const LeadlessGeometry& g, const DisplaySettings& display)
        : canvas_(canvas), g_(g), display_(display), X(kViewLeft), L(g.length), H(g.height) {
        for (int offset : g.centres) centres_.push_back(X + offset);
    }

    void TopView() {
        const int Y = kTopViewRow;
        BodyOutline(Y, false);
        canvas_.FrameRect(X + 6, Y + 6, X + L - 6, Y + 6 + g_.innerDepth);
        if (g_.protrusion) {
            Blue({Ln(X + 8, Y + g_.innerDepth + 7, X + 8, Y + H + 16),
                  Ln(X + L - 8, Y + g_.innerDepth + 7, X + L - 8, Y + H + 16),
                  Ln(X + 8, Y + H + 16, X + L - 8, Y + H + 16)});
        }
    }

    void BottomView() {
        const int Y = kBottomViewRow;
        BodyOutline(Y, true);
        canvas_.SetPen(kPageDarkGreen);
        const bool narrowEnds = g_.profile != ResonatorProfile::Mm6;
        for (size_t i = 0; i < centres_.size(); ++i) {
            const int c = centres_[i];
            const int left = i == 0 && narrowEnds ? Y + 6 : Y + 8;
            const int right = i + 1 == centres_.size() && narrowEnds ? Y + 6 : Y + 8;
            canvas_.DimLine(c - 1, Y + 3, c - 1, left);
            canvas_.DimLine(c + 1, Y + 3, c + 1, right);
        }
        for (int c : centres_) {
            canvas_.DimLine(c - 1, Y + H - 4, c - 1, Y + H - 10);
            canvas_.DimLine(c + 1, Y + H - 4, c + 1, Y + H - 10);
        }
        for (bool mirrored : {false, true}) EndPads(Y, mirrored);
        GroundOutline(Y);
        if (g_.protrusion) {
            Blue({Ln(X + 8, Y + H + 1, X + 8, Y + H + 16), Ln(X + L - 8, Y + H + 1, X + L - 8, Y + H + 16),
                  Ln(X + 8, Y + H + 16, X + L - 8, Y + H + 16)});
        }
        Outline();
    }

    void EndView() {
        const int D = g_.innerDepth;
        canvas_.FrameRect(480, 115, 486, 115 + H);
        const int e1 = 121 + D;
        const int e2 = 121 + D - 5;
        const int e3 = 121 + (3 * D - 15) / 5;
        DrawFigures(canvas_, {Ln(440, 121, 480, 121), Ln(446, 122, 480, 122), Ln(440, 121, 440, 121 + D),
                              Ln(446, e3, 455, e3), Ln(440, e2, 455, e2), Ln(441, e2, 441, e1),
                              Ln(455, e2, 455, e3), Ln(446, e3, 446, 121)});
        if (g_.protrusion) {
            Blue({Ln(447, e3 - 1, 479, e3 - 1), Ln(442, e1 + 1, 442, H + 131), Ln(479, e3 - 1, 479, H + 131),
                  Ln(442, H + 131, 479, H + 131)});
        }
    }

    void Dimensions(const DimensionTexts& texts, bool printing) {
        canvas_.SetPen(display_.DrawingGreyColour);
        canvas_.SetBrush(kPageBlack);
        const int c1 = centres_.front();
        const int c2 = centres_.size() > 1 ? centres_[1] : c1;

        Dimension(texts, 1,
                  {Ln(70, 110, 70, 90), Ln(70 + L, 110, 70 + L, 90), Lt(70, 100), Ln(70, 100, 70 + L, 100),
                   Rt(70 + L, 100)});
        Dimension(texts, 2,
                  {Ln(45, 115, 65, 115), Ln(45, 115 + H, 65, 115 + H), Up(55, 115), Ln(55, 115, 55, 115 + H),
                   Dn(55, 115 + H)});

        std::vector<int> rows{115, 135};
        for (size_t i = 1; i < g_.notchRows.size(); ++i) rows.push_back(kTopViewRow + g_.notchRows[i]);
        rows.push_back(115 + H);
        for (int row : rows) canvas_.DimLine(L + 75, row, L + 95, row);
        canvas_.DimLine(L + 85, 115, L + 85, 115 + H);
        for (size_t i = 1; i < rows.size(); ++i) {
            canvas_.Arrowhead(L + 85, rows[i - 1], kArrowUp);
            canvas_.Arrowhead(L + 85, rows[i], kArrowDown);
        }
        WriteDimension(canvas_, texts, 3);

        canvas_.DimLine(70, 285, c2, 285);
        canvas_.DimLine(L + 56, 285, L + 70, 285);
        for (int x : {70, 70 + L, c1, c2, L + 56}) canvas_.DimLine(x, 295, x, 275);
        Dimension(texts, 4,
                  {Lt(70, 285), Rt(c1, 285), Lt(c1, 285), Rt(c2, 285), Lt(L + 56, 285), Rt(70 + L, 285)});
        Dimension(texts, 5,
                  {Ln(25, 300, 65, 300), Ln(65, 327, 45, 327), Ln(65, 334, 25, 334), Up(55, 300),
                   Ln(55, 300, 55, 327), Dn(55, 327)});
        Dimension(texts, 6, {Ln(45, 300, 45, 285), Dn(45, 300), Ln(45, 334, 45, 349), Up(45, 334)});
        PadLegend(printing);
        Dimension(
            texts, 7,
            {Ln(L + 75, 300, L + 130, 300), Ln(L + 75, 306, L + 130, 306), Ln(L + 75, 313, L + 100, 313),
             Ln(L + 125, 300, L + 125, 285), Dn(L + 125, 300), Ln(L + 95, 300, L + 95, 285), Dn(L + 95, 300),
             Ln(L + 95, 313, L + 95, 338), Up(L + 95, 313)});
        Dimension(texts, 8, {Ln(L + 125, 306, L + 125, 321), Up(L + 125, 306)});
        Dimension(
            texts, 9,
            {Ln(440, 116, 440, 81), Ln(486, 111, 486, 81), Lt(440, 96), Ln(440, 96, 486, 96), Rt(486, 96)});
        if (g_.protrusion) {
            Dimension(texts, 10,
                      {Ln(491, 115, 516, 115), Ln(491, H + 131, 516, H + 131), Up(501, 115),
                       Ln(501, 115, 501, H + 131), Dn(501, H + 131)});
        }
    }

  private:
    void Outline() {
        canvas_.SetPen(display_.DrawingColour);
        canvas_.SetBrush(display_.DrawingColour);
    }

    void Blue(std::initializer_list<Figure> figures) {
        canvas_.SetPen(kPageBlue);
        DrawFigures(canvas_, figures);
        Outline();
    }

    void Dimension(const DimensionTexts& texts, int number, std::initializer_list<Figure> figures) {
        DrawFigures(canvas_, figures);
        WriteDimension(canvas_, texts, number);
    }

    // One long edge with a notch at every resonator: notches open downward on the top edge and
    // upward on the bottom edge.
    void NotchedEdge(int row, int notchStart, int notchEnd) {
        const int first = centres_.front();
        const int last = centres_.back();
        canvas_.DimLine(X + 4, row, first - kRadius, row);
        canvas_.CircleArc(first, row, notchStart, notchEnd, kRadius);
        if (centres_.size() < 2) {
            canvas_.DimLine(X + L - 4, row, first + kRadius, row);
            return;
        }
        canvas_.DimLine(X + L - 4, row, last + kRadius, row);
        canvas_.CircleArc(last, row, notchStart, notchEnd, kRadius);
        int previous = first;
        for (size_t i = 1; i + 1 < centres_.size(); ++i) {
            canvas_.DimLine(previous + kRadius, row, centres_[i] - kRadius, row);
            canvas_.CircleArc(centres_[i], row, notchStart, notchEnd, kRadius);
            previous = centres_[i];
        }
        canvas_.DimLine(previous + kRadius, row, last - kRadius, row);
    }

    void NotchedSide(int column, int Y, bool rightSide, bool bottomView) {
        int start = Y + 4;
        for (size_t i = 0; i < g_.notchRows.size(); ++i) {
            const int row = Y + g_.notchRows[i];
            canvas_.DimLine(column, start, column, row - 4);
            start = row + 4;
            if (bottomView && i == 0) continue;
            if (rightSide) {
                canvas_.CircleArc(column, row, 90, 270, kRadius);
            } else {
                canvas_.CircleArc(column, row, 270, 90, kRadius);
            }
        }
        canvas_.DimLine(column, start, column, Y + H - 4);
    }

    void BodyOutline(int Y, bool bottomView) {
        Outline();
        canvas_.CircleArc(X, Y, 270, 360, kRadius);
        canvas_.CircleArc(X + L, Y, 180, 270, kRadius);
        canvas_.CircleArc(X, Y + H, 0, 90, kRadius);
        canvas_.CircleArc(X + L, Y + H, 90, 180, kRadius);
        NotchedEdge(Y, 180, 360);
        NotchedEdge(Y + H, 0, 180);
        NotchedSide(X, Y, false, bottomView);
        NotchedSide(X + L, Y, true, bottomView);
    }

    // Mirrors a left-end column about the body's middle.
    int At(int x, bool mirrored) const { return mirrored ? X + L - (x - X) : x; }
    void MirroredLine(bool mirrored, int x1, int y1, int x2, int y2) {
        canvas_.DimLine(At(x1, mirrored), y1, At(x2, mirrored), y2);
    }

    void EndPads(int Y, bool m) {
        canvas_.SetPen(kPageDarkGreen);
        MirroredLine(m, X, Y + 6, X + 22, Y + 6);
        if (g_.profile == ResonatorProfile::Mm6) MirroredLine(m, X + 22, Y + 6, X + 22, Y + 8);
        MirroredLine(m, X + 22, Y + 11, X + 22, Y + 31);
        MirroredLine(m, X, Y + 34, X + 11, Y + 34);
        MirroredLine(m, X + 14, Y + 34, X + 22, Y + 34);

        canvas_.SetPen(kPageRed);
        MirroredLine(m, X, Y + 13, X + 14, Y + 13);
        MirroredLine(m, X, Y + 27, X + 14, Y + 27);
        MirroredLine(m, X + 14, Y + 13, X + 14, Y + 27);
        for (int i = 1; i <= 10; ++i) MirroredLine(m, X + 14 - i, Y + 13, X + 14 - i, Y + 27);
        MirroredLine(m, X + 3, Y + 20, X + 3, Y + 13);
        MirroredLine(m, X + 2, Y + 19, X + 2, Y + 13);
        MirroredLine(m, X + 1, Y + 17, X + 1, Y + 13);
        MirroredLine(m, X, Y + 17, X, Y + 13);
        MirroredLine(m, X + 3, Y + 20, X + 3, Y + 27);
        MirroredLine(m, X + 2, Y + 21, X + 2, Y + 27);
        MirroredLine(m, X + 1, Y + 23, X + 1, Y + 27);
        MirroredLine(m, X, Y + 23, X, Y + 27);
    }

    void GroundOutline(int Y) {
        canvas_.SetPen(kPageDarkGreen);
        for (bool m : {false, true}) {
            MirroredLine(m, X + 23, Y + 11, X + 33, Y + 11);
            MirroredLine(m, X + 23, Y + 31, X + 33, Y + 31);
            MirroredLine(m, X + 33, Y + 11, X + 33, Y + 31);
            MirroredLine(m, X + 22, Y + 34, X + 36, Y + 34);
            MirroredLine(m, X + 36, Y + 11, X + 36, Y + 34);
        }
        canvas_.DimLine(X + 36, Y + 11, X + L - 36, Y + 11);
        canvas_.DimLine(X + 14, Y + H - 13, X + L - 14, Y + H - 13);
        for (bool m : {false, true}) MirroredLine(m, X + 14, Y + 34, X + 14, Y + H - 13);

        // Only the centre column of each resonator stays open in the two ground lines.
        const int first = centres_.front();
        const int last = centres_.back();
        const int bottom = Y + H - 10;
        canvas_.DimLine(X + 11, bottom, first - 1, bottom);
        canvas_.DimLine(X + L - 11, bottom, last + 1, bottom);
        for (size_t i = 1; i < centres_.size(); ++i)
            canvas_.DimLine(centres_[i - 1] + 1, bottom, centres_[i] - 1, bottom);

        const int top = Y + 8;
        for (size_t i = 1; i < centres_.size(); ++i)
            canvas_.DimLine(centres_[i - 1] + 1, top, centres_[i] - 1, top);
        const int e = g_.profile == ResonatorProfile::Mm6 ? 23 : 26;
        if (X + e <= first - 1) canvas_.DimLine(X + e, top, first - 1, top);
        if (X + L - e >= last + 1) canvas_.DimLine(X + L - e, top, last + 1, top);

        for (bool m : {false, true}) {
            int start = Y + 34;
            for (size_t i = 1; i < g_.notchRows.size(); ++i) {
                const int row = Y + g_.notchRows[i];
                MirroredLine(m, X + 11, start, X + 11, row - 1);
                start = row + 1;
                MirroredLine(m, X + 4, row - 1, X + 11, row - 1);
                MirroredLine(m, X + 4, row + 1, X + 11, row + 1);
            }
            MirroredLine(m, X + 11, start, X + 11, Y + H - 10);
        }
    }

    void PadLegend(bool printing) {
        canvas_.SetFont(QString::fromLatin1(kDimensionFace), display_.FontSizeTiny);
        canvas_.SetFontColour(kPageRed);
        const int y = g_.protrusion ? static_cast<int>(1.5 * H + 300) : H + 314;
        canvas_.TextOut(70, y,
                        printing ? QStringLiteral("Input and Output Shown In Aqua")
                                 : QStringLiteral("Input and Output Shown In Red"));
        canvas_.SetFontColour(display_.DrawingColour);
        canvas_.SetFont(QString::fromLatin1(kDimensionFace), kDimensionPoints);
    }

    DrawingCanvas& canvas_;
    const LeadlessGeometry& g_;
    const DisplaySettings& display_;
    const int X;
    const int L;
    const int H;
    std::vector<int> centres_;
};

}  // namespace

void DrawLeadless(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display) {
    const LeadlessGeometry geometry = LeadlessFor(spec);
    canvas.SetFontColour(display.DrawingColour);
    canvas.SetFont(QString::fromLatin1(kDimensionFace), kDimensionPoints);
    LeadlessPainter painter(canvas, geometry, display);
    painter.TopView();
    painter.BottomView();
    painter.EndView();
    painter.Dimensions(LeadlessDimensions(spec, spec.Units),
                       display.PaintCopyMode == CopyMode::InvertedSource);
}

}  // namespace veltrix
