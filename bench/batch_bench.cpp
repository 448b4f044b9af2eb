// Whole draw jobs on the 7200 x 3600 world map, timed beside the work no run
// can avoid: decoding the map picture and encoding the output PNG.
//
//   batch Normal runs (the job, then the PNG saved at the output path) of the
//   2014 western-Pacific season (23 files), one Atlantic storm and all 37
//   storms of the 2021-2022 Atlantic seasons, in both render styles;
//   Global jobs of the same files; a TCV Global job of an 85 000-line
//   forecast file.
//
// Usage: batch_bench [repetitions]   (the best of the repetitions is shown)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/batch_run.h"
#include "app/draw_setup.h"
#include "app/startup_state.h"
#include "base/file_io.h"
#include "render/canvas/font_aliases.h"
#include "render/canvas/picture.h"
#include "render/draw.h"

using namespace tcmap;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kSource = TCMAP_SOURCE_DIR;
const std::string kRunDir = TCMAP_RUN_DIR;

struct NullBuffer : std::streambuf {
    int overflow(int c) override { return c; }
};

struct NullProgress : DrawProgress {
    void message(const DrawMessage&) override {}
    void infoLine(const StormStatistics&, const std::string*) override {}
};

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double bestOf(int repetitions, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, secondsSince(start));
    }
    return best;
}

std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".dat") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The bundled world map, or a generated picture of the same size while the
// run folder has none.
std::string worldMap(const std::string& scratchFolder) {
    const std::string bundled = kRunDir + "/maps/world.png";
    if (isRegularFile(bundled)) return bundled;
    const std::string generated = scratchFolder + "/world.png";
    Picture map;
    map.create(7200, 3600, 0xFF0A285A, kPngFormatId);
    for (int y = 0; y < 3600; ++y) {
        for (int x = 0; x < 7200; ++x) {
            // Land-like blocks and a gradient, so the PNG is not trivially small.
            const bool land = ((x / 300) + (y / 200)) % 5 == 0;
            map.pixels()[size_t(y) * 7200 + size_t(x)] =
                land ? 0xFF3C6E28u : 0xFF000000u | uint32_t(10 + y % 40) << 16 | 0x285A;
        }
    }
    map.save(generated, kPngFormatId);
    std::printf("(no bundled map yet: using a generated 7200 x 3600 picture)\n");
    return generated;
}

struct Bench {
    std::string scratch;
    std::string map;
    int repetitions = 3;

    std::string settingsFor(bool tcv) const {
        const std::string path = scratch + (tcv ? "/tcv.ini" : "/wendrel.ini");
        writeFileReplacing(path, std::string("[Borvane4]\nMode=") + (tcv ? "1" : "0") + "\nMap=\"" +
                                     map + "\"\nMap1=\"" + map +
                                     "\"\nDrawLegends=5\nDrawLegends1=5\n");
        return path;
    }

    BatchRun batchOf(bool tcv, const std::vector<std::string>& files) const {
        BatchRun run;
        run.paths.runFolder = kRunDir;
        run.paths.settingsPath = settingsFor(tcv);
        run.language = readLanguageChoice(kRunDir);
        run.style.tcv = tcv;
        run.style.mapPath = run.style.mapPath1 = map;
        run.trackFiles = files;
        return run;
    }

    // Decoding the map and encoding (and writing) a PNG of the output's size.
    double unavoidable(const std::string& outputPng) const {
        Picture output;
        if (!output.loadFile(outputPng)) return -1;
        const std::string path = scratch + "/unavoidable.png";
        return bestOf(repetitions, [&] {
            Picture decoded;
            decoded.loadFile(map);
            std::vector<uint8_t> png;
            output.encode(kPngFormatId, png);
            writeFileReplacing(path, {reinterpret_cast<const char*>(png.data()), png.size()});
        });
    }

    void batchRun(const std::string& name, bool tcv, const std::vector<std::string>& files) {
        const std::string out = scratch + "/out.png";
        NullBuffer nothing;
        std::ostream quiet(&nothing);
        int code = -1;
        const double run = bestOf(repetitions, [&] {
            BatchRun batch = batchOf(tcv, files);
            batch.outputPath = out;
            code = runBatch(batch, quiet);
        });
        report("batch " + name + (tcv ? ", TCV" : ", Wendrel"), run, code == 0 ? out : "");
    }

    void globalJob(const std::string& name, bool tcv, const std::vector<std::string>& files) {
        const std::string out = scratch + "/global.png";
        const double run = bestOf(repetitions, [&] {
            const BatchRun batch = batchOf(tcv, files);
            DrawRequest request =
                makeDrawRequest(batch.paths, batch.language, batch.style, DrawMode::Global);
            request.tracks = trackFileInputs(files);
            NullProgress progress;
            const DrawResult result = draw(request, progress);
            // The window keeps a Global map on a PNG map as a PNG.
            if (result.drawn()) result.picture.save(out, kPngFormatId);
        });
        report("Global " + name + (tcv ? ", TCV" : ", Wendrel"), run, out);
    }

    void report(const std::string& name, double run, const std::string& outputPng) {
        Picture output;
        const bool drawn = !outputPng.empty() && output.loadFile(outputPng);
        const double base = drawn ? unavoidable(outputPng) : -1;
        if (!drawn || base <= 0) {
            std::printf("%-46s %8.3f s   (no map came out)\n", name.c_str(), run);
            return;
        }
        std::printf("%-46s %8.3f s   decode+encode %6.3f s   ratio %4.2f   %d x %d\n", name.c_str(),
                    run, base, run / base, output.width(), output.height());
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Bench bench;
    if (argc > 1) bench.repetitions = std::max(1, std::atoi(argv[1]));
    std::string folder = (fs::temp_directory_path() / "tcmap-batch-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return 1;
    bench.scratch = folder;
    bench.map = worldMap(folder);
    loadFontAliases(kRunDir);

    const std::vector<std::string> season = filesIn(kSource + "/tests/data/track/atcf", "bwp");
    const std::vector<std::string> storm = {kSource + "/bench/data/bal092022.dat"};
    const std::vector<std::string> atlantic =
        filesIn(kSource + "/bench/data/atlantic-2021-2022", "bal");
    const std::vector<std::string> forecast = {kSource + "/bench/data/aal182012.fst"};
    std::printf("best of %d runs; map %s\n", bench.repetitions, bench.map.c_str());

    struct Case {
        std::string name;
        const std::vector<std::string>* files;
    };
    const Case cases[] = {
        {"WP 2014 season (" + std::to_string(season.size()) + ")", &season},
        {"Ian, AL09 2022", &storm},
        {"Atlantic 2021-22 (" + std::to_string(atlantic.size()) + ")", &atlantic}};
    for (const Case& c : cases) {
        for (const bool tcv : {false, true}) bench.batchRun(c.name, tcv, *c.files);
    }
    for (const Case& c : cases) {
        for (const bool tcv : {false, true}) bench.globalJob(c.name, tcv, *c.files);
    }
    bench.globalJob("aal182012.fst, 85 000 lines", true, forecast);

    fs::remove_all(folder);
    return 0;
}
