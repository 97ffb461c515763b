#pragma once

#include <QString>
#include <QStringList>

#include "platform/services.h"

namespace veltrix::testing {

// The save-file dialog as a test answers it: every proposed name is kept, and the answer (empty for
// a cancel) is returned.
class AnswerSaveDialog : public SaveFileDialog {
  public:
    QString AskSaveFile(QWidget*, const QString&, const QString& proposedName, const QString&) override {
        proposed << proposedName;
        return answer;
    }
    QString answer;
    QStringList proposed;
};

}  // namespace veltrix::testing
