#include "render/layers/aid_palette.h"

#include <string>
#include <utility>

#include "render/canvas/canvas.h"
#include "track/forecast_aids.h"

namespace tcmap {

const std::array<uint32_t, 8> kAidPalette = {
    rgb(0x77, 0xAA, 0xDD),  // 0 light blue
    rgb(0x99, 0xDD, 0xFF),  // 1 light cyan
    rgb(0x44, 0xBB, 0x99),  // 2 mint
    rgb(0xBB, 0xCC, 0x33),  // 3 pear
    rgb(0xAA, 0xAA, 0x00),  // 4 olive
    rgb(0xEE, 0xDD, 0x88),  // 5 light yellow
    rgb(0xEE, 0x88, 0x66),  // 6 orange
    rgb(0xFF, 0xAA, 0xBB),  // 7 pink
};

namespace {

constexpr uint32_t kWhite = rgb(255, 255, 255);
constexpr uint32_t kBlack = rgb(0, 0, 0);
constexpr uint32_t kMemberAlpha = 96;

// The models drawn on most maps, with their ensembles' means, get a colour of
// their own; the palette is too small for every aid, so the rest share by hash.
constexpr std::array<std::pair<std::string_view, size_t>, 18> kFixedColours = {{
    {"AVNO", 0},
    {"AEMN", 0},  // GFS
    {"EMX", 6},
    {"ECMF", 6},
    {"EEMN", 6},  // ECMWF
    {"EGRR", 2},
    {"UKM", 2},
    {"UKX", 2},
    {"UEMN", 2},  // UKMET
    {"CMC", 7},
    {"CEMN", 7},  // Canadian
    {"NVGM", 4},
    {"NGX", 4},
    {"NEMN", 4},  // Navy
    {"HWRF", 1},
    {"HMON", 3},
    {"HFSA", 5},
    {"HFSB", 4},  // hurricane models
}};

// FNV-1a, 32 bits: fixed by its definition, unlike std::hash.
uint32_t nameHash(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

uint32_t familyColour(std::string_view family) {
    for (const auto& [name, index] : kFixedColours) {
        if (name == family) return kAidPalette[index];
    }
    return kAidPalette[nameHash(family) % kAidPalette.size()];
}

}  // namespace

AidLook aidLook(std::string_view technique) {
    const AidInfo info = aidInfo(technique);
    AidLook look;
    look.dashed = info.interpolated;
    if (info.group == AidGroup::Official) {
        look.colour = kWhite;
        look.outlined = true;
        look.outline = kBlack;
        look.weight = info.interpolated ? AidLineWeight::Normal : AidLineWeight::Thickest;
        return look;
    }
    // Members and early-cycle aids take the colour of what they belong to.
    const std::string& family = info.source.empty() ? info.name : info.source;
    look.colour = familyColour(family);
    if (info.ensembleMember) {
        look.weight = AidLineWeight::Thin;
        look.alpha = kMemberAlpha;
    } else if (info.group == AidGroup::Means && !info.interpolated) {
        look.weight = AidLineWeight::Thick;
    }
    return look;
}

}  // namespace tcmap
