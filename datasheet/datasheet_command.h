#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrix {

// Whether the arguments ask for "--datasheet FILE", which needs no display.
bool AsksForDatasheet(const std::vector<std::string>& args);

// "veltrix --datasheet FILE [selection options]": writes the datasheet of the selection, as the
// companion reads it, on the locale's paper; --reject and --max-il give it a requirement to meet. Exit status
// 0 when written; 1 when the entry is refused or the file cannot be written, with the reason on err; 2 on a
// usage error.
int RunDatasheetCommand(const std::vector<std::string>& args, std::ostream& err);

}  // namespace veltrix
