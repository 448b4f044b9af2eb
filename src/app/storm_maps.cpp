#include "app/storm_maps.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/gis_format.h"
#include "app/map_file.h"
#include "render/canvas/vector_output.h"

namespace tcmap {

namespace {

// A drawing of one storm shows nothing while it runs: its messages are in
// its result.
class QuietProgress : public DrawProgress {
  public:
    void message(const DrawMessage&) override {}
    void infoLine(const StormStatistics&, const std::string*) override {}
};

std::string drawOne(const StormMapJob& job, const DrawRequest& base) {
    DrawRequest request = base;
    request.tracks = {TrackInput{job.storm.track->source, job.storm.track}};
    request.keepTape = vectorFormatOf(job.path) != VectorFormat::None;
    request.keepTracks = isGisOutput(job.path);
    request.makePicture = !request.keepTracks;
    QuietProgress quiet;
    const DrawResult result = draw(request, quiet);
    if (!result.drawn()) return failureReason(result);
    const std::filesystem::path folder = std::filesystem::path(job.path).parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) return "cannot create the folder " + folder.string() + ": " + error.message();
    }
    return writeMapFile(result, job.path, base.language);
}

}  // namespace

std::vector<CatalogStorm> shardOf(const std::vector<CatalogStorm>& storms, size_t index,
                                  size_t count) {
    std::vector<CatalogStorm> part;
    for (size_t k = 0; k < storms.size(); ++k) {
        if (k % count + 1 == index) part.push_back(storms[k]);
    }
    return part;
}

std::vector<ReportRow> drawStormMaps(const std::vector<StormMapJob>& jobs, const DrawRequest& base,
                                     size_t threads, const MapDone& done) {
    std::vector<ReportRow> rows(jobs.size());
    std::atomic<size_t> next{0};
    std::mutex doneMutex;
    size_t finished = 0;
    const auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            ReportRow row{stormFacts(*jobs[i].storm.track), jobs[i].path, {}};
            std::string failure;
            try {
                failure = drawOne(jobs[i], base);
            } catch (const std::exception& e) {
                failure = std::string("unexpected error: ") + e.what();
            }
            row.status = failure.empty() ? "ok" : failure;
            const std::lock_guard lock(doneMutex);
            rows[i] = row;
            if (done) done(++finished, rows[i]);
        }
    };
    std::vector<std::thread> pool;
    const size_t count = std::max<size_t>(1, std::min(threads, jobs.size()));
    for (size_t t = 1; t < count; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
    return rows;
}

}  // namespace tcmap
