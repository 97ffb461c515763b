#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "files/user_file.h"

namespace veltrix {

// Writes the bytes to the user's file through the program's one writer; false with the path (its
// control characters escaped) and the system's reason in *error otherwise, or with *error left
// empty when the user gave up waiting for a FIFO's reader. The native path is the file system's
// own bytes, kept whole even where they are not UTF-8 (a name given on the command line).
bool WriteUserFileReporting(const QByteArray& nativePath, const QByteArray& bytes, QString* error);
bool WriteUserFileReporting(const QString& path, const QByteArray& bytes, QString* error);

// A file name as a message shows it: its bytes, with what cannot be shown escaped.
QString MessagePath(const QByteArray& nativePath);
QString MessagePath(const QString& path);

// While a FIFO has no reader, the windows keep painting and, after a moment, a dialog says what the
// program waits for and lets the user cancel. Installed for the program's windows.
class WindowReaderWait : public WaitForReader {
  public:
    // The dialog carries the caption the program's messages carry.
    explicit WindowReaderWait(QString caption);
    ~WindowReaderWait() override;
    WindowReaderWait(const WindowReaderWait&) = delete;
    WindowReaderWait& operator=(const WindowReaderWait&) = delete;

    bool KeepWaiting(const std::string& path) override;
    void Finished() override;

  private:
    struct Shown;
    QString caption_;
    std::unique_ptr<Shown> shown_;
};

}  // namespace veltrix
