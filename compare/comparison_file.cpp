#include "compare/comparison_file.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

#include "compare/compare.h"
#include "engine/choices.h"
#include "exports/exports.h"

namespace veltrix {

namespace {

using nlohmann::json;

// The part number without the program's revision after " - ", so a file outlives a new revision.
std::string PartNumberOf(const FilterSpec& spec) {
    const std::string number = ComputeResponseTable(spec, {2, 1.0}).PartNumber;
    return number.substr(0, number.find(" - "));
}

json PartJson(const FilterSpec& spec) {
    return {{"part_number", PartNumberOf(spec)},
            {"f0_mhz", spec.F0},
            {"bandwidth_mhz", spec.BW},
            {"passband", std::string(RowOf(spec.Passband).Option)},
            {"sections", spec.Sections},
            {"profile", std::string(RowOf(spec.Profile).Option)},
            {"dielectric", std::string(RowOf(spec.Dielectric).Option)},
            {"mounting", std::string(RowOf(spec.Mounting).Option)}};
}

// Reading stops at the first thing wrong; its text says where.
struct Problem {
    std::string text;
};

const json& Member(const json& object, const char* key, const std::string& where) {
    if (!object.is_object() || !object.contains(key)) throw Problem{where + " has no \"" + key + "\""};
    return object.at(key);
}

double NumberOf(const json& object, const char* key, const std::string& where) {
    const json& value = Member(object, key, where);
    if (!value.is_number()) throw Problem{where + ": \"" + key + "\" is not a number"};
    const double number = value.get<double>();
    if (!(number > 0.0) || !std::isfinite(number))
        throw Problem{where + ": \"" + key + "\" is not a positive number"};
    return number;
}

std::string TextOf(const json& object, const char* key, const std::string& where) {
    const json& value = Member(object, key, where);
    if (!value.is_string()) throw Problem{where + ": \"" + key + "\" is not a text"};
    return value.get<std::string>();
}

template <typename E>
E ChoiceOf(const json& object, const char* key, const std::string& where) {
    const std::string option = TextOf(object, key, where);
    const std::optional<E> choice = ChoiceFromOption<E>(option);
    if (!choice) throw Problem{where + ": \"" + key + "\" \"" + option + "\" is not known"};
    return *choice;
}

FilterSpec PartOf(const json& part, const std::string& where) {
    FilterSpec spec;
    spec.F0 = NumberOf(part, "f0_mhz", where);
    spec.BW = NumberOf(part, "bandwidth_mhz", where);
    spec.BWRequested = spec.BW;
    const PassbandChoice passband = ChoiceOf<PassbandChoice>(part, "passband", where);
    spec.PBD = RowOf(passband).Number;
    spec.Passband = passband;
    const json& sections = Member(part, "sections", where);
    if (!sections.is_number_integer() || sections.get<int64_t>() < 1 || sections.get<int64_t>() > 99)
        throw Problem{where + ": \"sections\" is not a number of sections"};
    spec.Sections = static_cast<int32_t>(sections.get<int64_t>());
    spec.Profile = ChoiceOf<ResonatorProfile>(part, "profile", where);
    spec.Dielectric = ChoiceOf<DielectricMaterial>(part, "dielectric", where);
    spec.Mounting = ChoiceOf<MountingStyle>(part, "mounting", where);
    const std::string number = TextOf(part, "part_number", where);
    const ResponseTable table = ComputeResponseTable(spec, {2, 1.0});
    if (!table.Standard) throw Problem{where + " (" + number + ") is not a standard part: " + table.Refusal};
    if (PartNumberOf(spec) != number.substr(0, number.find(" - ")))
        throw Problem{where + " is kept as " + number + " but its figures give " + PartNumberOf(spec)};
    return spec;
}

// The centre, bandwidth, definition and highest loss a comparison was opened with, around its stopbands.
FinderRequirement OpenedOf(const json& requirement, const std::vector<StopbandRequirement>& stopbands) {
    const std::string where = "the requirement";
    FinderRequirement opened;
    opened.F0 = NumberOf(requirement, "f0_mhz", where);
    opened.BW = NumberOf(requirement, "bandwidth_mhz", where);
    opened.PassbandIndex = IndexOf(ChoiceOf<PassbandChoice>(requirement, "passband", where));
    if (const auto maxIl = requirement.find("max_il_db"); maxIl != requirement.end() && !maxIl->is_null())
        opened.MaxInsertionLossDb = NumberOf(requirement, "max_il_db", where);
    opened.Stopbands = stopbands;
    return opened;
}

SavedComparison ComparisonOf(const json& document) {
    if (!document.is_object()) throw Problem{"it is not a saved comparison"};
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() ||
        format->get<std::string>() != kComparisonFileFormat)
        throw Problem{"it is not a saved comparison"};
    const json& version = Member(document, "version", "the file");
    if (!version.is_number_integer()) throw Problem{"its version is not a number"};
    if (version.get<int64_t>() != kComparisonFileVersion)
        throw Problem{"it is of version " + version.dump() + "; this program reads version " +
                      std::to_string(kComparisonFileVersion)};
    SavedComparison comparison;
    const json& requirement = Member(document, "requirement", "the file");
    const json& points = Member(requirement, "stopbands", "the requirement");
    if (!points.is_array()) throw Problem{"the requirement's \"stopbands\" is not a list"};
    for (size_t i = 0; i < points.size(); ++i) {
        const std::string where = "requirement point " + std::to_string(i + 1);
        comparison.Requirement.push_back(
            {NumberOf(points[i], "frequency_mhz", where), NumberOf(points[i], "min_dbc", where)});
    }
    if (requirement.contains("f0_mhz")) comparison.Opened = OpenedOf(requirement, comparison.Requirement);
    const json& parts = Member(document, "parts", "the file");
    if (!parts.is_array()) throw Problem{"\"parts\" is not a list"};
    if (parts.size() > static_cast<size_t>(kMaxComparedParts))
        throw Problem{"it holds " + std::to_string(parts.size()) + " parts; a comparison holds at most " +
                      std::to_string(kMaxComparedParts)};
    for (size_t i = 0; i < parts.size(); ++i)
        comparison.Parts.push_back(PartOf(parts[i], "part " + std::to_string(i + 1)));
    if (const auto measured = document.find("measured_file"); measured != document.end()) {
        if (!measured->is_null() && !measured->is_string()) throw Problem{"\"measured_file\" is not a path"};
        if (measured->is_string()) comparison.MeasuredPath = measured->get<std::string>();
    }
    return comparison;
}

}  // namespace

std::string ComparisonFileText(const SavedComparison& comparison) {
    json points = json::array();
    for (const StopbandRequirement& point : comparison.Requirement)
        points.push_back({{"frequency_mhz", point.FrequencyMhz}, {"min_dbc", point.MinAttenuationDbc}});
    json parts = json::array();
    for (const FilterSpec& spec : comparison.Parts) parts.push_back(PartJson(spec));
    json requirement = {{"stopbands", points}};
    if (comparison.Opened) {
        const FinderRequirement& opened = *comparison.Opened;
        requirement["f0_mhz"] = opened.F0;
        requirement["bandwidth_mhz"] = opened.BW;
        requirement["passband"] = std::string(RowOf(PassbandFromIndex(opened.PassbandIndex).Passband).Option);
        requirement["max_il_db"] =
            opened.MaxInsertionLossDb ? json(*opened.MaxInsertionLossDb) : json(nullptr);
    }
    json document = {{"format", std::string(kComparisonFileFormat)},
                     {"version", kComparisonFileVersion},
                     {"requirement", requirement},
                     {"parts", parts}};
    document["measured_file"] =
        comparison.MeasuredPath.empty() ? json(nullptr) : json(comparison.MeasuredPath);
    // A path that is not UTF-8 is written with replacement characters rather than failing the save.
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

ComparisonFileRead ReadComparisonFileText(std::string_view text) {
    ComparisonFileRead read;
    try {
        const json document = json::parse(text);
        read.Comparison = ComparisonOf(document);
        read.Ok = true;
    } catch (const json::parse_error& e) {
        read.Problem = "it is not JSON (at byte " + std::to_string(e.byte) + ")";
    } catch (const json::exception&) {
        read.Problem = "it is not a saved comparison";
    } catch (const Problem& p) {
        read.Problem = p.text;
    }
    return read;
}

}  // namespace veltrix
