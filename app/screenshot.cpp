#include "app/screenshot.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QPixmap>
#include <algorithm>

#include "app/document_window.h"
#include "app/frame.h"
#include "platform/user_file_reporting.h"
#include "specification_window/specification_window.h"

namespace veltrix {

ScreenshotPlaces ScreenshotLayout(QSize area, QSize selectOuter) {
    const int selectWidth = std::min(selectOuter.width(), area.width());
    const int selectHeight = std::min(selectOuter.height(), area.height());
    ScreenshotPlaces places;
    places.Specification = QRect(0, 0, selectWidth, selectHeight);
    places.TabularData = QRect(selectWidth, 0, std::max(0, area.width() - selectWidth), selectHeight);
    places.Outline = QRect(0, selectHeight, area.width(), std::max(0, area.height() - selectHeight));
    return places;
}

QByteArray ScreenshotFileArgument(const std::vector<std::string>& arguments) {
    const std::string option = "--screenshot";
    QByteArray file;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--") break;
        if (arguments[i] == option && i + 1 < arguments.size())
            file = QByteArray::fromStdString(arguments[++i]);
        else if (arguments[i].rfind(option + "=", 0) == 0)
            file = QByteArray::fromStdString(arguments[i].substr(option.size() + 1));
    }
    return file;
}

bool WriteFrameScreenshot(MainFrame& frame, const QString& file, QString* error) {
    return WriteFrameScreenshot(frame, QFile::encodeName(file), error);
}

bool WriteFrameScreenshot(MainFrame& frame, const QByteArray& file, QString* error) {
    frame.showNormal();
    frame.resize(kScreenshotFrameSize);
    QApplication::processEvents();

    // The specification window at the size its page is designed for, frame and title bar included.
    DocumentMdiWindow* select = frame.DocumentSubWindow(DocumentWindow::Specification);
    QSize selectOuter = kScreenshotFrameSize;
    if (select != nullptr && select->widget() != nullptr) {
        const QSize decoration = select->size() - select->widget()->size();
        selectOuter =
            QSize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight) + decoration;
    }
    const ScreenshotPlaces places = ScreenshotLayout(frame.MdiArea()->viewport()->size(), selectOuter);
    const struct {
        DocumentWindow window;
        QRect place;
    } order[] = {{DocumentWindow::Outline, places.Outline},
                 {DocumentWindow::TabularData, places.TabularData},
                 {DocumentWindow::Specification, places.Specification}};
    for (const auto& item : order) {
        if (DocumentMdiWindow* window = frame.DocumentSubWindow(item.window)) {
            window->showNormal();
            window->setGeometry(item.place);
        }
    }
    frame.BringToFront(DocumentWindow::Specification);
    QApplication::processEvents();

    // The first pass paints the specification screen, which brings the report up to date; the
    // second is the picture.
    (void)frame.grab();
    QApplication::processEvents();
    const QImage picture = frame.grab().toImage();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        if (error != nullptr)
            *error = MessagePath(file) + QStringLiteral(": the picture could not be encoded as PNG");
        return false;
    }
    return WriteUserFileReporting(file, png, error);
}

}  // namespace veltrix
