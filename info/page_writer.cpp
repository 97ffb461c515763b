#include "info/page_writer.h"

#include "platform/fonts.h"

namespace veltrix {

PageWriter::PageWriter(QPainter& painter, const DisplaySettings& display, std::vector<DrawnText>* log)
    : painter_(painter), display_(display), log_(log) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(kPageBlack);
    painter_.setBackground(kPageBlack);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    UseMedium();
}

void PageWriter::UseSize(int points) {
    font_ = PointFont(display_.FontName, points);
    painter_.setFont(font_);
}

void PageWriter::Text(int x, int y, const QColor& colour, const QString& text) {
    if (log_) log_->push_back({QPoint(x, y), text, colour, font_.pixelSize()});
    painter_.setPen(colour);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    DrawPageText(painter_, x, y, QFontMetrics(font_).ascent(), text);
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
    if (right <= left || bottom <= top) return;
    painter_.fillRect(QRect(left, top, right - left, bottom - top), kPageBlack);
    QPen pen(kPageMagenta);
    pen.setWidth(0);
    pen.setCosmetic(true);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
    painter_.setBrush(kPageBlack);
}

}  // namespace veltrix
