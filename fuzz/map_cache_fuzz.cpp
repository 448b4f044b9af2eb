// The map cache's reader of its own files, given damaged ones: a real cache
// file is made once from a small map, then each input replaces it, patches
// it or cuts it short, and a fresh cache loads the map. Whatever the file
// holds, the pixels shown are the map's own.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "fuzz_scratch.h"
#include "render/canvas/decoded_map_cache.h"
#include "render/canvas/picture.h"

namespace {

using namespace tcmap;

struct CacheFixture {
    std::string map;
    std::string folder;
    std::string cacheFile;
    std::string good;
    std::vector<uint32_t> pixels;

    CacheFixture() {
        const auto& scratch = fuzz::ScratchFolder::instance();
        map = scratch.path() + "/map.png";
        folder = scratch.path() + "/cache";
        Picture picture;
        if (picture.create(131, 67, 0xFF000000, kPngFormatId) != 0) std::abort();
        for (int i = 0; i < 131 * 67; ++i) picture.pixels()[i] = 0xFF000000u | uint32_t(i * 7919);
        if (picture.save(map, kPngFormatId) != 0) std::abort();
        const timespec old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
        ::utimensat(AT_FDCWD, map.c_str(), old, 0);
        Picture decoded;
        if (!decoded.loadFile(map)) std::abort();
        pixels.assign(decoded.pixels(), decoded.pixels() + 131 * 67);
        MapCache cache(folder);
        Picture loaded;
        if (!cache.load(loaded, map)) std::abort();
        cache.finishWrites();
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".pixels") cacheFile = entry.path().string();
        good = readFileOrEmpty(cacheFile);
        if (good.empty()) std::abort();
    }
};

uint32_t word(const uint8_t* data) {
    return uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
           uint32_t(data[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CacheFixture fixture;
    if (size < 5) return 0;
    std::string bytes = fixture.good;
    const size_t at = word(data + 1) % (bytes.size() + 1);
    const std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
    switch (data[0] % 3) {
        case 0:  // replaced
            bytes.assign(rest);
            break;
        case 1:  // patched in place
            for (size_t i = 0; i < rest.size() && at + i < bytes.size(); ++i)
                bytes[at + i] ^= rest[i];
            break;
        default:  // cut short
            bytes.resize(at);
            break;
    }
    if (!writeFileReplacing(fixture.cacheFile, bytes)) std::abort();
    MapCache cache(fixture.folder);
    Picture picture;
    if (!cache.load(picture, fixture.map)) std::abort();
    const uint32_t* pixels = picture.pixels();
    if (pixels == nullptr || !std::equal(fixture.pixels.begin(), fixture.pixels.end(), pixels))
        std::abort();
    cache.finishWrites();
    return 0;
}
