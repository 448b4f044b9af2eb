#include "render/canvas/bmp_codec.h"

#include <algorithm>
#include <bit>
#include <new>

#include "render/canvas/canvas.h"

namespace tcmap {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint32_t kCompressionAlphaBitFields = 6;

uint32_t read16(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}
uint32_t read32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// One colour channel given by a bit mask, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t maximum = 0;

    explicit Channel(uint32_t bits) : mask(bits) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        maximum = mask >> shift;
    }
    uint32_t value(uint32_t pixel) const {
        if (maximum == 0) return 0;
        return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / maximum);
    }
};

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top-down
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kCompressionRgb;
    uint64_t coloursUsed = 0;
    size_t paletteEntrySize = 4;
    size_t paletteStart = 0;
    uint32_t masks[3] = {0, 0, 0};
};

bool readHeader(std::span<const uint8_t> bytes, Header& header) {
    const uint8_t* data = bytes.data();
    if (bytes.size() < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') return false;
    const uint64_t infoSize = read32(data + 14);
    if (infoSize < 12 || kFileHeaderSize + infoSize > bytes.size()) return false;
    const uint8_t* info = data + kFileHeaderSize;
    if (infoSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette
        header.width = read16(info + 4);
        header.height = read16(info + 6);
        header.bitsPerPixel = read16(info + 10);
        header.paletteEntrySize = 3;
    } else {
        if (infoSize < 16) return false;
        header.width = static_cast<int32_t>(read32(info + 4));
        header.height = static_cast<int32_t>(read32(info + 8));
        header.bitsPerPixel = read16(info + 14);
        if (infoSize >= 20) header.compression = read32(info + 16);
        if (infoSize >= 36) header.coloursUsed = read32(info + 32);
    }
    header.paletteStart = kFileHeaderSize + infoSize;
    if (header.compression == kCompressionBitFields ||
        header.compression == kCompressionAlphaBitFields) {
        if (header.bitsPerPixel != 16 && header.bitsPerPixel != 32) return false;
        // Masks sit inside the larger headers, or right after the 40-byte one.
        const size_t maskStart = kFileHeaderSize + kInfoHeaderSize;
        if (maskStart + 12 > bytes.size()) return false;
        for (int i = 0; i < 3; ++i) header.masks[i] = read32(data + maskStart + 4 * i);
        if (infoSize < kInfoHeaderSize + 12) {
            const size_t maskBytes = header.compression == kCompressionAlphaBitFields ? 16 : 12;
            header.paletteStart = maskStart + maskBytes;
        }
    } else if (header.compression != kCompressionRgb) {
        return false;  // run-length and embedded JPEG/PNG bitmaps are not read
    } else if (header.bitsPerPixel == 16) {
        header.masks[0] = 0x7C00;
        header.masks[1] = 0x03E0;
        header.masks[2] = 0x001F;
    } else if (header.bitsPerPixel == 32) {
        header.masks[0] = 0x00FF0000;
        header.masks[1] = 0x0000FF00;
        header.masks[2] = 0x000000FF;
    }
    switch (header.bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return false;
    }
    const int64_t rows = header.height < 0 ? -header.height : header.height;
    return pictureSizeAllowed(header.width, rows);
}

}  // namespace

bool decodeBmp(std::span<const uint8_t> bytes, PixelBuffer& out) {
    out = PixelBuffer{};
    Header header;
    if (!readHeader(bytes, header)) return false;
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    const int width = static_cast<int>(header.width);
    const bool topDown = header.height < 0;
    const int height = static_cast<int>(topDown ? -header.height : header.height);
    const uint32_t bits = header.bitsPerPixel;

    // Palette: as many entries as the header says (when it does not say, as
    // many as fit before the pixels), at most 2^bits, all inside the file.
    const uint32_t offset = read32(data + 10);
    uint32_t palette[256];
    std::fill(std::begin(palette), std::end(palette), 0xFF000000u);  // missing entries: black
    size_t paletteEnd = header.paletteStart;
    if (bits <= 8) {
        const uint64_t limit = uint64_t{1} << bits;
        uint64_t count = std::min<uint64_t>(header.coloursUsed, limit);
        if (count == 0) {
            count = limit;
            if (offset > header.paletteStart)
                count = std::min<uint64_t>(
                    limit, (offset - header.paletteStart) / header.paletteEntrySize);
        }
        const uint64_t paletteBytes = count * header.paletteEntrySize;
        if (header.paletteStart + paletteBytes > size) return false;
        for (uint64_t i = 0; i < count; ++i) {
            const uint8_t* entry = data + header.paletteStart + i * header.paletteEntrySize;
            palette[i] =
                0xFF000000u | (uint32_t(entry[2]) << 16) | (uint32_t(entry[1]) << 8) | entry[0];
        }
        paletteEnd = header.paletteStart + static_cast<size_t>(paletteBytes);
    }

    // Pixel data: where the file header points, if that is plausible.
    const size_t pixelStart =
        offset >= header.paletteStart && offset < size ? size_t{offset} : paletteEnd;
    const uint64_t rowBits = uint64_t(width) * bits;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    // The last row's padding may be missing.
    const uint64_t needed = stride * uint64_t(height - 1) + (rowBits + 7) / 8;
    if (pixelStart > size || needed > size - pixelStart) return false;

    try {
        out.pixels.resize(size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    out.width = width;
    out.height = height;
    const Channel red(header.masks[0]), green(header.masks[1]), blue(header.masks[2]);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const uint8_t* source = data + pixelStart + stride * uint64_t(fileRow);
        const int y = topDown ? fileRow : height - 1 - fileRow;
        uint32_t* target = out.pixels.data() + size_t(y) * size_t(width);
        switch (bits) {
            case 1:
                for (int x = 0; x < width; ++x)
                    target[x] = palette[(source[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < width; ++x)
                    target[x] = palette[(source[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
                break;
            case 8:
                for (int x = 0; x < width; ++x) target[x] = palette[source[x]];
                break;
            case 24:
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = source + 3 * x;
                    target[x] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
                }
                break;
            default: {  // 16 and 32 bits through the channel masks
                const int step = static_cast<int>(bits / 8);
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = source + step * x;
                    const uint32_t pixel = step == 2 ? read16(p) : read32(p);
                    target[x] = 0xFF000000u | (red.value(pixel) << 16) | (green.value(pixel) << 8) |
                                blue.value(pixel);
                }
            }
        }
    }
    return true;
}

int32_t encodeBmp(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out) {
    out.clear();
    if (!pixels || !pictureSizeAllowed(width, height)) return status::kInvalidParameter;
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t{3};
    const size_t imageBytes = stride * size_t(height);
    const size_t headerBytes = kFileHeaderSize + kInfoHeaderSize;
    if (headerBytes + imageBytes > 0xFFFFFFFFu) return status::kInvalidParameter;
    try {
        out.assign(headerBytes + imageBytes, 0);
    } catch (const std::bad_alloc&) {
        return status::kOutOfMemory;
    }
    auto put16 = [&out](size_t at, uint32_t v) {
        out[at] = uint8_t(v);
        out[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&out](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, uint32_t(headerBytes + imageBytes));
    put32(10, uint32_t(headerBytes));
    put32(14, uint32_t(kInfoHeaderSize));
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, uint32_t(imageBytes));
    put32(38, 3780);  // 96 dots per inch
    put32(42, 3780);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels + size_t(height - 1 - y) * size_t(width);
        uint8_t* target = out.data() + headerBytes + stride * size_t(y);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = source[x];
            target[0] = uint8_t(p);
            target[1] = uint8_t(p >> 8);
            target[2] = uint8_t(p >> 16);
            target += 3;
        }
    }
    return status::kOk;
}

}  // namespace tcmap
