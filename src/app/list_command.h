// `tcmap list [--json|--csv] [filters] FILES...`: the storms of the files,
// with the statistics a map of each storm reports. Exit 0, 1 when an input
// could not be read, 2 for usage.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/command_context.h"

namespace tcmap {

int runListCommand(const CommandContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

}  // namespace tcmap
