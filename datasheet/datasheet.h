#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>

#include "datasheet_content/datasheet_content.h"
#include "program/display_settings.h"

class QPainter;
class QPagedPaintDevice;

namespace veltrix {

QPageSize PageSizeOf(Paper paper);

// The datasheet's pages, each as long as it needs: the part's figures, its graph and the tolerance
// statements; the outline drawing in inches and in millimetres; then the tabular data.
int DatasheetPageCount(const DatasheetContent& sheet, Paper paper);

// Paints every page of a standard part's datasheet, dark on white, in vectors, onto a device whose
// page size is the paper's; the painter is active on the device and the first page open.
void PaintDatasheet(QPainter& painter, QPagedPaintDevice& device, const DatasheetContent& sheet, Paper paper,
                    const DisplaySettings& display = DisplaySettings{});

// The datasheet as a PDF document; empty when it could not be painted.
QByteArray DatasheetPdf(const DatasheetContent& sheet, Paper paper);

// Writes the part's datasheet to the file through the program's one writer. False with the reason in
// *error: the entry's refusal, or the path and the system's reason. The path is the file system's
// bytes (QFile::encodeName of a name the user chose), kept as they are.
bool WriteDatasheet(const QByteArray& nativePath, const FilterSpec& part, Paper paper, QString* error);
bool WriteDatasheet(const QByteArray& nativePath, const DatasheetContent& sheet, Paper paper, QString* error);

}  // namespace veltrix
