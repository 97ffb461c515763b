#include "info/page_writer.h"

namespace veltrix {

PageWriter::PageWriter(QPainter& painter, const DisplaySettings& display, std::vector<DrawnText>* log)
    : display_(display), canvas_(painter, log, {.frames = FrameWeight::Hairline}) {
    canvas_.SetBrush(kPageBlack);
    UseMedium();
}

void PageWriter::Text(int x, int y, const QColor& colour, const QString& text) {
    canvas_.SetFontColour(colour);
    canvas_.TextOut(x, y, text);
}

void PageWriter::Highlighted(int x, int y, const QString& line, const QStringList& words) {
    struct Span {
        qsizetype start;
        qsizetype end;
    };
    std::vector<Span> spans;
    qsizetype from = 0;
    for (const QString& word : words) {
        const qsizetype at = line.indexOf(word, from);
        if (at < 0) continue;
        spans.push_back({at, at + word.size()});
        from = at + word.size();
    }
    Text(x, y, kPageWhite, line);
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        Text(x, y, kPageYellow, line.left(it->end));
        if (it->start > 0) Text(x, y, kPageWhite, line.left(it->start));
    }
}

void PageWriter::Box(int left, int top, int right, int bottom) {
    canvas_.SetBrush(kPageBlack);
    canvas_.SetPen(kPageMagenta);
    canvas_.Rectangle(left, top, right, bottom);
}

}  // namespace veltrix
