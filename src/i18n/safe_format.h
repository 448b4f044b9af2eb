// printf-style formatting for every format text that comes from a language
// file, a settings file or a user. Whatever the format holds, the result is
// text: nothing reads an argument that is not there or writes out of bounds.
//
//   conversions  %d %i %u %x %X %o %c %s and %%
//   flags        - + space # 0; a width and a precision, capped at
//                kMaxFormatField (a text's precision only shortens it and is
//                not capped); length modifiers h hh l ll z j t L are ignored
//   arguments    integers or texts; a text given to a number conversion reads
//                as its leading number ("12abc" -> 12), a number given to %s is
//                written in decimal
//   otherwise    a placeholder without an argument left yields nothing; an
//                unknown conversion (%n, %f, %p, a "*" width, a lone % ...) is
//                copied as it stands and takes no argument
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace tcmap {

inline constexpr int kMaxFormatField = 1024;

// One argument: an integer or a text.
class FormatArg {
  public:
    template <std::integral T>
    FormatArg(T value) : number_(static_cast<int64_t>(value)), isNumber_(true) {}
    FormatArg(std::string text) : text_(std::move(text)) {}
    FormatArg(std::string_view text) : text_(text) {}
    FormatArg(const char* text) : text_(text != nullptr ? text : "") {}

    bool isNumber() const { return isNumber_; }
    // The value as a number (a text reads as its leading integer).
    int64_t asNumber() const;
    // The value as a text (a number in decimal).
    std::string asText() const;

  private:
    int64_t number_ = 0;
    std::string text_;
    bool isNumber_ = false;
};

std::string safeFormat(std::string_view format, std::span<const FormatArg> args);

inline std::string safeFormat(std::string_view format, std::initializer_list<FormatArg> args) {
    return safeFormat(format, std::span<const FormatArg>(args.begin(), args.size()));
}

}  // namespace tcmap
