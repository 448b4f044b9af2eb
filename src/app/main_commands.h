// The rules behind the main window's commands that need no window: the title,
// the region answer, the stored background colour and the auto-draw choice.
// The Qt window calls these and only shows what they return.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/draw_mode.h"

namespace tcmap {

class LanguagePack;

// What the main window's title shows.
struct TitleState {
    bool jobRunning = false;
    std::string programVersion;
    const std::vector<std::string>& trackFiles;
    const std::string& mapPath;  // the current style's map
};

// "[<Drawing>] " while a job runs, then "<ProgramName> <version> -
// <TitleTrackFiles>: ", the first track file (with TitleFileCount filled with
// the file count when there are several) or TitleNone, " - <TitleMap>: " and
// the current style's map path or TitleNone.
std::string mainWindowTitle(const TitleState& state, const LanguagePack& lang);

// A region typed into the region prompt.
struct RegionChoice {
    std::vector<std::string> parts;  // the four parts as entered
    std::string stored;              // "%.13g" of each part, joined by ","
};

// Four comma-separated parts whose third and fourth read as numbers above
// 1e-7; anything else gives nullopt.
std::optional<RegionChoice> parseRegion(std::string_view entered);

// The designed background colour of the drawing panel, (15, 23, 31).
inline constexpr uint32_t kDesignedBackground = 15u | (23u << 8) | (31u << 16);

// A stored "R,G,B" as a program colour (0x00BBGGRR), each part read as an
// integer and cut to its low 8 bits; nullopt with fewer than three parts.
std::optional<uint32_t> parseBackgroundColour(std::string_view stored);

// "R,G,B" in decimal, as the background colour is stored (without quotes).
std::string backgroundColourText(uint32_t colour);

// The auto-draw items: 0 off, then the draw modes 1 Normal, 2 Regional,
// 3 Global. A stored value that is not 1, 2 or 3 means off.
inline constexpr int kAutoDrawOff = 0;
inline constexpr int kAutoDrawNormal = 1;
inline constexpr int kAutoDrawRegional = 2;
inline constexpr int kAutoDrawGlobal = 3;
int autoDrawItem(std::string_view stored);

// The draw mode an auto-draw item starts; nullopt for off.
std::optional<DrawMode> autoDrawMode(int item);

}  // namespace tcmap
