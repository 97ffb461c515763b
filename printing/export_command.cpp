#include "printing/export_command.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QWidget>

#include "platform/artwork.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "platform/services.h"
#include "platform/vector_export.h"
#include "program/program.h"

namespace veltrix {

namespace {

QString WithoutMnemonics(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

void PaintFramedText(QPainter& target, const QRect& box, const QString& text, const QFont& font,
                     Qt::Alignment alignment) {
    target.setPen(Qt::black);
    target.setBrush(Qt::NoBrush);
    target.drawRect(box.adjusted(0, 0, -1, -1));
    target.setFont(font);
    target.drawText(box.adjusted(3, 0, -3, 0), static_cast<int>(alignment | Qt::AlignVCenter), text);
}

void PaintControl(QPainter& target, QWidget* control, const QPoint& at) {
    const QRect box(at, control->size());
    if (auto* logo = qobject_cast<LogoView*>(control)) {
        // Light artwork on the screen's black; inverted with the page so it stays readable on paper.
        QPicture artwork;
        {
            QPainter recorder(&artwork);
            logo->PaintArtwork(recorder);
        }
        target.save();
        target.translate(at);
        PlayInverted(artwork, target);
        target.restore();
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        // An opaque label hides the page under it on screen; it must here too.
        if (label->autoFillBackground())
            target.fillRect(box, InvertedColour(label->palette().color(QPalette::Window)));
        if (!label->pixmap().isNull()) {
            QImage image = label->pixmap().toImage();
            image.invertPixels(QImage::InvertRgb);
            target.drawImage(box, image);
        } else if (!label->text().trimmed().isEmpty()) {
            target.setPen(InvertedColour(label->palette().color(QPalette::WindowText)));
            target.setFont(label->font());
            target.drawText(box, static_cast<int>(label->alignment()), label->text());
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        PaintFramedText(target, box, edit->text(), edit->font(), Qt::AlignLeft);
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        PaintFramedText(target, box, list->currentText(), list->font(), Qt::AlignLeft);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        PaintFramedText(target, box, WithoutMnemonics(button->text()), button->font(), Qt::AlignHCenter);
    }
}

void PaintControls(QPainter& target, QWidget* window) {
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisibleTo(window) || control->isWindow()) continue;
        PaintControl(target, control, control->pos());
    }
}

}  // namespace

QSize FormDrawingSize(PaintedForm& form) {
    QWidget* window = form.FormWidget();
    QRect area(QPoint(0, 0), window->size());
    // A window smaller than its page still exports the whole page.
    if (const PaintedPage* page = form.FormPage())
        area |= page->Picture().boundingRect().translated(form.FormPageOrigin());
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->isVisibleTo(window) && !control->isWindow()) area |= control->geometry();
    const QRect page = area.intersected(QRect(0, 0, 4096, 4096));
    return QSize(page.right() + 1, page.bottom() + 1).expandedTo(QSize(1, 1));
}

void PaintFormAsVectors(PaintedForm& form, QPainter& target, QSize size) {
    QWidget* window = form.FormWidget();
    const QRect drawing(QPoint(0, 0), size);
    target.fillRect(drawing, Qt::white);
    if (const PaintedPage* page = form.FormPage()) {
        target.save();
        target.setClipRect(drawing);
        target.translate(form.FormPageOrigin());
        PlayInverted(page->Picture(), target);
        target.restore();
    }
    PaintControls(target, window);
}

bool RunExportCommand(Program& program, PaintedForm& form, const QString& jobTitle) {
    QWidget* window = form.FormWidget();
    if (program.SaveDialogs == nullptr) return false;
    const QString path = program.SaveDialogs->AskSaveFile(
        window, QStringLiteral("Export as PDF/SVG"), jobTitle + QStringLiteral(".pdf"),
        QStringLiteral("PDF document (*.pdf);;SVG drawing (*.svg)"));
    if (path.isEmpty()) return false;

    // The page is recorded by a paint; make sure it shows the current specification.
    QImage scratch(window->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    {
        QPainter painter(&scratch);
        form.FormPaint(painter, window->size());
    }
    const QSize size = FormDrawingSize(form);
    QString error;
    const bool written = ExportDrawing(
        path, size, jobTitle, [&form, size](QPainter& target) { PaintFormAsVectors(form, target, size); }, &error);
    if (!written && program.Messages != nullptr) program.Messages->ShowMessage(window, error, QString());
    return written;
}

}  // namespace veltrix
