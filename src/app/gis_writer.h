// GIS layers written to a file through GDAL/OGR. The file is made under a
// temporary name in the destination's folder and takes its name in one
// rename, so the destination holds the old file or the whole new one. A
// GeoJSON holds every layer in one collection, each feature naming its layer
// in the field "layer".
#pragma once

#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "app/gis_format.h"
#include "app/gis_layers.h"

namespace tcmap {

// Loads GDAL and its drivers on a thread of its own while a job reads and
// draws, so writing its GIS file does not wait for them (a tenth of a
// second). The destructor waits for the thread.
class GisWriterWarmUp {
  public:
    GisWriterWarmUp();
    ~GisWriterWarmUp();
    GisWriterWarmUp(const GisWriterWarmUp&) = delete;
    GisWriterWarmUp& operator=(const GisWriterWarmUp&) = delete;

  private:
    std::thread thread_;
};

// The threads a GeoJSON of many features is written with: the machine's
// cores, at most four.
size_t gisWriterThreads();

// Writes `layers` to `path`; "" on success, else why not, in one line.
// A GeoJSON is written by `threads` GDAL writers at once; the file is the same
// for any number.
std::string writeGisFile(const std::vector<GisLayer>& layers, const std::string& path,
                         GisFormat format, size_t threads = gisWriterThreads());

}  // namespace tcmap
