#pragma once

#include <QByteArray>
#include <QString>

namespace veltrix {

// Writes the bytes to the user's file through the program's one writer; false with the path (its
// control characters escaped) and the system's reason in *error otherwise.
bool WriteUserFileReporting(const QString& path, const QByteArray& bytes, QString* error);

}  // namespace veltrix
