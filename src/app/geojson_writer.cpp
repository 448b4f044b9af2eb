#include "app/geojson_writer.h"

#include <cpl_vsi.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "app/gdal_dataset_writer.h"
#include "app/geojson_parts.h"

namespace tcmap {

namespace {

// Fewer features are written at once faster than a thread starts.
constexpr size_t kFeaturesWorthParts = 2000;

struct VsiFreer {
    void operator()(GByte* bytes) const { VSIFree(bytes); }
};

// A file GDAL wrote in memory, taken out of its memory file system.
struct MemoryFile {
    std::unique_ptr<GByte, VsiFreer> bytes;
    size_t size = 0;

    std::string_view text() const {
        return {reinterpret_cast<const char*>(bytes.get()), bytes ? size : 0};
    }
};

// One run of the collection's features, written by GDAL into memory.
std::string writeGeoJsonPart(const LayerPlan& plan, const std::string& name, MemoryFile& file) {
    try {
        const QuietGdalErrors quiet;  // this thread's messages
        std::string error = writeDataset(name, {plan}, GisFormat::GeoJson);
        vsi_l_offset size = 0;
        file.bytes.reset(VSIGetMemFileBuffer(name.c_str(), &size, TRUE));
        file.size = static_cast<size_t>(size);
        if (error.empty() && !file.bytes) error = "a part written in memory was lost";
        return error;
    } catch (const std::exception& e) {
        return std::string("cannot write a part of it: ") + e.what();
    }
}

std::string writeAll(std::FILE* out, std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
        return std::string("cannot write it: ") + std::strerror(errno);
    }
    return {};
}

// The parts' collections joined into one file: the first one's header, every
// part's features, and the end.
std::string joinGeoJsonParts(const std::string& path, const std::vector<MemoryFile>& files) {
    std::vector<CollectionText> parts;
    for (const MemoryFile& file : files) {
        std::optional<CollectionText> part = collectionText(file.text());
        if (!part) return "GDAL wrote a part of it in a layout this program does not join";
        parts.push_back(*part);
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wbx"),
                                                        &std::fclose);
    if (!out) return std::string("cannot create it: ") + std::strerror(errno);
    std::string error = writeAll(out.get(), parts.front().header);
    bool first = true;
    for (const CollectionText& part : parts) {
        if (!error.empty() || part.body.empty()) continue;
        if (!first) error = writeAll(out.get(), ",\n");
        if (error.empty()) error = writeAll(out.get(), part.body);
        first = false;
    }
    if (error.empty()) error = writeAll(out.get(), kCollectionEnd);
    if (std::fclose(out.release()) != 0 && error.empty()) {
        error = std::string("cannot write it: ") + std::strerror(errno);
    }
    return error;
}

}  // namespace

std::string writeGeoJsonFile(const std::string& path, const std::vector<GisLayer>& layers,
                             size_t threads) {
    const LayerPlan whole = mergedPlan(layers);
    std::vector<size_t> weights;
    for (const GisLayer& layer : layers) {
        for (const GisFeature& feature : layer.features) weights.push_back(1 + pointsOf(feature));
    }
    const std::vector<size_t> cuts = weights.size() < kFeaturesWorthParts
                                         ? std::vector<size_t>{}
                                         : balancedCuts(weights, threads);
    if (cuts.empty()) return writeDataset(path, {whole}, GisFormat::GeoJson);

    static std::atomic<unsigned> counter{0};
    const std::string stem =
        "/vsimem/tcmap-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-part";
    const size_t count = cuts.size() + 1;
    std::vector<MemoryFile> files(count);
    std::vector<std::string> errors(count);
    const auto writePart = [&](size_t k) {
        LayerPlan plan = whole;
        plan.begin = k == 0 ? 0 : cuts[k - 1];
        plan.end = k < cuts.size() ? cuts[k] : SIZE_MAX;
        errors[k] = writeGeoJsonPart(plan, stem + std::to_string(k) + ".geojson", files[k]);
    };
    std::vector<std::thread> helpers;
    for (size_t k = 1; k < count; ++k) {
        try {
            helpers.emplace_back(writePart, k);
        } catch (const std::system_error&) {
            writePart(k);  // no thread to be had: this one writes it
        }
    }
    writePart(0);
    for (std::thread& helper : helpers) helper.join();
    for (const std::string& error : errors) {
        if (!error.empty()) return error;
    }
    return joinGeoJsonParts(path, files);
}

}  // namespace tcmap
