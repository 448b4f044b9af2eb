// The size a PNG, JPEG or BMP file declares in its header, read without
// decoding anything: a picture too large to be worth decoding is refused
// before any pixel memory is taken.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tcmap {

struct PictureSize {
    int64_t width = 0;
    int64_t height = 0;
    int64_t pixels() const { return width * height; }
};

// Most pixels a map picture may have unless the start-up options say
// otherwise: far above the bundled 7200 x 3600 world map.
inline constexpr int64_t kDefaultMapPixelLimit = 100'000'000;

// From the first bytes of a file (the whole header; for JPEG, up to its frame
// header). Nothing when the format is unknown or the header is not there.
std::optional<PictureSize> declaredPictureSize(std::span<const uint8_t> head);

// The same from a file, reading only as far as the header.
std::optional<PictureSize> declaredPictureSizeOfFile(const std::string& path);

}  // namespace tcmap
