#include "app/save_vector_map.h"

#include <string>

#include "i18n/language_pack.h"
#include "render/canvas/drawing_tape.h"

namespace tcmap {

std::string saveVectorMap(const DrawingTape* drawing, const LanguagePack& lang,
                          const std::string& destination, VectorFormat format, int* writeError) {
    if (drawing == nullptr) return lang.text(TextId::NoMapToSave);
    const VectorWriteReport report = writeVectorMap(*drawing, destination, format);
    if (writeError != nullptr) *writeError = report.writeError;
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
