// The pieces of a printf-style format, as the safe formatter
// (i18n/safe_format.h) reads them: plain text, "%%", placeholders, and
// anything after a "%" that is not a placeholder the formatter knows. The
// settings check reads label formats with the same rules.
#pragma once

#include <string_view>

namespace tcmap {

struct PrintfPiece {
    enum class Kind {
        Text,         // bytes without "%"
        Percent,      // "%%"
        Placeholder,  // %[flags][width][.precision][length]conversion, conversion in "diuxXocs"
        Unknown,      // a "%" that starts no known placeholder, up to where reading stopped
    };
    Kind kind = Kind::Text;
    std::string_view text;  // the piece's bytes in the format
    // Placeholder only.
    bool left = false;       // '-'
    bool plus = false;       // '+'
    bool space = false;      // ' '
    bool alternate = false;  // '#'
    bool zero = false;       // '0'
    int width = 0;           // saturates far below any overflow
    bool hasPrecision = false;
    int precision = 0;
    char conversion = '\0';
};

// Walks a format piece by piece. An Unknown piece ends where reading
// stopped: the byte that stopped it starts the next piece.
class PrintfScanner {
  public:
    explicit PrintfScanner(std::string_view format) : format_(format) {}
    // The next piece; false at the end of the format.
    bool next(PrintfPiece& piece);

  private:
    std::string_view format_;
    size_t position_ = 0;
};

}  // namespace tcmap
