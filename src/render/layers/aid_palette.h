// How each forecast aid is drawn in the model spaghetti: one fixed
// colour-blind-safe qualitative palette, a fixed colour for the well-known
// models and a colour from a hash of the name for the others, so an aid has
// the same colour on every map whatever else is drawn. Colours are program
// colours (0x00BBGGRR); convert them with toArgb before drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tcmap {

// Paul Tol's "light" qualitative scheme (Tol, "Colour Schemes", SRON technical
// note SRON/EPS/TN/09-002, personal.sron.nl/~pault), without its pale grey,
// which is too close to the official forecast's white. Light colours stand out
// on the dark blue and green of the bundled world map.
extern const std::array<uint32_t, 8> kAidPalette;

enum class AidLineWeight { Thin, Normal, Thick, Thickest };

struct AidLook {
    uint32_t colour = 0;    // program colour
    uint32_t alpha = 255;   // 0 transparent .. 255 opaque
    bool outlined = false;  // draw a wider line in `outline` beneath it first
    uint32_t outline = 0;   // program colour
    AidLineWeight weight = AidLineWeight::Normal;
    bool dashed = false;  // an early-cycle (interpolated) aid
};

// The look of an aid (technique name, any case):
// - the official forecast (OFCL, OFCP, JTWC): white with a black outline,
//   thickest, so it reads on the dark map and over every model colour;
// - an ensemble member: its ensemble mean's colour, thin and translucent;
//   the mean itself is thick;
// - an early-cycle aid: its source's colour (AVNI as AVNO), dashed;
// - well-known models a fixed palette colour, any other aid the palette
//   colour of a hash of its name (FNV-1a), never of the order it is met in.
AidLook aidLook(std::string_view technique);

}  // namespace tcmap
