#include "app/save_vector_map.h"

#include <string>

#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/canvas/drawing_tape.h"

namespace tcmap {

namespace {

constexpr int kTextNothingToSave = 31;
// "the vector file would be larger than 256 MB; nothing was written"
constexpr int kTextVectorTooLarge = 201;

}  // namespace

std::string saveVectorMap(const AppState& app, const LanguagePack& lang,
                          const std::string& destination, VectorFormat format) {
    if (!app.lastDrawing) return lang.text(kTextNothingToSave);
    const VectorWriteReport report = writeVectorMap(*app.lastDrawing, destination, format);
    switch (report.result) {
        case VectorWriteResult::Written:
            return std::string();
        case VectorWriteResult::TooLarge:
            return lang.text(kTextVectorTooLarge);
        case VectorWriteResult::NothingDrawn:
            return lang.text(kTextNothingToSave);
        case VectorWriteResult::NotWritten:
            break;
    }
    return std::to_string(report.status);
}

}  // namespace tcmap
