#include "app/save_vector_map.h"

#include <string>

#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/canvas/drawing_tape.h"

namespace tcmap {

std::string saveVectorMap(const AppState& app, const LanguagePack& lang,
                          const std::string& destination, VectorFormat format) {
    if (!app.lastDrawing) return lang.text(TextId::NoMapToSave);
    const VectorWriteReport report = writeVectorMap(*app.lastDrawing, destination, format);
    switch (report.result) {
        case VectorWriteResult::Written:
            return std::string();
        case VectorWriteResult::TooLarge:
            return lang.text(TextId::VectorMapTooLarge);
        case VectorWriteResult::NothingDrawn:
            return lang.text(TextId::NoMapToSave);
        case VectorWriteResult::NotWritten:
            break;
    }
    return std::to_string(report.status);
}

}  // namespace tcmap
