// The settings store on any file: reads of keys that real settings use, then
// a write, which must read back as written and leave every other key as it
// read before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/profile_store.h"
#include "fuzz_scratch.h"

namespace {

constexpr const char* kSections[] = {"Borvane4", "tmp", "lang_list", "Language", "x"};
constexpr const char* kKeys[] = {"Mode", "Map1", "name", "List", "Select", "k"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using tcmap::ProfileStore;
    if (size == 0) return 0;
    // The first byte chooses the key written; the rest is the file.
    const uint8_t choice = data[0];
    const std::string file = tcmap::fuzz::ScratchFolder::instance().put(
        "Settings.ini", tcmap::fuzz::asText(data + 1, size - 1));

    std::string before[std::size(kSections)][std::size(kKeys)];
    for (size_t s = 0; s < std::size(kSections); ++s) {
        for (size_t k = 0; k < std::size(kKeys); ++k) {
            before[s][k] = ProfileStore::read(file, kSections[s], kKeys[k], "<none>");
        }
    }

    const size_t ws = choice % std::size(kSections);
    const size_t wk = (choice / std::size(kSections)) % std::size(kKeys);
    const std::string value = "written " + std::to_string(choice);
    if (!ProfileStore::write(file, kSections[ws], kKeys[wk], value)) return 0;

    for (size_t s = 0; s < std::size(kSections); ++s) {
        for (size_t k = 0; k < std::size(kKeys); ++k) {
            const std::string after = ProfileStore::read(file, kSections[s], kKeys[k], "<none>");
            const bool written = s == ws && k == wk;
            if (after != (written ? value : before[s][k])) std::abort();
        }
    }
    return 0;
}
