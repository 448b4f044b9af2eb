// A language file of any bytes, read in each of the character sets the
// language files use, and its texts used as format texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_scratch.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    const auto& scratch = fuzz::ScratchFolder::instance();
    scratch.put("xx.lang", fuzz::asText(data, size));
    for (const char* charset : {"UTF-8", "GBK", "BIG5"}) {
        for (const bool toBig5 : {false, true}) {
            const LanguagePack pack(scratch.path(), "xx", charset, toBig5);
            pack.displayName("xx");
            // Named texts, and an id no file has.
            for (const int id : {0, 1, 20, 62, 89, 152, 99999}) {
                const std::string text = pack.text(static_cast<TextId>(id));
                safeFormat(text, {"a/b.dat", int64_t{42}, -7});
            }
        }
    }
    return 0;
}
