// Small UTF-8 helpers for the text conversions of this folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tcmap {

// Length of the well-formed UTF-8 sequence starting at `pos`, or 0 when the
// bytes there are not one (stray continuation byte, overlong form, surrogate,
// beyond U+10FFFF, cut short).
size_t utf8SequenceLength(std::string_view text, size_t pos);

// Appends the UTF-8 form of a code point; false (nothing appended) for 0,
// surrogates and values beyond U+10FFFF.
bool appendUtf8(std::string& out, char32_t codePoint);

// The longest prefix of at most `maxBytes` bytes that does not end inside a
// UTF-8 sequence.
std::string_view utf8Prefix(std::string_view text, size_t maxBytes);

}  // namespace tcmap
