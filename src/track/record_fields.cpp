#include "track/record_fields.h"

#include <algorithm>
#include <iterator>

namespace tcmap {

std::string_view textBeforeNul(std::string_view bytes) {
    const size_t nul = bytes.find('\0');
    return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

std::string_view withoutCarriageReturns(std::string_view text, std::string& storage) {
    if (text.find('\r') == std::string_view::npos) return text;
    storage.clear();
    storage.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(storage),
                 [](char c) { return c != '\r'; });
    return storage;
}

}  // namespace tcmap
