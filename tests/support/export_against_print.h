#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "printing/band_rendering.h"
#include "printing/export_command.h"
#include "printing/print_command.h"
#include "program/program.h"

namespace veltrix::testing {

// One window drawn at 1:1 at its design size the two ways a page leaves the program: the vector
// export's drawing and the print job's band, each after the window painted for printing.
struct ExportAndPrint {
    QImage exported;
    QImage printed;
};

inline ExportAndPrint RenderExportAndPrint(Program& program, PaintedForm& form) {
    QWidget* window = form.FormWidget();
    const QSize size = form.FormDesignSize();
    window->resize(size);
    InvertedCopyScope printing(program.Display, form);
    ExportAndPrint out;
    out.printed = RenderBandSource(form, QRect(QPoint(0, 0), size), QPoint(), nullptr);
    out.exported = QImage(size, QImage::Format_RGB32);
    out.exported.fill(Qt::red);
    QPainter painter(&out.exported);
    PaintFormAsVectors(form, painter, size);
    painter.end();
    return out;
}

// Where the two draw the page itself: outside every control and every text (glyphs are smoothed
// differently on the two ways), in window pixels.
inline QRegion PageOnly(QWidget* window, const std::vector<DrawnText>& texts, QPoint pageOrigin) {
    QRegion page(QRect(QPoint(0, 0), window->size()));
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->isVisibleTo(window)) page -= control->geometry();
    for (const DrawnText& text : texts) {
        const int width = text.pixelSize * static_cast<int>(text.text.size());
        page -= QRect(text.at + pageOrigin, QSize(width, text.pixelSize * 3 / 2)).adjusted(-3, -3, 3, 3);
    }
    return page;
}

inline int Mismatches(const ExportAndPrint& images, const QRegion& where) {
    int differ = 0;
    for (const QRect& rect : where)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                differ += images.exported.pixel(x, y) != images.printed.pixel(x, y);
    return differ;
}

// The ink of a label's text: its darkest pixel.
inline QRgb Ink(const QImage& image, const QRect& box) {
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (qGray(image.pixel(x, y)) < qGray(darkest)) darkest = image.pixel(x, y);
    return darkest;
}

}  // namespace veltrix::testing
