// `tcmap draw [options] FILES... -o OUT`: one map of every storm of the
// files; `--each PATTERN`: a map of each storm, drawn on several threads at
// once, with progress, an index and statistics. Never a failure report in
// place of a map: a failed map leaves its path as it was. Exit 0 when every
// map was written, 1 when one was not, 2 for usage.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/command_context.h"

namespace tcmap {

int runDrawCommand(const CommandContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

}  // namespace tcmap
