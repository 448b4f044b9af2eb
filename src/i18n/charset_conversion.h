// Character-set conversion of language texts through the C library's iconv.
// Texts inside the program are UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tcmap {

// The whole text converted from one character set to another. nullopt when
// either name is unknown to iconv (or empty, or carries "//" options) and when
// the text holds a byte sequence that is invalid or cut short in the source set.
std::optional<std::string> convertCharset(std::string_view text, std::string_view fromCharset,
                                          std::string_view toCharset);

// A text in `charset` as UTF-8; the empty text when it cannot be converted.
std::string toUtf8(std::string_view text, std::string_view charset);

// Length in bytes of a UTF-8 text in the GBK-compatible code page (GB18030):
// one byte for ASCII, two for a Chinese character. Layouts that were measured
// in that code page count with this. Invalid UTF-8 counts its own bytes.
size_t codePageLength(std::string_view utf8Text);

}  // namespace tcmap
