#include "app/main_commands.h"

#include "base/text_rules.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

std::string mainWindowTitle(const TitleState& state, const LanguagePack& lang) {
    std::string title;
    if (state.jobRunning) title += "[" + lang.text(TextId::Drawing) + "] ";
    title += lang.text(TextId::ProgramName) + " " + state.programVersion + " - " +
             lang.text(TextId::TitleTrackFiles) + ": ";
    if (state.trackFiles.empty()) {
        title += lang.text(TextId::TitleNone);
    } else {
        title += state.trackFiles.front();
        if (state.trackFiles.size() >= 2) {
            title += safeFormat(lang.text(TextId::TitleFileCount),
                                {std::to_string(state.trackFiles.size())});
        }
    }
    title += " - " + lang.text(TextId::TitleMap) + ": ";
    title += state.mapPath.empty() ? lang.text(TextId::TitleNone) : state.mapPath;
    return title;
}

std::optional<RegionChoice> parseRegion(std::string_view entered) {
    std::vector<std::string> parts = splitText(entered, ",");
    if (parts.size() != 4) return std::nullopt;
    if (!(readNumber(parts[2]) > kEpsilon) || !(readNumber(parts[3]) > kEpsilon)) {
        return std::nullopt;
    }
    RegionChoice choice;
    for (const std::string& part : parts) {
        if (!choice.stored.empty()) choice.stored += ",";
        choice.stored += formatG(readNumber(part), 13);
    }
    choice.parts = std::move(parts);
    return choice;
}

std::optional<uint32_t> parseBackgroundColour(std::string_view stored) {
    const std::vector<std::string> parts = splitText(stored, ",");
    if (parts.size() < 3) return std::nullopt;
    uint32_t colour = 0;
    for (int i = 0; i < 3; ++i) {
        const auto low = static_cast<uint32_t>(readInteger(parts[i])) & 0xFFu;
        colour |= low << (8 * i);
    }
    return colour;
}

std::string backgroundColourText(uint32_t colour) {
    return std::to_string(colour & 0xFFu) + "," + std::to_string((colour >> 8) & 0xFFu) + "," +
           std::to_string((colour >> 16) & 0xFFu);
}

int autoDrawItem(std::string_view stored) {
    const int32_t value = readInteger(stored);
    return value >= kAutoDrawNormal && value <= kAutoDrawGlobal ? value : kAutoDrawOff;
}

std::optional<DrawMode> autoDrawMode(int item) {
    switch (item) {
        case kAutoDrawNormal:
            return DrawMode::Normal;
        case kAutoDrawRegional:
            return DrawMode::Regional;
        case kAutoDrawGlobal:
            return DrawMode::Global;
        default:
            return std::nullopt;
    }
}

}  // namespace tcmap
