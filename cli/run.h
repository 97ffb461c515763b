#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrix {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSampleMisses = 3;  // compare: the measured sample misses the requirement

// The whole companion: args are the arguments after the program name. Output is composed
// first and written only on success, so a failure never leaves half a document on out.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace veltrix
