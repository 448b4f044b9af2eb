// Text rules shared by every reader of track files, settings and language
// files: splitting, trimming, reading numbers and writing them back.
//
// Texts are byte strings (UTF-8 on this platform). Number reading and writing
// never depend on the process locale, so a desktop with a comma decimal
// separator reads and writes the same track text as a server.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

// The tolerance of every comparison of floating values.
inline constexpr double kEpsilon = 0.0000001;

// Pieces between occurrences of `separator`, left to right. Adjacent separators
// give an empty piece; an empty remainder after the last separator gives none,
// so "a,,b," is {a, "", b} and "" is {}. With limit >= 0 at most that many
// pieces are returned and the rest of the text is dropped.
std::vector<std::string> splitText(std::string_view text, std::string_view separator,
                                   int limit = -1);

// The pieces of splitText as views into `text`, stored into `pieces`: at most
// pieces.size() of them, as with that limit. Returns how many were stored.
size_t splitTextInto(std::string_view text, std::string_view separator,
                     std::span<std::string_view> pieces);

// Walks the pieces of splitText one at a time, as views into the text, so a
// large text is split without copying it.
class PieceCursor {
  public:
    PieceCursor(std::string_view text, std::string_view separator)
        : text_(text), separator_(separator) {}
    // The next piece; false when there is none left.
    bool next(std::string_view& piece);

  private:
    std::string_view text_;
    std::string_view separator_;
    size_t position_ = 0;
    bool done_ = false;
};

// Removes leading and trailing ASCII spaces and ideographic spaces (U+3000).
std::string trimText(std::string_view text);
// trimText as a view into the same text.
std::string_view trimView(std::string_view text);

// The leading decimal number of a text: optional white space, optional sign,
// digits with an optional fraction and exponent. No hexadecimal, "inf" or
// "nan"; a text without a number reads 0. Always finite: an overflow gives the
// largest double of its sign.
double readNumber(std::string_view text);

// readNumber truncated toward zero, saturated to the 32-bit range.
int32_t readInteger(std::string_view text);

// readNumber truncated toward zero, saturated to the 64-bit range; plain digit
// strings are read exactly even beyond 2^53.
int64_t readInteger64(std::string_view text);

// Narrowing helpers that never hit undefined behaviour: NaN gives 0, values
// outside the target range saturate.
int32_t truncToInt32(double value);
int64_t truncToInt64(double value);
float toSingle(double value);

// C's "%g" (six significant digits) of a value, independent of the locale.
std::string formatG(double value, int precision = 6);

// ASCII-only case conversion (non-ASCII bytes stay as they are).
std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);

// The last `count` bytes of a text, or the whole text when it is shorter.
std::string_view lastChars(std::string_view text, size_t count);

}  // namespace tcmap
