#include "platform/user_file_reporting.h"

#include <QFile>
#include <string>
#include <string_view>

#include "files/user_file.h"

namespace veltrix {

bool WriteUserFileReporting(const QString& path, const QByteArray& bytes, QString* error) {
    const FileResult written = WriteUserFile(QFile::encodeName(path).toStdString(),
                                             std::string_view(bytes.constData(), bytes.size()));
    if (!written.Ok && error) *error = QString::fromStdString(written.Error);
    return written.Ok;
}

}  // namespace veltrix
