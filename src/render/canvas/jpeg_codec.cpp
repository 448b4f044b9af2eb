#include "render/canvas/jpeg_codec.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <bit>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

#include "render/canvas/canvas.h"

namespace tcmap {

namespace {

// Each 8x8 block of a Huffman-coded JPEG costs at least one bit, so a genuine
// one never holds more than 512 pixels per byte.
constexpr uint64_t kMaxPixelsPerByte = 1024;
// Progressive files can repeat scans without end; real ones use a few dozen.
constexpr int kMaxScans = 1000;
// Working memory libjpeg may take (coefficient buffers of progressive files).
constexpr long kMaxWorkingMemory = 1L << 30;

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool outOfMemory;
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->outOfMemory = info->err->msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(errors->jump, 1);
}

// Warnings are tolerated, except image data that ends early (the file runs
// out, or a marker cuts the scan short): libjpeg would paint the rest grey,
// but the file is truncated.
void onMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    const int code = info->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) onError(info);
}

void onOutput(j_common_ptr) {}

void onProgress(j_common_ptr info) {
    if (!info->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) onError(info);
}

constexpr J_COLOR_SPACE kNativeArgb =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
constexpr J_COLOR_SPACE kNativeXrgb =
    std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

void cmykRowToArgb(const uint8_t* cmyk, uint32_t* row, int width, bool inverted) {
    for (int x = 0; x < width; ++x) {
        uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // Adobe files store inverted inks: the value is the remaining light.
        row[x] = 0xFF000000u | (scaleByAlpha(c, k) << 16) | (scaleByAlpha(m, k) << 8) |
                 scaleByAlpha(y, k);
        cmyk += 4;
    }
}

// The part of decoding that runs under the error jump; it creates no object
// with a destructor of its own.
bool readJpeg(jpeg_decompress_struct& info, ErrorManager& errors, jpeg_progress_mgr& progress,
              std::span<const uint8_t> bytes, PixelBuffer& out) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxWorkingMemory;
    info.progress = &progress;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (!pictureSizeAllowed(info.image_width, info.image_height)) return false;
    if (!info.arith_code && uint64_t{info.image_width} * info.image_height >
                                uint64_t{bytes.size()} * kMaxPixelsPerByte + 65536)
        return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : kNativeArgb;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    if (!pictureSizeAllowed(out.width, out.height)) return false;
    // Freed with the decompressor, so the error jump cannot leak it.
    auto* cmykRow =
        cmyk ? static_cast<JSAMPLE*>((*info.mem->alloc_large)(reinterpret_cast<j_common_ptr>(&info),
                                                              JPOOL_IMAGE, size_t(out.width) * 4))
             : nullptr;
    GrowingRows rows(out, bytes.size());
    while (info.output_scanline < info.output_height) {
        uint32_t* row = rows.row(static_cast<int>(info.output_scanline));
        if (!row) return false;
        JSAMPROW target = cmyk ? cmykRow : reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(&info, &target, 1) != 1) return false;
        if (cmyk) cmykRowToArgb(cmykRow, row, out.width, info.saw_Adobe_marker);
    }
    rows.finish();
    return true;
}

bool writeJpeg(jpeg_compress_struct& info, ErrorManager& errors, const uint32_t* pixels, int width,
               int height, int quality, unsigned char** buffer, unsigned long* size) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = kNativeXrgb;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<uint32_t*>(pixels + size_t(width) * info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

void prepareErrors(ErrorManager& errors, jpeg_common_struct& info) {
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    errors.manager.emit_message = onMessage;
    errors.manager.output_message = onOutput;
    errors.outOfMemory = false;
}

}  // namespace

bool decodeJpeg(std::span<const uint8_t> bytes, PixelBuffer& out) {
    out = PixelBuffer{};
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    ErrorManager errors;
    prepareErrors(errors, *reinterpret_cast<jpeg_common_struct*>(&info));
    jpeg_progress_mgr progress{};
    progress.progress_monitor = onProgress;
    const bool decoded = readJpeg(info, errors, progress, bytes, out);
    jpeg_destroy_decompress(&info);
    if (!decoded) out = PixelBuffer{};
    return decoded;
}

int32_t encodeJpeg(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out,
                   int quality) {
    out.clear();
    if (!pixels || !pictureSizeAllowed(width, height) || quality < 1 || quality > 100)
        return status::kInvalidParameter;
    jpeg_compress_struct info;
    std::memset(&info, 0, sizeof info);
    ErrorManager errors;
    prepareErrors(errors, *reinterpret_cast<jpeg_common_struct*>(&info));
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool written = writeJpeg(info, errors, pixels, width, height, quality, &buffer, &size);
    jpeg_destroy_compress(&info);
    int32_t result = status::kOk;
    if (!written) {
        result = errors.outOfMemory ? status::kOutOfMemory : status::kGenericError;
    } else {
        try {
            out.assign(buffer, buffer + size);
        } catch (const std::bad_alloc&) {
            result = status::kOutOfMemory;
        }
    }
    std::free(buffer);
    return result;
}

}  // namespace tcmap
