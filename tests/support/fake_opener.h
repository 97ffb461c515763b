#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace veltrix::testing {

// An xdg-open of the test's own, a shell script, first on PATH while it lives.
class FakeOpener {
  public:
    explicit FakeOpener(const QString& script) : path_(qgetenv("PATH")) {
        QFile file(dir_.filePath(QStringLiteral("xdg-open")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\n" + script + "\n").toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir_.path().toLocal8Bit() + ':' + path_);
    }
    ~FakeOpener() { qputenv("PATH", path_); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;
    QString Folder() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    QByteArray path_;
};

}  // namespace veltrix::testing
