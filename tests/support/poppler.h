#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>

namespace veltrix::testing {

// What a poppler-utils tool (pdftotext, pdfinfo, pdfimages) prints, or nullopt where it is not installed.
inline std::optional<QString> Poppler(const char* tool, const QStringList& args) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (path.isEmpty()) return std::nullopt;
    QProcess process;
    process.start(path, args);
    EXPECT_TRUE(process.waitForFinished(30000)) << tool;
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace veltrix::testing
