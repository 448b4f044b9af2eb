// Settings and language texts are looked up one value at a time, each lookup
// reading the file: measures one read from a typical 200-line file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "base/file_io.h"
#include "config/profile_store.h"

namespace {

std::string makeFile(bool crlf) {
    const char* eol = crlf ? "\r\n" : "\n";
    std::string text;
    for (int section = 0; section < 4; ++section) {
        text += "[Section" + std::to_string(section) + "]" + eol;
        for (int key = 0; key < 49; ++key) {
            text += "Key" + std::to_string(key) + " = \"a value of typical length, " +
                    std::to_string(key * 31) + "\"" + eol;
        }
    }
    std::string path = "/tmp/tcmap-bench-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd >= 0) ::close(fd);
    tcmap::writeFileReplacing(path, text);
    return path;
}

void readLastKey(benchmark::State& state) {
    const std::string path = makeFile(state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tcmap::ProfileStore::read(path, "section3", "KEY48", ""));
    }
    ::unlink(path.c_str());
}
BENCHMARK(readLastKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void readMissingKey(benchmark::State& state) {
    const std::string path = makeFile(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tcmap::ProfileStore::read(path, "Section1", "Nothing", "d"));
    }
    ::unlink(path.c_str());
}
BENCHMARK(readMissingKey)->Unit(benchmark::kMicrosecond);

void writeOneKey(benchmark::State& state) {
    const std::string path = makeFile(true);
    int counter = 0;
    for (auto _ : state) {
        tcmap::ProfileStore::write(path, "Section2", "Key10", std::to_string(++counter));
    }
    ::unlink(path.c_str());
}
BENCHMARK(writeOneKey)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
