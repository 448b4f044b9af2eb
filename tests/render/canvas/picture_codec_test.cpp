#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"

namespace tcmap {
namespace {

const std::string kPictures = TCMAP_TEST_DATA_DIR "/pictures/";

std::span<const uint8_t> asBytes(const std::vector<uint8_t>& v) {
    return {v.data(), v.size()};
}

void put(std::vector<uint8_t>& b, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(value >> (8 * i)));
}

// A BMP file: headers, palette (0xRRGGBB entries), bit masks, pixel rows.
std::vector<uint8_t> bmpFile(uint32_t infoSize, int32_t width, int32_t height, int bits,
                             uint32_t compression, const std::vector<uint32_t>& palette,
                             const std::vector<uint32_t>& masks, std::vector<uint8_t> rows) {
    std::vector<uint8_t> b = {'B', 'M'};
    put(b, 0, 8);
    put(b, 14 + infoSize + 4 * uint32_t(palette.size() + masks.size()), 4);
    for (uint32_t v : {infoSize, uint32_t(width), uint32_t(height)}) put(b, v, 4);
    put(b, 1, 2);
    put(b, uint32_t(bits), 2);
    for (uint32_t v : {compression, 0u, 2835u, 2835u, uint32_t(palette.size()), 0u}) put(b, v, 4);
    b.resize(14 + infoSize, 0);
    for (uint32_t m : masks) put(b, m, 4);
    for (uint32_t c : palette) put(b, c, 4);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

void expectPixels(const Picture& p, const std::vector<std::vector<uint32_t>>& rows) {
    ASSERT_EQ(p.height(), int(rows.size()));
    for (int y = 0; y < p.height(); ++y) {
        ASSERT_EQ(p.width(), int(rows[y].size()));
        for (int x = 0; x < p.width(); ++x)
            EXPECT_EQ(p.pixelArgb(x, y), rows[y][x]) << "at " << x << "," << y;
    }
}

TEST(PictureFormat, IdComesFromTheSignatureNotTheName) {
    const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0};
    const uint8_t bmp[] = {'B', 'M', 0, 0};
    const uint8_t text[] = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(sniffFormatId(png), kPngFormatId);
    EXPECT_EQ(sniffFormatId(jpeg), kJpegFormatId);
    EXPECT_EQ(sniffFormatId(bmp), kBmpFormatId);
    EXPECT_EQ(sniffFormatId(text), "");
    EXPECT_EQ(sniffFormatId({}), "");

    Picture p;
    ASSERT_TRUE(p.loadFile(kPictures + "rgb8.png"));
    EXPECT_EQ(p.formatId(), kPngFormatId);
    ASSERT_TRUE(p.loadFile(kPictures + "rgb.jpg"));
    EXPECT_EQ(p.formatId(), kJpegFormatId);
}

TEST(PngCodec, DecodesEveryColourTypeAndInterlace) {
    const uint32_t r = 0xFFFF0000, g = 0xFF00FF00, b = 0xFF0000FF, w = 0xFFFFFFFF;
    for (const char* name : {"rgb8.png", "interlaced.png", "palette4.png"}) {
        SCOPED_TRACE(name);
        Picture p;
        ASSERT_TRUE(p.loadFile(kPictures + name));
        ASSERT_EQ(p.width(), 16);
        ASSERT_EQ(p.height(), 8);
        EXPECT_EQ(p.pixelArgb(0, 0), r);
        EXPECT_EQ(p.pixelArgb(15, 3), g);
        EXPECT_EQ(p.pixelArgb(7, 4), b);
        EXPECT_EQ(p.pixelArgb(8, 7), w);
    }
    Picture p;
    ASSERT_TRUE(p.loadFile(kPictures + "gray1.png"));
    EXPECT_EQ(p.pixelArgb(7, 5), 0xFF000000u);
    EXPECT_EQ(p.pixelArgb(8, 5), 0xFFFFFFFFu);
    // 16-bit RGBA: half-transparent red stays red once premultiplication is undone.
    ASSERT_TRUE(p.loadFile(kPictures + "rgba16.png"));
    EXPECT_EQ(p.pixelArgb(0, 0), r);
    EXPECT_EQ(p.pixelArgb(9, 1), 0x80FF0000u);
    EXPECT_EQ(p.pixels()[9 + 16] >> 24, 0x80u);
    ASSERT_TRUE(p.loadFile(kPictures + "graya.png"));
    EXPECT_EQ(p.pixelArgb(0, 0), 0xFF7F7F7Fu);
    EXPECT_EQ(p.pixelArgb(10, 0), 0u);
}

TEST(JpegCodec, DecodesBaselineProgressiveGreyAndCmyk) {
    auto near = [](uint32_t actual, uint32_t expected) {
        for (int shift : {0, 8, 16, 24}) {
            const int a = int(actual >> shift & 0xFF), e = int(expected >> shift & 0xFF);
            if (std::abs(a - e) > 12) return false;
        }
        return true;
    };
    for (const char* name : {"rgb.jpg", "progressive.jpg", "cmyk.jpg"}) {
        SCOPED_TRACE(name);
        Picture p;
        ASSERT_TRUE(p.loadFile(kPictures + name));
        ASSERT_EQ(p.width(), 32);
        ASSERT_EQ(p.height(), 16);
        EXPECT_TRUE(near(p.pixelArgb(4, 8), 0xFFFF0000)) << std::hex << p.pixelArgb(4, 8);
        EXPECT_TRUE(near(p.pixelArgb(27, 8), 0xFF0000FF)) << std::hex << p.pixelArgb(27, 8);
    }
    Picture grey;
    ASSERT_TRUE(grey.loadFile(kPictures + "gray.jpg"));
    const uint32_t left = grey.pixelArgb(4, 8), right = grey.pixelArgb(27, 8);
    EXPECT_EQ(left >> 24, 0xFFu);
    EXPECT_EQ(left & 0xFF, (left >> 8) & 0xFF);  // grey: equal channels
    EXPECT_GT(left & 0xFF, right & 0xFF);        // red is lighter than blue in grey
}

TEST(PictureCodecs, EncodeAndDecodeKeepEveryPixel) {
    Picture source;
    ASSERT_EQ(source.create(37, 23, 0xFF000000, kBmpFormatId), 0);
    uint32_t seed = 12345;
    for (int i = 0; i < 37 * 23; ++i) {
        seed = seed * 1103515245 + 12345;
        source.pixels()[i] = 0xFF000000u | (seed >> 8);
    }
    for (std::string_view id : {kPngFormatId, kBmpFormatId}) {
        SCOPED_TRACE(id);
        std::vector<uint8_t> encoded;
        ASSERT_EQ(source.encode(id, encoded), 0);
        EXPECT_EQ(sniffFormatId(asBytes(encoded)), id);
        Picture decoded;
        ASSERT_TRUE(decoded.loadBytes(asBytes(encoded)));
        ASSERT_EQ(decoded.width(), 37);
        ASSERT_EQ(decoded.height(), 23);
        EXPECT_TRUE(std::equal(source.pixels(), source.pixels() + 37 * 23, decoded.pixels()));
    }
    // An empty id means BMP; translucent pixels are written over black.
    source.pixels()[0] = 0x80400000;  // premultiplied half-transparent red
    std::vector<uint8_t> bmp;
    ASSERT_EQ(source.encode("", bmp), 0);
    Picture decoded;
    ASSERT_TRUE(decoded.loadBytes(asBytes(bmp)));
    EXPECT_EQ(decoded.formatId(), kBmpFormatId);
    EXPECT_EQ(decoded.pixelArgb(0, 0), 0xFF400000u);
    // JPEG is lossy: close, not equal.
    std::vector<uint8_t> jpeg;
    ASSERT_EQ(source.encode(kJpegFormatId, jpeg), 0);
    EXPECT_TRUE(decoded.loadBytes(asBytes(jpeg)));
    EXPECT_EQ(decoded.width(), 37);
    EXPECT_NE(source.encode("{00000000-0000-0000-0000-000000000000}", jpeg), 0);
}

TEST(BmpCodec, ReadsPaletteDepthsBottomUpAndTopDown) {
    const uint32_t k = 0xFF000000, w = 0xFFFFFFFF, r = 0xFFFF0000, g = 0xFF00FF00;
    auto decoded = [](const std::vector<uint8_t>& file) {
        Picture p;
        EXPECT_TRUE(p.loadBytes(asBytes(file)));
        return p;
    };
    // 1 bit, 3 x 2, bottom-up: the first stored row is the bottom one.
    expectPixels(decoded(bmpFile(40, 3, 2, 1, 0, {0x000000, 0xFFFFFF}, {},
                                 {0b01100000, 0, 0, 0, 0b10100000, 0, 0, 0})),
                 {{w, k, w}, {k, w, w}});
    // 4 bit, top-down, three palette entries; an index past them is black.
    expectPixels(decoded(bmpFile(40, 3, -2, 4, 0, {0xFF0000, 0x00FF00, 0xFFFFFF}, {},
                                 {0x01, 0x20, 0, 0, 0x21, 0xF0, 0, 0})),
                 {{r, g, w}, {w, g, k}});
    // 8 bit, bottom-up, V5 header (124 bytes).
    expectPixels(
        decoded(bmpFile(124, 2, 2, 8, 0, {0xFF0000, 0x00FF00}, {}, {1, 0, 0, 0, 0, 1, 0, 0})),
        {{r, g}, {g, r}});
    // 24 bit, bottom-up, the last row without its padding.
    expectPixels(decoded(bmpFile(40, 2, 2, 24, 0, {}, {},
                                 {0, 0, 255, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0})),
                 {{w, k}, {r, g}});
    // 32 bit, top-down: the fourth byte is not alpha.
    expectPixels(decoded(bmpFile(40, 2, -1, 32, 0, {}, {}, {0, 0, 255, 0, 0, 255, 0, 0})),
                 {{r, g}});
    // 16 bit 5-6-5 through bit fields after a 40-byte header; without them 5-5-5.
    expectPixels(
        decoded(bmpFile(40, 2, 1, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07})),
        {{r, g}});
    expectPixels(decoded(bmpFile(40, 1, 1, 16, 0, {}, {}, {0x1F, 0x7C, 0, 0})), {{0xFFFF00FF}});
}

TEST(BmpCodec, ReadsTheOldCoreHeader) {
    // 12-byte header with 16-bit sizes and a three-byte palette: red, blue.
    std::vector<uint8_t> core = {'B', 'M'};
    put(core, 0, 8);
    for (uint32_t v : {14u + 12 + 2 * 3, 12u}) put(core, v, 4);
    for (uint32_t v : {2u, 1u, 1u, 8u}) put(core, v, 2);
    core.insert(core.end(), {0, 0, 255, 255, 0, 0, 1, 0, 0, 0});
    Picture p;
    ASSERT_TRUE(p.loadBytes(asBytes(core)));
    expectPixels(p, {{0xFF0000FF, 0xFFFF0000}});
}

TEST(Picture, CreateCopyAndRelease) {
    Picture p;
    EXPECT_EQ(p.create(0, 5, 0xFF0F0F0F, kBmpFormatId), 2);
    EXPECT_EQ(p.create(5, -1, 0xFF0F0F0F, kBmpFormatId), 2);
    EXPECT_EQ(p.create(kMaxPictureSide + 1, 1, 0xFF0F0F0F, kBmpFormatId), 3);
    EXPECT_EQ(p.create(20000, 20000, 0xFF0F0F0F, kBmpFormatId), 3);  // over the pixel budget
    EXPECT_TRUE(p.empty());
    ASSERT_EQ(p.create(4, 3, 0xFF0F0F0F, kBmpFormatId), 0);
    EXPECT_EQ(p.pixelArgb(3, 2), 0xFF0F0F0Fu);
    EXPECT_EQ(p.formatId(), kBmpFormatId);

    Picture copy;
    ASSERT_TRUE(copy.copyFrom(p));
    copy.pixels()[0] = 0xFFFFFFFF;
    EXPECT_EQ(p.pixelArgb(0, 0), 0xFF0F0F0Fu);
    EXPECT_EQ(copy.formatId(), kBmpFormatId);
    EXPECT_EQ(copy.width(), 4);

    p.release();
    EXPECT_EQ(p.width(), 0);
    EXPECT_EQ(p.height(), 0);
    EXPECT_EQ(p.formatId(), "");
    p.release();  // releasing twice is harmless
    EXPECT_FALSE(copy.copyFrom(p));
    EXPECT_TRUE(copy.empty());
}

TEST(Picture, SaveReplacesTheFileAndReportsFailure) {
    const tcmap::testing::TempFolder scratch;  // removed with its files
    const std::string& folder = scratch.path();
    const std::string path = folder + "/picture_save.png";
    Picture p;
    ASSERT_EQ(p.create(6, 4, 0xFF102030, kBmpFormatId), 0);
    ASSERT_TRUE(writeFileReplacing(path, "old content that is longer than nothing"));
    ASSERT_EQ(p.save(path, kPngFormatId), 0);
    Picture back;
    ASSERT_TRUE(back.loadFile(path));
    EXPECT_EQ(back.formatId(), kPngFormatId);
    EXPECT_EQ(back.pixelArgb(5, 3), 0xFF102030u);
    EXPECT_NE(p.save(folder + "/no/such/folder/x.png", kPngFormatId), 0);
    Picture empty;
    EXPECT_EQ(empty.save(path, kPngFormatId), 2);
}

}  // namespace
}  // namespace tcmap
