#include "app/map_file.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "app/gis_format.h"
#include "app/save_gis_map.h"
#include "app/save_vector_map.h"
#include "base/output_file.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_output.h"
#include "render/draw.h"

namespace tcmap {

std::string writeMapFile(const DrawResult& result, const std::string& path,
                         const LanguagePack& lang) {
    if (!result.drawn()) return failureReason(result);
    if (isGisOutput(path)) {
        const std::string failure = saveGisMap(result, path);
        return failure.empty() ? failure : "the GIS file could not be written: " + failure;
    }
    if (const VectorFormat vector = vectorFormatOf(path); vector != VectorFormat::None) {
        const std::string failure = saveVectorMap(result.tape.get(), lang, path, vector);
        return failure.empty() ? failure : "the vector map could not be written (" + failure + ")";
    }
    std::vector<uint8_t> png;
    if (result.picture.encode(kPngFormatId, png) != 0) return "the PNG could not be encoded";
    int error = 0;
    if (!writeOutputFile(path,
                         std::string_view(reinterpret_cast<const char*>(png.data()), png.size()),
                         &error)) {
        return std::string("cannot write it: ") + std::strerror(error);
    }
    return {};
}

std::string failureReason(const DrawResult& result) {
    std::string reason;
    for (const DrawMessage& message : result.messages) {
        if (message.kind != MessageKind::Warning) continue;
        std::string text = message.text;
        for (char& c : text) {
            if (c == '\r' || c == '\n') c = ' ';
        }
        if (!reason.empty()) reason += "; ";
        reason += text;
    }
    return reason.empty() ? std::string("no map was drawn") : reason;
}

}  // namespace tcmap
