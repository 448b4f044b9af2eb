// The work no draw job can avoid without a cache: decoding the map picture and
// encoding the output picture as PNG. Prints both times (medians) so that a
// job's time can be set against them on the same machine in the same run.
//
// Usage: map_floor <map picture> <output PNG of the job> [repetitions]
//   prints: decode_ms <ms> encode_ms <ms>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/canvas/picture.h"
#include "render/canvas/png_codec.h"

using namespace tcmap;

namespace {

template <typename Work>
double medianMs(int repetitions, Work work) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_floor <map picture> <output PNG> [repetitions]\n");
        return 2;
    }
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    Picture output;
    if (!output.loadFile(argv[2])) {
        std::fprintf(stderr, "map_floor: cannot read %s\n", argv[2]);
        return 1;
    }
    bool ok = true;
    const double decode = medianMs(repetitions, [&] {
        Picture map;
        ok = map.loadFile(argv[1]) && ok;
    });
    std::vector<uint8_t> png;
    const double encode = medianMs(repetitions, [&] {
        ok = encodePng(output.pixels(), output.width(), output.height(), png) == 0 && ok;
    });
    if (!ok) {
        std::fprintf(stderr, "map_floor: decode or encode failed\n");
        return 1;
    }
    std::printf("decode_ms %.1f encode_ms %.1f\n", decode, encode);
    return 0;
}
