#include "cli/run.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <sstream>

#include "cli/compare_output.h"
#include "cli/find_output.h"
#include "cli/options.h"
#include "cli/output.h"
#include "engine/response.h"
#include "exports/exports.h"
#include "finder/finder.h"
#include "judgement/judgement.h"
#include "measured/comparison.h"
#include "measured/touchstone_reader.h"

namespace veltrix {
namespace {

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

int RunFind(const FindOptions& options, std::ostream& out) {
    if (options.Help) {
        out << FindUsageText();
        return kExitOk;
    }
    const FinderResults results = FindParts(options.Requirement);
    std::ostringstream document;
    if (options.Format == OutputFormat::Json) {
        WriteFindJson(results, document);
    } else {
        WriteFindText(options.Requirement, results, document);
    }
    out << document.str();
    return kExitOk;
}

int RunCompare(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.Help) {
        out << CompareUsageText();
        return kExitOk;
    }
    MeasuredRead read = ReadTouchstoneFile(options.MeasuredFile);
    if (!read.Ok) {
        err << "veltrix-cli: compare: " << read.Problem << '\n';
        return kExitUsage;
    }
    if (!read.Notice.empty()) err << "veltrix-cli: compare: " << read.Notice << '\n';
    std::vector<double> points = options.RequirementPointsMhz;
    for (const StopbandRequirement& reject : options.RejectPoints) points.push_back(reject.FrequencyMhz);
    const ResponseTable part = ComputeResponseTable(options.Spec, {2, 1.0});
    MeasuredTrace& trace = read.Trace;
    FitDelays(trace, part.CentreFrequencyMhz);
    const MeasuredComparison comparison = CompareWithModel(options.Spec, trace, points);
    if (!comparison.Standard) {
        err << "veltrix-cli: compare: " << comparison.Refusal << '\n';
        return kExitFailure;
    }
    FinderRequirement requirement;
    requirement.F0 = part.CentreFrequencyMhz;
    requirement.BW = options.Spec.BW;
    requirement.PassbandIndex = std::max(0, PassbandIndex(options.Spec.PBD));
    requirement.MaxInsertionLossDb = options.MaxInsertionLossDb;
    requirement.Stopbands = options.RejectPoints;
    const SampleJudgement judgement = JudgeSample(trace, requirement);
    // Nothing can fail from here on: the document goes out as it is made.
    if (options.Format == OutputFormat::Json) {
        WriteCompareJson(comparison, judgement, out);
    } else {
        WriteCompareText(comparison, judgement, out);
    }
    return judgement.Judged && !judgement.Meets ? kExitSampleMisses : kExitOk;
}

int RunJudge(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.Help) {
        out << UsageText();
        return kExitOk;
    }
    if (options.Version) {
        out << VersionText();
        return kExitOk;
    }
    std::ostringstream document;
    if (options.Format == OutputFormat::Csv) {
        const ResponseTable table = ComputeResponseTable(options.Spec, options.Span, ExportFormat::Csv);
        if (!table.Standard) {
            err << "veltrix-cli: --format csv: " << table.Refusal << '\n';
            return kExitFailure;
        }
        document << CsvText(table);
    } else {
        const JudgedSelection results = JudgeSelection(options.Spec);
        if (options.Format == OutputFormat::Json) {
            WriteJson(results, document);
        } else {
            WriteText(results, document);
        }
    }
    if (!options.TouchstoneFile.empty()) {
        const FileResult written =
            WriteTouchstoneFile(options.Spec, options.Span, options.TouchstoneFile, Today());
        if (!written.Ok) {
            err << "veltrix-cli: --touchstone: " << written.Error << '\n';
            return kExitFailure;
        }
    }
    out << document.str();
    return kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseOutcome parsed = ParseArguments(args);
    if (!parsed.Ok) {
        err << parsed.Error << '\n';
        return kExitUsage;
    }
    try {
        SetMachineEpsilon(ComputeMachineEpsilon());
        if (parsed.Command == CliCommand::Find) return RunFind(parsed.Find, out);
        if (parsed.Command == CliCommand::Compare) return RunCompare(parsed.Options, out, err);
        return RunJudge(parsed.Options, out, err);
    } catch (const std::exception& e) {
        err << "veltrix-cli: internal error: " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace veltrix
