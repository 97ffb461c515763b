#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "platform/services.h"

namespace veltrix::testing {

// The export's range dialog as a test answers it: every caption and proposal is kept. OK on the
// proposal as it stands, unless an answer is given, which goes through the dialog's check as OK
// would take it (a refused answer keeps the message and counts as a cancel), or cancel is set.
class AnswerExportRangeDialog : public ExportRangeDialog {
  public:
    bool AskExportRange(QWidget*, const QString& caption, ExportRangeChoice& choice,
                        const std::function<QString(const ExportRangeChoice&)>& check) override {
        captions << caption;
        proposed.push_back(choice);
        if (cancel) return false;
        if (!answer) return true;
        const QString problem = check ? check(*answer) : QString();
        if (!problem.isEmpty()) {
            refusals << problem;
            return false;
        }
        choice = *answer;
        return true;
    }
    bool cancel = false;
    std::optional<ExportRangeChoice> answer;
    QStringList captions;
    std::vector<ExportRangeChoice> proposed;
    QStringList refusals;
};

}  // namespace veltrix::testing
