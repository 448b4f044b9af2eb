// Vector maps: a job's drawing tape written as an SVG or PDF file, the map
// picture embedded once as an image and everything drawn over it as paths
// and text, through the same Canvas code that drew the raster map.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

class DrawingTape;

enum class VectorFormat { None, Svg, Pdf };

// The vector format a path asks for by its extension (".svg", ".pdf", any
// case); None for every other path, which stays a PNG.
VectorFormat vectorFormatOf(std::string_view path);

// Largest vector file written; a larger one is given up and nothing is left.
inline constexpr uint64_t kVectorFileLimit = uint64_t{256} << 20;

enum class VectorWriteResult { Written, TooLarge, NotWritten, NothingDrawn };

struct VectorWriteReport {
    VectorWriteResult result = VectorWriteResult::NotWritten;
    uint64_t bytes = 0;  // size of the file written, or bytes reached when given up
    int32_t status = 0;  // drawing status of the replay, for the message
    int writeError = 0;  // errno of the write when the file could not be written
};

// Makes the file in memory and, when it is whole and no larger than `limit`,
// writes it to `path` as any output is written (writeOutputFile): a file is
// replaced in one step, a device or FIFO written through.
VectorWriteReport writeVectorMap(const DrawingTape& tape, const std::string& path,
                                 VectorFormat format, uint64_t limit = kVectorFileLimit);

}  // namespace tcmap
