// The line-break escape of language texts and label formats.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// Every backslash followed by n or N, taken from left to right, becomes CR LF.
std::string expandLineBreakEscapes(std::string_view text);

}  // namespace tcmap
