#include "app/gis_writer.h"

#include <fcntl.h>
#include <gdal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/gdal_dataset_writer.h"
#include "app/gdal_on_demand.h"
#include "app/geojson_writer.h"

namespace tcmap {

namespace {

namespace fs = std::filesystem;

// A name beside the destination that no other write uses.
std::string temporaryName(const fs::path& destination, GisFormat format) {
    static std::atomic<unsigned> counter{0};
    std::string name = "." + destination.filename().string() + ".part-" + std::to_string(getpid()) +
                       "-" + std::to_string(++counter);
    // Drivers that pick the kind of file by its name see the right ending;
    // a shapefile folder has none, or the driver would make a single file.
    switch (format) {
        case GisFormat::GeoJson:
            name += ".geojson";
            break;
        case GisFormat::Kml:
            name += ".kml";
            break;
        case GisFormat::Kmz:
            name += ".kmz";
            break;
        case GisFormat::GeoPackage:
            name += ".gpkg";
            break;
        case GisFormat::ShapefileZip:
            name += ".shp.zip";
            break;
        case GisFormat::ShapefileFolder:
        case GisFormat::None:
            break;
    }
    return (destination.parent_path() / name).string();
}

// Whether a folder holds only what a shapefile folder of ours holds, so
// replacing it loses nothing else.
bool holdsOnlyShapefiles(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() ||
            (ext != ".shp" && ext != ".shx" && ext != ".dbf" && ext != ".prj" && ext != ".cpg")) {
            return false;
        }
    }
    return !error;
}

// Why `destination` cannot take the output, or "".
std::string checkDestination(const fs::path& destination, GisFormat format) {
    const fs::path folder = destination.parent_path();
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return "the folder " + folder.string() + " does not exist";
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return "cannot write into the folder " + folder.string() + ": " + std::strerror(errno);
    }
    std::error_code error;
    const fs::file_status status = fs::status(destination, error);
    if (!fs::exists(status)) return {};
    if (format == GisFormat::ShapefileFolder) {
        if (!fs::is_directory(status)) {
            return destination.string() + " is not a folder; a shapefile output is a folder";
        }
        if (!holdsOnlyShapefiles(destination)) {
            return destination.string() + " holds files other than shapefiles; it is not replaced";
        }
        return {};
    }
    if (!fs::is_regular_file(status)) return destination.string() + " is not a regular file";
    return {};
}

// The temporary file or folder takes the destination's name in one step.
std::string moveIntoPlace(const std::string& temporary, const fs::path& destination,
                          GisFormat format) {
    std::error_code error;
    if (format == GisFormat::ShapefileFolder && fs::is_directory(destination, error)) {
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(),
                        RENAME_EXCHANGE) != 0) {
            return "cannot replace " + destination.string() + ": " + std::strerror(errno);
        }
        fs::remove_all(temporary, error);  // now the old folder
        return {};
    }
    if (std::rename(temporary.c_str(), destination.c_str()) != 0) {
        return "cannot replace " + destination.string() + ": " + std::strerror(errno);
    }
    return {};
}

std::string writeInto(const std::string& temporary, const std::vector<GisLayer>& layers,
                      GisFormat format, size_t threads) {
    if (format == GisFormat::GeoJson) return writeGeoJsonFile(temporary, layers, threads);
    std::vector<LayerPlan> plans;
    for (const GisLayer& layer : layers) plans.push_back(planOf(layer));
    return writeDataset(temporary, plans, format);
}

// GDAL and its drivers, loaded once; "" when they are there.
std::string loadGdalDrivers() {
    if (std::string problem = openGdalOnDemand(); !problem.empty()) return problem;
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    return {};
}

}  // namespace

GisWriterWarmUp::GisWriterWarmUp() {
    try {
        thread_ = std::thread([] { loadGdalDrivers(); });
    } catch (const std::system_error&) {
        // No thread to be had: the writer loads GDAL itself when it starts.
    }
}

GisWriterWarmUp::~GisWriterWarmUp() {
    if (thread_.joinable()) thread_.join();
}

size_t gisWriterThreads() {
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
}

std::string writeGisFile(const std::vector<GisLayer>& layers, const std::string& path,
                         GisFormat format, size_t threads) {
    if (format == GisFormat::None) return "not a GIS file name";
    if (std::string problem = loadGdalDrivers(); !problem.empty()) return problem;
    fs::path destination = fs::absolute(path);
    // A link leads to the file it names, which is replaced.
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(destination, linkError))) {
        destination = fs::weakly_canonical(destination, linkError);
    }
    if (std::string refusal = checkDestination(destination, format); !refusal.empty()) {
        return refusal;
    }
    QuietGdalErrors quiet;
    const std::string temporary = temporaryName(destination, format);
    std::string failure = writeInto(temporary, layers, format, threads);
    if (failure.empty()) failure = moveIntoPlace(temporary, destination, format);
    if (!failure.empty()) {
        std::error_code ignored;
        fs::remove_all(temporary, ignored);
    }
    return failure;
}

}  // namespace tcmap
