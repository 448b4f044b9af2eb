#include "i18n/safe_format.h"

#include <algorithm>

#include "base/printf_pieces.h"
#include "base/text_rules.h"
#include "base/utf8_text.h"

namespace tcmap {

int64_t FormatArg::asNumber() const {
    return isNumber_ ? number_ : readInteger64(text_);
}

std::string FormatArg::asText() const {
    return isNumber_ ? std::to_string(number_) : text_;
}

namespace {

using Placeholder = PrintfPiece;

void appendPadded(std::string& out, std::string_view body, const Placeholder& p) {
    const size_t width = static_cast<size_t>(p.width);
    const size_t padding = body.size() < width ? width - body.size() : 0;
    if (p.left) {
        out += body;
        out.append(padding, ' ');
    } else {
        out.append(padding, ' ');
        out += body;
    }
}

std::string digitsOf(uint64_t value, unsigned base, bool upper) {
    const char* symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string digits;
    do {
        digits += symbols[value % base];
        value /= base;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

void appendInteger(std::string& out, char conversion, int64_t value, const Placeholder& p) {
    std::string prefix;
    uint64_t magnitude;
    unsigned base = 10;
    if (conversion == 'd' || conversion == 'i') {
        magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        if (value < 0) {
            prefix = "-";
        } else if (p.plus) {
            prefix = "+";
        } else if (p.space) {
            prefix = " ";
        }
    } else {
        // Arguments are the program's 32-bit integers unless they do not fit:
        // -1 prints as 4294967295 / ffffffff, as C does for an int.
        magnitude = value >= INT32_MIN && value <= INT32_MAX
                        ? static_cast<uint64_t>(static_cast<uint32_t>(value))
                        : static_cast<uint64_t>(value);
        base = conversion == 'o' ? 8 : conversion == 'u' ? 10 : 16;
    }

    std::string digits;
    if (!(p.hasPrecision && p.precision == 0 && magnitude == 0)) {
        digits = digitsOf(magnitude, base, conversion == 'X');
    }
    const size_t precision = static_cast<size_t>(std::min(p.precision, kMaxFormatField));
    if (p.hasPrecision && digits.size() < precision) {
        digits.insert(0, precision - digits.size(), '0');
    }
    if (p.alternate) {
        if (conversion == 'o' && (digits.empty() || digits[0] != '0')) digits.insert(0, "0");
        if ((conversion == 'x' || conversion == 'X') && magnitude != 0) {
            prefix = conversion == 'x' ? "0x" : "0X";
        }
    }

    const size_t length = prefix.size() + digits.size();
    const size_t width = static_cast<size_t>(p.width);
    if (p.zero && !p.left && !p.hasPrecision && length < width) {
        digits.insert(0, width - length, '0');
    }
    appendPadded(out, prefix + digits, p);
}

void appendCharacter(std::string& out, const FormatArg& arg, const Placeholder& p) {
    std::string character;
    if (arg.isNumber()) {
        // A code point; zero and values that are none give no character.
        const int64_t value = arg.asNumber();
        if (value > 0 && value <= 0x10FFFF) appendUtf8(character, static_cast<char32_t>(value));
    } else {
        const std::string text = arg.asText();
        if (!text.empty()) {
            character = text.substr(0, std::max<size_t>(utf8SequenceLength(text, 0), 1));
        }
    }
    appendPadded(out, character, p);
}

void appendText(std::string& out, const FormatArg& arg, const Placeholder& p) {
    const std::string text = arg.asText();
    // A precision counts bytes, as in C, but never cuts a character in two.
    const std::string_view body = p.hasPrecision
                                      ? utf8Prefix(text, static_cast<size_t>(p.precision))
                                      : std::string_view(text);
    appendPadded(out, body, p);
}

}  // namespace

std::string safeFormat(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 16);
    size_t nextArg = 0;
    PrintfScanner scanner(format);
    PrintfPiece piece;
    while (scanner.next(piece)) {
        switch (piece.kind) {
            case PrintfPiece::Kind::Text:
                out += piece.text;
                continue;
            case PrintfPiece::Kind::Percent:
                out += '%';
                continue;
            case PrintfPiece::Kind::Unknown:
                // Copied as it stands; whatever stopped the placeholder is
                // ordinary text again (or starts the next placeholder).
                out += piece.text;
                continue;
            case PrintfPiece::Kind::Placeholder:
                break;
        }
        if (nextArg >= args.size()) continue;  // no argument left: nothing
        // Widths are capped; so is the precision of numbers, while a text's
        // precision only ever shortens it.
        piece.width = std::min(piece.width, kMaxFormatField);
        const FormatArg& arg = args[nextArg++];
        switch (piece.conversion) {
            case 's':
                appendText(out, arg, piece);
                break;
            case 'c':
                appendCharacter(out, arg, piece);
                break;
            default:
                appendInteger(out, piece.conversion, arg.asNumber(), piece);
                break;
        }
    }
    return out;
}

}  // namespace tcmap
