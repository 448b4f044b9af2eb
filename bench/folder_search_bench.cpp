// The subfolder search of the file chooser on a generated tree of 100 000
// track files in 10 000 folders (with a link back to the parent in every
// first-level folder), run on a worker thread while this thread reads the
// progress every 200 ms as the status label does; then sortTexts against the
// selection sort it replaces.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/file_chooser_rules.h"
#include "files/sort_texts.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void touch(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
}

// 100 season folders with 99 storm folders each (10 000 folders); 10 track
// files per season folder and 10 per storm folder (100 000 files), plus a
// picture per storm folder that the search skips.
size_t buildTree(const std::string& root) {
    static const char* const kExtensions[] = {".dat", ".fst", ".txt", ".DAT"};
    size_t files = 0;
    const auto addFiles = [&](const std::string& folder) {
        for (int i = 0; i < 10; ++i) {
            touch(folder + "/b" + std::to_string(i) + kExtensions[i % 4]);
            ++files;
        }
    };
    for (int season = 0; season < 100; ++season) {
        const std::string seasonFolder = root + "/" + std::to_string(1950 + season);
        fs::create_directories(seasonFolder);
        addFiles(seasonFolder);
        fs::create_directory_symlink("..", seasonFolder + "/up");
        for (int storm = 1; storm < 100; ++storm) {
            const std::string stormFolder = seasonFolder + "/storm" + std::to_string(storm);
            fs::create_directory(stormFolder);
            addFiles(stormFolder);
            touch(stormFolder + "/track.png");
        }
    }
    return files;
}

void runSearch(const std::string& root, const char* label) {
    std::atomic<int> state{0};
    std::atomic<size_t> found{0};
    std::vector<std::string> result;
    std::atomic<bool> done{false};
    double walkSeconds = 0;
    const Clock::time_point start = Clock::now();
    std::thread worker([&] {
        result = tcmap::searchSubfolders(root, state, found);
        done = true;
    });
    std::printf("%s search:\n", label);
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (state == tcmap::SearchSorting && walkSeconds == 0) walkSeconds = secondsSince(start);
        std::printf("  %5.1f s  state %d  %zu files found\n", secondsSince(start), state.load(),
                    found.load());
    }
    worker.join();
    std::printf("  done in %.2f s: %zu files, sorted: %s\n", secondsSince(start), result.size(),
                std::is_sorted(result.begin(), result.end()) ? "yes" : "NO");
}

void searchGeneratedTree() {
    const char* base = std::getenv("TCMAP_BENCH_DIR");
    std::string root =
        (base != nullptr ? fs::path(base) : fs::temp_directory_path()) / "tcmap-search-XXXXXX";
    if (::mkdtemp(root.data()) == nullptr) {
        std::perror("mkdtemp");
        return;
    }
    const Clock::time_point start = Clock::now();
    const size_t files = buildTree(root);
    std::printf("built %zu track files in 10000 folders under %s in %.1f s\n", files, root.c_str(),
                secondsSince(start));
    runSearch(root, "first");
    runSearch(root, "second");
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::vector<std::string> pathTexts(size_t count) {
    std::mt19937 random(7);
    std::vector<std::string> texts(count);
    for (std::string& text : texts) {
        text = "/data/storms/" + std::to_string(1950 + random() % 100) + "/b" +
               std::to_string(random()) + ".dat";
    }
    return texts;
}

void sortTextsFast(benchmark::State& state) {
    const std::vector<std::string> texts = pathTexts(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> copy = texts;
        tcmap::sortTexts(copy);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(sortTextsFast)->RangeMultiplier(4)->Range(1 << 10, 1 << 17)->Complexity();

// The selection sort sortTexts replaces, for comparison.
void sortTextsBySelection(benchmark::State& state) {
    const std::vector<std::string> texts = pathTexts(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> copy = texts;
        for (size_t i = 0; i + 1 < copy.size(); ++i) {
            size_t smallest = i;
            for (size_t j = i + 1; j < copy.size(); ++j) {
                if (tcmap::textLess(copy[j], copy[smallest])) smallest = j;
            }
            std::swap(copy[i], copy[smallest]);
        }
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(sortTextsBySelection)->RangeMultiplier(4)->Range(1 << 10, 1 << 14)->Complexity();

}  // namespace

int main(int argc, char** argv) {
    searchGeneratedTree();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
