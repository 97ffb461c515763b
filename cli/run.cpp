#include "cli/run.h"

#include <exception>
#include <sstream>

#include "cli/options.h"
#include "cli/output.h"
#include "cli/paint_results.h"
#include "engine/response.h"

namespace veltrix {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseOutcome parsed = ParseArguments(args);
    if (!parsed.Ok) {
        err << parsed.Error << '\n';
        return kExitUsage;
    }
    if (parsed.Options.Help) {
        out << UsageText();
        return kExitOk;
    }
    try {
        SetMachineEpsilon(ComputeMachineEpsilon());
        const PaintResults results = ComputePaint(parsed.Options.Spec);
        std::ostringstream document;
        if (parsed.Options.Format == OutputFormat::Json) {
            WriteJson(results, document);
        } else {
            WriteText(results, document);
        }
        out << document.str();
    } catch (const std::exception& e) {
        err << "veltrix-cli: internal error: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace veltrix
