#include "render/canvas/picture.h"

#include <cstring>
#include <new>

#include "base/file_io.h"
#include "render/canvas/bmp_codec.h"
#include "render/canvas/canvas.h"
#include "render/canvas/jpeg_codec.h"
#include "render/canvas/pixel_buffer.h"
#include "render/canvas/pixel_store.h"
#include "render/canvas/png_codec.h"

namespace tcmap {

std::string sniffFormatId(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0)
        return std::string(kPngFormatId);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return std::string(kJpegFormatId);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return std::string(kBmpFormatId);
    return {};
}

bool Picture::loadFile(const std::string& path) {
    release();
    const std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) return false;
    return loadBytes({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()});
}

bool Picture::loadBytes(std::span<const uint8_t> bytes) {
    release();
    const std::string format = sniffFormatId(bytes);
    PixelBuffer decoded;
    bool ok = false;
    try {
        if (format == kPngFormatId)
            ok = decodePng(bytes, decoded);
        else if (format == kJpegFormatId)
            ok = decodeJpeg(bytes, decoded);
        else if (format == kBmpFormatId)
            ok = decodeBmp(bytes, decoded);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    return ok && assign(decoded.width, decoded.height, std::move(decoded.pixels), format);
}

bool Picture::copyFrom(const Picture& source) {
    if (&source == this) return !empty();
    release();
    if (source.empty()) return false;
    try {
        store_ = source.store_->privateCopy();
    } catch (const std::bad_alloc&) {
        return false;
    }
    data_ = store_->data();
    width_ = source.width_;
    height_ = source.height_;
    formatId_ = source.formatId_;
    return true;
}

int32_t Picture::create(int width, int height, uint32_t argb, std::string_view formatId) {
    release();
    if (width <= 0 || height <= 0) return status::kInvalidParameter;
    if (!pictureSizeAllowed(width, height)) return status::kOutOfMemory;
    const uint32_t fill =
        premultipliedArgb(argb >> 24, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    try {
        store_ = makeOwnedPixelStore(std::vector<uint32_t>(size_t(width) * size_t(height), fill));
    } catch (const std::bad_alloc&) {
        return status::kOutOfMemory;
    }
    data_ = store_->data();
    width_ = width;
    height_ = height;
    formatId_ = std::string(formatId);
    return status::kOk;
}

bool Picture::assign(int width, int height, std::vector<uint32_t> pixels,
                     std::string_view formatId) {
    release();
    if (!pictureSizeAllowed(width, height) || pixels.size() != size_t(width) * size_t(height))
        return false;
    return share(width, height, makeOwnedPixelStore(std::move(pixels)), formatId);
}

bool Picture::share(int width, int height, std::shared_ptr<PixelStore> store,
                    std::string_view formatId) {
    release();
    if (!store || !pictureSizeAllowed(width, height) ||
        store->pixelCount() != size_t(width) * size_t(height))
        return false;
    store_ = std::move(store);
    data_ = store_->data();
    width_ = width;
    height_ = height;
    formatId_ = std::string(formatId);
    return true;
}

const uint32_t* Picture::pixels() const {
    return pixelsForRows(0, height_);
}

const uint32_t* Picture::pixelsForRows(int firstRow, int endRow) const {
    if (store_ && !store_->prepareRows(firstRow, endRow)) return nullptr;
    return data_;
}

bool Picture::rowsUnchanged(int firstRow, int endRow) const {
    return !store_ || store_->rowsUnchanged(firstRow, endRow);
}

uint32_t* Picture::pixels() {
    if (store_ && !store_->prepareRows(0, height_)) return nullptr;
    if (store_ && store_.use_count() > 1) {
        try {
            store_ = store_->privateCopy();
            data_ = store_->data();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    return data_;
}

int32_t Picture::encode(std::string_view formatId, std::vector<uint8_t>& out) const {
    out.clear();
    if (empty()) return status::kInvalidParameter;
    try {
        if (formatId.empty() || formatId == kBmpFormatId)
            return encodeBmp(pixels(), width_, height_, out);
        if (formatId == kPngFormatId) return encodePng(pixels(), width_, height_, out);
        if (formatId == kJpegFormatId) return encodeJpeg(pixels(), width_, height_, out);
    } catch (const std::bad_alloc&) {
        out.clear();
        return status::kOutOfMemory;
    }
    return status::kFileNotFound;  // no encoder has this format id
}

int32_t Picture::save(const std::string& path, std::string_view formatId) const {
    std::vector<uint8_t> bytes;
    const int32_t encoded = encode(formatId, bytes);
    if (encoded != status::kOk) return encoded;
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return writeFileReplacing(path, view) ? status::kOk : status::kSystemError;
}

void Picture::release() {
    width_ = 0;
    height_ = 0;
    formatId_.clear();
    store_.reset();
    data_ = nullptr;
}

uint32_t Picture::pixelArgb(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const uint32_t* pixels = pixelsForRows(y, y + 1);
    if (pixels == nullptr) return 0;
    return unpremultipliedArgb(pixels[size_t(y) * size_t(width_) + size_t(x)]);
}

}  // namespace tcmap
