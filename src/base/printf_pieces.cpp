#include "base/printf_pieces.h"

#include <algorithm>

namespace tcmap {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits, saturating far below any overflow.
int readField(std::string_view format, size_t& i) {
    constexpr int kSaturated = 100'000'000;
    int value = 0;
    while (i < format.size() && isDigit(format[i])) {
        value = std::min(value * 10 + (format[i] - '0'), kSaturated);
        ++i;
    }
    return value;
}

bool applyFlag(char c, PrintfPiece& p) {
    switch (c) {
        case '-':
            p.left = true;
            return true;
        case '+':
            p.plus = true;
            return true;
        case ' ':
            p.space = true;
            return true;
        case '#':
            p.alternate = true;
            return true;
        case '0':
            p.zero = true;
            return true;
        default:
            return false;
    }
}

void skipLengthModifier(std::string_view format, size_t& i) {
    if (i >= format.size()) return;
    const char c = format[i];
    if (c == 'h' || c == 'l') {
        ++i;
        if (i < format.size() && format[i] == c) ++i;  // hh, ll
    } else if (c == 'z' || c == 'j' || c == 't' || c == 'L') {
        ++i;
    }
}

}  // namespace

bool PrintfScanner::next(PrintfPiece& piece) {
    const std::string_view format = format_;
    size_t i = position_;
    if (i >= format.size()) return false;
    piece = PrintfPiece{};
    const size_t start = i;
    if (format[i] != '%') {
        const size_t percent = format.find('%', i);
        position_ = percent == std::string_view::npos ? format.size() : percent;
        piece.kind = PrintfPiece::Kind::Text;
        piece.text = format.substr(start, position_ - start);
        return true;
    }
    ++i;
    if (i < format.size() && format[i] == '%') {
        position_ = i + 1;
        piece.kind = PrintfPiece::Kind::Percent;
        piece.text = format.substr(start, 2);
        return true;
    }
    while (i < format.size() && applyFlag(format[i], piece)) ++i;
    piece.width = readField(format, i);
    if (i < format.size() && format[i] == '.') {
        ++i;
        piece.hasPrecision = true;
        piece.precision = readField(format, i);
    }
    skipLengthModifier(format, i);

    const bool known =
        i < format.size() && std::string_view("diuxXocs").find(format[i]) != std::string_view::npos;
    if (known) {
        piece.kind = PrintfPiece::Kind::Placeholder;
        piece.conversion = format[i];
        ++i;
    } else {
        piece.kind = PrintfPiece::Kind::Unknown;
    }
    position_ = i;
    piece.text = format.substr(start, i - start);
    return true;
}

}  // namespace tcmap
