#include "printing/export_command.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QRegion>
#include <QWidget>
#include <vector>

#include "platform/artwork.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "platform/services.h"
#include "printing/print_command.h"
#include "printing/vector_export.h"
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
    // Opaque on screen: the page under the control does not show through.
    target.fillRect(box, Qt::white);
    target.setPen(Qt::black);
    target.setBrush(Qt::NoBrush);
    target.drawRect(box.adjusted(0, 0, -1, -1));
    target.setFont(font);
    target.drawText(box.adjusted(3, 0, -3, 0), static_cast<int>(alignment | Qt::AlignVCenter), text);
}

// A control the screen shows opaque: what the page has under it is hidden.
bool CoversThePage(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) return label->autoFillBackground();
    return qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
           qobject_cast<QAbstractButton*>(control);
}

// The window has just painted for printing, so its controls carry the printout's colours already;
// they are drawn as they stand, over the page inverted as the print inverts it.
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
        if (label->autoFillBackground()) target.fillRect(box, label->palette().color(QPalette::Window));
        if (!label->pixmap().isNull()) {
            target.drawImage(box, label->pixmap().toImage());
        } else if (!label->text().trimmed().isEmpty()) {
            target.setPen(label->palette().color(QPalette::WindowText));
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

std::vector<QWidget*> VisibleControls(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->isVisibleTo(window) && !control->isWindow()) controls.push_back(control);
    return controls;
}

}  // namespace

QSize FormDrawingSize(PaintedForm& form) {
    const QSize design = form.FormDesignSize();
    if (!design.isEmpty()) return design;
    return form.FormWidget()->size().expandedTo(QSize(1, 1));
}

void PaintFormAsVectors(PaintedForm& form, QPainter& target, QSize size) {
    QWidget* window = form.FormWidget();
    const QRect drawing(QPoint(0, 0), size);
    target.fillRect(drawing, Qt::white);
    const std::vector<QWidget*> controls = VisibleControls(window);
    if (const PaintedPage* page = form.FormPage()) {
        QRegion covered;
        for (QWidget* control : controls)
            if (CoversThePage(control)) covered += control->geometry().translated(-form.FormPageOrigin());
        target.save();
        target.setClipRect(drawing);
        target.translate(form.FormPageOrigin());
        PlayInverted(page->Picture(), target, covered);
        target.restore();
    }
    for (QWidget* control : controls) PaintControl(target, control, control->pos());
}

bool RunExportCommand(Program& program, PaintedForm& form, const QString& jobTitle) {
    QWidget* window = form.FormWidget();
    if (program.SaveDialogs == nullptr) return false;
    const QString path = program.SaveDialogs->AskSaveFile(
        window, QStringLiteral("Export as PDF/SVG"), jobTitle + QStringLiteral(".pdf"),
        QStringLiteral("PDF document (*.pdf);;SVG drawing (*.svg)"));
    if (path.isEmpty()) return false;

    // A printout without paper: the window paints its whole design page once as a print job has it
    // paint, whatever size it has on screen, and that page is drawn.
    const QSize size = FormDrawingSize(form);
    QByteArray document;
    {
        InvertedCopyScope printing(program.Display, form);
        QImage scratch(size, QImage::Format_RGB32);
        {
            QPainter painter(&scratch);
            form.FormPaint(painter, size);
        }
        document = DrawingDocument(VectorFormatFor(path), size, jobTitle, [&form, size](QPainter& target) {
            PaintFormAsVectors(form, target, size);
        });
    }
    // The window is back in its own colours before the file is written (a FIFO may keep it
    // waiting) and before anything is said.
    QString error = document.isEmpty() ? DrawingNotMade(path) : QString();
    const bool written = !document.isEmpty() && WriteExportedDocument(path, document, &error);
    if (!written && !error.isEmpty() && program.Messages != nullptr)
        program.Messages->ShowMessage(window, error, QString());
    return written;
}

}  // namespace veltrix
