// A decoded raster picture with the id of the format it came from. Pixels are
// kept as premultiplied 32-bit ARGB in native byte order (Cairo's ARGB32), so
// a Canvas can draw on them and draw them without conversion.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

class PixelStore;

inline constexpr std::string_view kPngFormatId = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr std::string_view kBmpFormatId = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr std::string_view kJpegFormatId = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";

// Largest side a picture may have (the 2D library's limit).
inline constexpr int kMaxPictureSide = 32767;
// Most pixels a picture may have (1 GiB of pixel memory); larger pictures fail
// to load or create as if memory ran out.
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 28;

class Picture {
  public:
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    Picture(Picture&&) noexcept = default;
    Picture& operator=(Picture&&) noexcept = default;

    // Decode a PNG, JPEG or BMP file or buffer. On failure the picture is
    // empty (width and height 0) and false is returned. Only regular files are
    // read; folders, devices and FIFOs fail without blocking.
    bool loadFile(const std::string& path);
    bool loadBytes(std::span<const uint8_t> bytes);

    // Independent copy of another picture, format id included.
    bool copyFrom(const Picture& source);

    // A blank opaque picture of one colour (ARGB). Returns a drawing status:
    // 0 success, 2 for a non-positive size, 3 when it is too large (over
    // kMaxPictureSide a side) or memory runs out.
    int32_t create(int width, int height, uint32_t argb, std::string_view formatId);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    const std::string& formatId() const { return formatId_; }
    void setFormatId(std::string_view id) { formatId_ = std::string(id); }

    // Encode with the encoder of `formatId` (PNG or BMP; empty means BMP) and
    // write the file, replacing it. Returns a drawing status (0 success).
    int32_t save(const std::string& path, std::string_view formatId) const;
    // The same encoding into memory.
    int32_t encode(std::string_view formatId, std::vector<uint8_t>& out) const;

    void release();

    // Takes over decoded pixels (premultiplied ARGB32, width * height of them).
    // Returns false, leaving the picture empty, when the size is not allowed
    // or does not match the pixel count.
    bool assign(int width, int height, std::vector<uint32_t> pixels, std::string_view formatId);
    // Shares a store of width * height pixels (a mapped cache file, or the
    // pixels of another picture); false, leaving the picture empty, when the
    // size is not allowed or does not match.
    bool share(int width, int height, std::shared_ptr<PixelStore> store, std::string_view formatId);
    const std::shared_ptr<PixelStore>& store() const { return store_; }

    // Premultiplied ARGB32, row after row, stride() bytes apart. Writing
    // through a picture whose store is shared copies the pixels first;
    // nullptr when that copy finds no memory.
    uint32_t* pixels();
    const uint32_t* pixels() const;
    // The pixels when rows [firstRow, endRow) are ready to be read (only
    // those); nullptr when they cannot be made right.
    const uint32_t* pixelsForRows(int firstRow, int endRow) const;
    // After reading the rows of pixelsForRows: false when they may have been
    // wrong while read; they are right now and must be read again.
    bool rowsUnchanged(int firstRow, int endRow) const;
    int stride() const { return width_ * 4; }
    // Un-premultiplied 0xAARRGGBB of one pixel, for checks.
    uint32_t pixelArgb(int x, int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::string formatId_;
    std::shared_ptr<PixelStore> store_;
    uint32_t* data_ = nullptr;
};

// Format id of an encoded picture from its signature; empty when unknown.
std::string sniffFormatId(std::span<const uint8_t> bytes);

// Decode `source` (BMP, PNG or JPEG) and write it as a 24-bit RGB PNG.
// Result codes: 1 success, -1 source missing, -3 not decodable, -4 PNG not
// written, -7 a path missing or a depth other than 24.
int convertToPng(const std::string& sourcePath, const std::string& destinationPath, int depth);

}  // namespace tcmap
