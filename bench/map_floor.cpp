// The work no draw job can avoid without a cache: decoding the map picture and
// encoding the output picture as PNG. Prints both times (medians) so that a
// job's time can be set against them on the same machine in the same run.
//
// Usage: map_floor <map picture> <output PNG of the job> [repetitions]
//   prints: decode_ms <ms> encode_ms <ms> decode_cpu_ms <ms> encode_cpu_ms <ms>
// (wall and CPU medians: on a busy machine the CPU times are the steadier).
#include <time.h>

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

double cpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Median {
    double wallMs;
    double cpuMs;
};

template <typename Work>
Median medianMs(int repetitions, Work work) {
    std::vector<double> walls, cpus;
    for (int i = 0; i < repetitions; ++i) {
        const double cpuStart = cpuMs();
        const auto start = std::chrono::steady_clock::now();
        work();
        walls.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        cpus.push_back(cpuMs() - cpuStart);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
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
    const Median decode = medianMs(repetitions, [&] {
        Picture map;
        ok = map.loadFile(argv[1]) && ok;
    });
    std::vector<uint8_t> png;
    const Median encode = medianMs(repetitions, [&] {
        ok = encodePng(output.pixels(), output.width(), output.height(), png) == 0 && ok;
    });
    if (!ok) {
        std::fprintf(stderr, "map_floor: decode or encode failed\n");
        return 1;
    }
    std::printf("decode_ms %.1f encode_ms %.1f decode_cpu_ms %.1f encode_cpu_ms %.1f\n",
                decode.wallMs, encode.wallMs, decode.cpuMs, encode.cpuMs);
    return 0;
}
