#include <string>

#include "base/file_io.h"
#include "base/output_file.h"
#include "render/canvas/picture.h"
#include "render/canvas/png_codec.h"

namespace tcmap {

int convertToPng(const std::string& sourcePath, const std::string& destinationPath, int depth) {
    if (sourcePath.empty() || destinationPath.empty() || depth != 24) return -7;
    if (!pathExists(sourcePath)) return -1;
    Picture picture;
    if (!picture.loadFile(sourcePath)) return -3;
    std::vector<uint8_t> png;
    if (encodePng(picture.pixels(), picture.width(), picture.height(), png) != 0) return -4;
    // A file is replaced in one step, so a failed write leaves an older
    // picture intact; a device or FIFO is written through.
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    return writeOutputFile(destinationPath, bytes) ? 1 : -4;
}

}  // namespace tcmap
