#include "cli/find_output.h"

#include <cstdio>
#include <string>

#include "cli/json_number.h"
#include "cli/options.h"
#include "engine/filter_spec.h"
#include "engine/text_format.h"

namespace veltrix {
namespace {

std::string Combination(int32_t sections, ResonatorProfile profile, DielectricMaterial dielectric,
                        MountingStyle mounting) {
    return std::to_string(sections) + " sections, " + ProfileName(profile) + ", " +
           DielectricName(dielectric) + ", " + MountingName(mounting);
}

}  // namespace

void WriteFindText(const FinderRequirement& requirement, const FinderResults& results, std::ostream& out) {
    const PassbandDefinition pbd = PassbandFromIndex(requirement.PassbandIndex);
    out << "Requirement: "
        << FormatText("%.2f MHz, at least %.2f MHz at %.1f dB", requirement.F0, requirement.BW, pbd.PBD);
    if (requirement.MaxInsertionLossDb)
        out << FormatText(", insertion loss at most %.2f dB", *requirement.MaxInsertionLossDb);
    for (const StopbandRequirement& s : requirement.Stopbands) {
        out << FormatText(", at least %.1f dBc at %.2f MHz", s.MinAttenuationDbc, s.FrequencyMhz);
    }
    out << "\n\n";
    if (results.Parts.empty()) {
        out << "No standard part meets the requirement.\n";
    } else {
        out << "Standard parts that meet it, best first (" << results.Parts.size() << "):\n";
        int rank = 0;
        for (const FoundPart& part : results.Parts) {
            out << FormatText("%3d. %-24s IL %5.2f dB (%.2f dB worst case)   ", ++rank,
                              part.PartNumber.c_str(), part.InsertionLossDb, part.WorstCaseInsertionLossDb)
                << Combination(part.Sections, part.Profile, part.Dielectric, part.Mounting) << '\n';
            for (const StopbandResult& s : part.Stopbands) {
                out << FormatText(
                    "       %.2f MHz: %.1f dBc worst case (%.1f dBc computed), %+.1f dB over the %.1f dBc "
                    "required\n",
                    s.FrequencyMhz, s.WorstCaseDbc, s.AttenuationDbc, s.MarginDb, s.RequiredDbc);
            }
        }
    }
    if (!results.Misses.empty()) {
        out << "\nCombinations that miss (" << results.Misses.size() << "):\n";
        for (const FinderMiss& miss : results.Misses) {
            out << "  " << Combination(miss.Sections, miss.Profile, miss.Dielectric, miss.Mounting) << ": "
                << miss.Reason << '\n';
        }
    }
}

void WriteFindJson(const FinderResults& results, std::ostream& out) {
    Json doc;
    Json& parts = doc["parts"] = Json::array();
    for (const FoundPart& part : results.Parts) {
        Json item;
        item["part_number"] = part.PartNumber;
        item["insertion_loss_db"] = JsonNumber(part.InsertionLossDb);
        item["worst_case_il_db"] = JsonNumber(part.WorstCaseInsertionLossDb);
        item["sections"] = part.Sections;
        item["profile"] = ProfileName(part.Profile);
        item["dielectric"] = DielectricName(part.Dielectric);
        item["mounting"] = MountingName(part.Mounting);
        Json& stopbands = item["stopbands"] = Json::array();
        for (const StopbandResult& s : part.Stopbands) {
            stopbands.push_back({{"frequency_mhz", JsonNumber(s.FrequencyMhz)},
                                 {"attenuation_dbc", JsonNumber(s.AttenuationDbc)},
                                 {"guaranteed_dbc", JsonNumber(s.GuaranteedDbc)},
                                 {"worst_case_dbc", JsonNumber(s.WorstCaseDbc)},
                                 {"required_dbc", JsonNumber(s.RequiredDbc)},
                                 {"margin_db", JsonNumber(s.MarginDb)}});
        }
        parts.push_back(std::move(item));
    }
    Json& misses = doc["misses"] = Json::array();
    for (const FinderMiss& miss : results.Misses) {
        misses.push_back({{"sections", miss.Sections},
                          {"profile", ProfileName(miss.Profile)},
                          {"dielectric", DielectricName(miss.Dielectric)},
                          {"mounting", MountingName(miss.Mounting)},
                          {"reason", miss.Reason}});
    }
    out << doc.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace veltrix
