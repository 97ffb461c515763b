#include "engine/worst_case.h"

#include "engine/rules.h"

namespace veltrix {

double WorstCaseInsertionLossDb(double typicalDb) { return kInsertionLossAllowance * typicalDb; }

WorstCaseAttenuation WorstCaseAttenuationDbc(double computedDbc, double f0) {
    const double tolerated = kAttenuationAllowance * computedDbc;
    const double guarantee = GuaranteedAttenuationDbc(f0);
    if (tolerated > guarantee) return {guarantee, true};
    return {tolerated, false};
}

}  // namespace veltrix
