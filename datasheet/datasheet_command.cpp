#include "datasheet/datasheet_command.h"

#include <optional>

#include "datasheet/datasheet.h"
#include "engine/response.h"
#include "selection_options/selection_options.h"

namespace veltrix {
namespace {

const std::string kOption = "--datasheet";

}  // namespace

bool AsksForDatasheet(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (arg == kOption || arg.rfind(kOption + "=", 0) == 0) return true;
    return false;
}

int RunDatasheetCommand(const std::vector<std::string>& args, std::ostream& err) {
    std::string file;
    bool given = false;
    std::vector<std::string> selection;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == kOption) {
            given = true;
            file = i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0 ? args[++i] : "";
        } else if (args[i].rfind(kOption + "=", 0) == 0) {
            given = true;
            file = args[i].substr(kOption.size() + 1);
        } else {
            selection.push_back(args[i]);
        }
    }
    if (!given || file.empty()) {
        err << "veltrix: --datasheet needs the name of the PDF file to write\n";
        return 2;
    }
    const SelectionParse parsed = ParseDatasheetArguments(selection);
    if (!parsed.Ok) {
        err << "veltrix: --datasheet: " << parsed.Error << '\n';
        return 2;
    }
    SetMachineEpsilon(ComputeMachineEpsilon());
    const SelectionOptions& options = parsed.Options;
    std::optional<FinderRequirement> requirement;
    if (!options.RejectPoints.empty() || options.MaxInsertionLossDb) {
        requirement.emplace();
        requirement->F0 = options.Spec.F0;
        requirement->BW = options.Spec.BW;
        requirement->PassbandIndex = IndexOf(options.Spec.Passband);
        requirement->MaxInsertionLossDb = options.MaxInsertionLossDb;
        requirement->Stopbands = options.RejectPoints;
    }
    QString error;
    if (!WriteDatasheet(QByteArray::fromStdString(file), ComposeDatasheet(options.Spec, requirement),
                        LocalePaper(), &error)) {
        err << "veltrix: --datasheet: " << error.toStdString() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace veltrix
