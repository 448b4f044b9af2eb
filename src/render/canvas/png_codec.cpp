#include "render/canvas/png_codec.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <new>

#include "render/canvas/canvas.h"

namespace tcmap {

static_assert(PngEncodeOptions{}.filters == PNG_FILTER_NONE);
static_assert(PngEncodeOptions{}.strategy == Z_DEFAULT_STRATEGY);

namespace {

// Deflate cannot expand data by more than this factor, so a PNG whose image
// data would need more than this many bytes per input byte is not genuine.
constexpr uint64_t kMaxInflateRatio = 1032;

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
}

struct MemoryWriter {
    std::vector<uint8_t>* out;
    bool outOfMemory;
};

void writeToMemory(png_structp png, png_bytep data, size_t length) {
    auto* writer = static_cast<MemoryWriter*>(png_get_io_ptr(png));
    try {
        writer->out->insert(writer->out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        writer->outOfMemory = true;
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onPngWarning(png_structp, png_const_charp) {}

struct ReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct WriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteGuard() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// Rewrites a row of RGBA bytes, in place, as premultiplied ARGB32 words.
void rgbaRowToArgb(uint32_t* row, int width) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(row);
    for (int x = 0; x < width; ++x) {
        const uint8_t* p = bytes + 4 * x;
        row[x] = premultipliedArgb(p[3], p[0], p[1], p[2]);
    }
}

int channelCount(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 1;  // grey, palette
    }
}

// The part of decodePng that runs under libpng's error jump. It touches no
// object with a destructor of its own after the jump point.
bool readPng(png_structp png, png_infop info, MemoryReader& reader, PixelBuffer& out) {
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, &reader, readFromMemory);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_cache_max(png, 256);
    png_set_chunk_malloc_max(png, 8u << 20);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (!pictureSizeAllowed(width, height)) return false;
    const uint64_t rowBytes = (uint64_t{width} * bitDepth * channelCount(colourType) + 7) / 8;
    const uint64_t remaining = reader.size - reader.position;
    if ((rowBytes + 1) * height > remaining * kMaxInflateRatio + 4096) return false;

    png_set_expand(png);  // palette to RGB, low-bit grey to 8 bits, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4) return false;

    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    if (passes == 1) {
        GrowingRows rows(out, reader.size);
        for (int y = 0; y < out.height; ++y) {
            uint32_t* row = rows.row(y);
            if (!row) return false;
            png_read_row(png, reinterpret_cast<png_bytep>(row), nullptr);
            rgbaRowToArgb(row, out.width);
        }
        rows.finish();
        return true;
    }
    // Interlaced pictures revisit every row, so they need the whole store.
    try {
        out.pixels.assign(size_t{width} * height, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < out.height; ++y) {
            png_read_row(png, reinterpret_cast<png_bytep>(&out.pixels[size_t{width} * y]), nullptr);
        }
    }
    for (int y = 0; y < out.height; ++y) rgbaRowToArgb(&out.pixels[size_t{width} * y], out.width);
    return true;
}

bool writePng(png_structp png, png_infop info, const uint32_t* pixels, int width, int height,
              const PngEncodeOptions& options, uint8_t* rgbRow, MemoryWriter& writer) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &writer, writeToMemory, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, options.compressionLevel);
    png_set_compression_strategy(png, options.strategy);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, options.filters);
    png_set_compression_buffer_size(png, 1u << 20);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + size_t(width) * y;
        uint8_t* out = rgbRow;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            out[0] = static_cast<uint8_t>(p >> 16);
            out[1] = static_cast<uint8_t>(p >> 8);
            out[2] = static_cast<uint8_t>(p);
            out += 3;
        }
        png_write_row(png, rgbRow);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool decodePng(std::span<const uint8_t> bytes, PixelBuffer& out) {
    out = PixelBuffer{};
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return false;
    ReadGuard guard;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!guard.png) return false;
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return false;
    MemoryReader reader{bytes.data(), bytes.size(), 0};
    if (!readPng(guard.png, guard.info, reader, out)) {
        out = PixelBuffer{};
        return false;
    }
    return true;
}

int32_t encodePng(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const PngEncodeOptions& options) {
    out.clear();
    if (!pixels || !pictureSizeAllowed(width, height)) return status::kInvalidParameter;
    if (options.compressionLevel < 0 || options.compressionLevel > 9)
        return status::kInvalidParameter;
    std::vector<uint8_t> rgbRow;
    try {
        rgbRow.resize(size_t(width) * 3);
        out.reserve(size_t(width) * height / 4 + 1024);
    } catch (const std::bad_alloc&) {
        return status::kOutOfMemory;
    }
    WriteGuard guard;
    guard.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!guard.png) return status::kOutOfMemory;
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return status::kOutOfMemory;
    MemoryWriter writer{&out, false};
    if (!writePng(guard.png, guard.info, pixels, width, height, options, rgbRow.data(), writer)) {
        out.clear();
        return writer.outOfMemory ? status::kOutOfMemory : status::kGenericError;
    }
    return status::kOk;
}

}  // namespace tcmap
