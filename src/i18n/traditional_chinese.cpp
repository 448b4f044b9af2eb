#include "i18n/traditional_chinese.h"

#include <iconv.h>

#include <algorithm>

#include "base/utf8_text.h"
#include "i18n/gbk_big5_table.h"

namespace tcmap {

namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // One character's bytes converted; the number of output bytes, 0 on failure.
    size_t convert(std::string_view in, char* out, size_t outSize) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = out;
        size_t outLeft = outSize;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0) {
            return 0;
        }
        return outSize - outLeft;
    }

  private:
    iconv_t cd_;
};

bool hasNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string toTraditionalChinese(std::string_view text) {
    if (!hasNonAscii(text)) return std::string(text);
    Converter toGbk("GBK", "UTF-8");
    Converter fromBig5("UTF-8", "BIG5");
    if (!toGbk.valid() || !fromBig5.valid()) return std::string(text);

    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = std::max<size_t>(utf8SequenceLength(text, pos), 1);
        const std::string_view character = text.substr(pos, length);
        pos += length;
        if (length == 1) {  // ASCII, or a byte that is not UTF-8
            out += character;
            continue;
        }
        char gbk[8];
        char big5[2];
        char utf8[8];
        size_t converted = 0;
        if (toGbk.convert(character, gbk, sizeof gbk) == 2) {
            const int cell =
                gbkCellIndex(static_cast<uint8_t>(gbk[0]), static_cast<uint8_t>(gbk[1]));
            const uint16_t code = cell < 0 ? 0 : kGbkToBig5[static_cast<size_t>(cell)];
            if (code != 0) {
                big5[0] = static_cast<char>(code >> 8);
                big5[1] = static_cast<char>(code & 0xFF);
                converted = fromBig5.convert(std::string_view(big5, 2), utf8, sizeof utf8);
            }
        }
        if (converted > 0) {
            out.append(utf8, converted);
        } else {
            out += character;
        }
    }
    return out;
}

}  // namespace tcmap
