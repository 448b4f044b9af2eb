// The file name of a storm's own map: a pattern such as
// "out/{year}/{id}-{name}.png" with the placeholders {year} (of the first
// fix), {id} (EP092023), {name}, {basin} and {number} (the storm number,
// "09"). A value is made safe for a file name: "/", "\", control characters
// and characters other than letters, digits, "-", "_" and "." become "_", a
// leading "." too, and an empty value is "_".
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace tcmap {

struct StormFacts;

// The pattern's unknown placeholder or unmatched brace, as a message; ""
// when it is usable.
std::string checkMapNamePattern(std::string_view pattern);

std::string expandMapName(std::string_view pattern, const StormFacts& storm);

std::string safeNamePart(std::string_view value);

}  // namespace tcmap
