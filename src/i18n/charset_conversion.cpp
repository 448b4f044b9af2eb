#include "i18n/charset_conversion.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace tcmap {

namespace {

bool usableCharsetName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// One iconv descriptor, closed on every path.
class IconvHandle {
  public:
    IconvHandle(std::string_view to, std::string_view from)
        : cd_(iconv_open(std::string(to).c_str(), std::string(from).c_str())) {}
    ~IconvHandle() {
        if (valid()) iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

constexpr size_t kFailed = static_cast<size_t>(-1);

}  // namespace

std::optional<std::string> convertCharset(std::string_view text, std::string_view fromCharset,
                                          std::string_view toCharset) {
    if (!usableCharsetName(fromCharset) || !usableCharsetName(toCharset)) return std::nullopt;
    IconvHandle handle(toCharset, fromCharset);
    if (!handle.valid()) return std::nullopt;

    // No character set here grows a text more than eightfold (one byte to a
    // UTF-32 unit, plus a byte-order mark); past that something is wrong.
    const size_t limit = text.size() * 8 + 64;
    std::string out(text.size() * 2 + 16, '\0');
    size_t used = 0;
    const auto grow = [&] {
        if (out.size() >= limit) return false;
        out.resize(std::min(out.size() * 2, limit));
        return true;
    };

    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t result = iconv(handle.get(), &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        used = static_cast<size_t>(outPtr - out.data());
        // EILSEQ (invalid sequence) and EINVAL (cut short) end the conversion.
        if (result == kFailed && (error != E2BIG || !grow())) return std::nullopt;
    }
    // Flush the shift state of stateful character sets.
    for (;;) {
        char* outPtr = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t result = iconv(handle.get(), nullptr, nullptr, &outPtr, &outLeft);
        const int error = errno;
        used = static_cast<size_t>(outPtr - out.data());
        if (result != kFailed) break;
        if (error != E2BIG || !grow()) return std::nullopt;
    }
    out.resize(used);
    return out;
}

std::string toUtf8(std::string_view text, std::string_view charset) {
    return convertCharset(text, charset, "UTF-8").value_or(std::string());
}

size_t codePageLength(std::string_view utf8Text) {
    if (const auto encoded = convertCharset(utf8Text, "UTF-8", "GB18030")) return encoded->size();
    return utf8Text.size();
}

}  // namespace tcmap
