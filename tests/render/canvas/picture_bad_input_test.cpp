#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"

namespace tcmap {
namespace {

const std::string kPictures = TCMAP_TEST_DATA_DIR "/pictures/";

std::vector<uint8_t> fileBytes(const std::string& name) {
    const std::string text = readFileOrEmpty(kPictures + name);
    return {text.begin(), text.end()};
}

bool loads(const std::vector<uint8_t>& bytes) {
    Picture p;
    const bool ok = p.loadBytes({bytes.data(), bytes.size()});
    EXPECT_EQ(ok, !p.empty());
    if (!ok) {
        EXPECT_EQ(p.width(), 0);
        EXPECT_EQ(p.height(), 0);
    }
    return ok;
}

void put32le(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

void put32be(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(PictureBadInput, EveryTruncationFails) {
    for (const char* name : {"rgb8.png", "interlaced.png", "rgb.jpg", "progressive.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> whole = fileBytes(name);
        ASSERT_FALSE(whole.empty());
        // A PNG may lose its closing IEND chunk (12 bytes) and keep every pixel.
        const size_t keep = whole[0] == 0x89 ? whole.size() - 12 : whole.size() - 2;
        for (size_t length = 0; length < keep; ++length) {
            const std::vector<uint8_t> part(whole.begin(), whole.begin() + length);
            EXPECT_FALSE(loads(part)) << "length " << length;
        }
    }
    Picture bmp;
    ASSERT_EQ(bmp.create(5, 3, 0xFF123456, kBmpFormatId), 0);
    std::vector<uint8_t> whole;
    ASSERT_EQ(bmp.encode(kBmpFormatId, whole), 0);
    // The last row may lack its padding byte; anything shorter is broken.
    for (size_t length = 0; length + 1 < whole.size(); ++length)
        EXPECT_FALSE(loads({whole.begin(), whole.begin() + length})) << "length " << length;
}

TEST(PictureBadInput, CorruptBytesNeverCrash) {
    // Each byte flipped in turn: the load may fail or succeed, but a success
    // has the file's size, and nothing reads or writes out of bounds.
    for (const char* name :
         {"rgb8.png", "palette4.png", "interlaced.png", "rgb.jpg", "progressive.jpg", "cmyk.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> whole = fileBytes(name);
        for (size_t at = 0; at < whole.size(); ++at) {
            std::vector<uint8_t> broken = whole;
            broken[at] ^= 0xA5;
            Picture p;
            if (p.loadBytes({broken.data(), broken.size()})) {
                EXPECT_GT(p.width(), 0);
                EXPECT_LE(p.width() * int64_t{p.height()}, 32 * 16);
            }
        }
    }
}

TEST(PictureBadInput, FilesThatAreNoPictures) {
    const tcmap::testing::TempFolder scratch;  // removed with its files
    const std::string& folder = scratch.path();
    const std::string empty = folder + "/empty.png";
    const std::string text = folder + "/text.png";
    ASSERT_TRUE(writeFileReplacing(empty, ""));
    ASSERT_TRUE(writeFileReplacing(text, "This is a text file, not a picture.\r\n"));
    Picture p;
    EXPECT_FALSE(p.loadFile(empty));
    EXPECT_FALSE(p.loadFile(text));
    EXPECT_FALSE(p.loadFile(folder + "/no_such_file.png"));
    EXPECT_FALSE(p.loadFile(""));
    EXPECT_EQ(p.width(), 0);
    // Folders, FIFOs and devices: tests/app/non_regular_paths_test.cpp.
    // A failed load empties a picture that held something.
    ASSERT_TRUE(p.loadFile(kPictures + "rgb8.png"));
    EXPECT_FALSE(p.loadFile(text));
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(p.formatId(), "");
}

TEST(PictureBadInput, AbsurdBmpHeaders) {
    Picture good;
    ASSERT_EQ(good.create(4, 2, 0xFF00FF00, kBmpFormatId), 0);
    std::vector<uint8_t> base;
    ASSERT_EQ(good.encode(kBmpFormatId, base), 0);
    ASSERT_TRUE(loads(base));

    auto patched = [&base](size_t at, uint32_t value) {
        std::vector<uint8_t> b = base;
        put32le(b, at, value);
        return b;
    };
    const struct {
        size_t at;
        uint32_t value;
        bool loads;
        const char* why;
    } rows[] = {
        {18, 0x80000000u, false, "width 2^31"},
        {22, 0x80000000u, false, "height -2^31"},
        {18, 0, false, "no width"},
        {22, 0, false, "no height"},
        {18, 32768, false, "wider than any picture"},
        {18, 30000, false, "pixels beyond the end of the file"},
        {22, uint32_t(-30000), false, "top-down, pixels beyond the end of the file"},
        {14, 0xFFFFFFF0u, false, "header larger than the file"},
        {14, 8, false, "header too small"},
        {30, 1, false, "run-length compression"},
        {28, 7, false, "no such depth"},
        {10, 0xFFFFFFFFu, true, "offset past the end: pixels follow the header"},
    };
    for (const auto& row : rows) EXPECT_EQ(loads(patched(row.at, row.value)), row.loads) << row.why;

    // 8 bits with a palette of 2^30 entries in a file of a few bytes.
    std::vector<uint8_t> palette = base;
    palette[28] = 8;
    put32le(palette, 46, 1u << 30);
    EXPECT_FALSE(loads(palette));
}

TEST(PictureBadInput, SmallFilesClaimingHugeSizesAllocateLittle) {
    // PNG: a valid header (checksum and all) saying 30000 x 30000, then the
    // data of a 16 x 8 picture.
    std::vector<uint8_t> png = fileBytes("rgb8.png");
    put32be(png, 16, 30000);
    put32be(png, 20, 30000);
    put32be(png, 29, uint32_t(crc32(0, png.data() + 12, 17)));
    // JPEG: the frame header's height and width.
    std::vector<uint8_t> jpeg = fileBytes("rgb.jpg");
    size_t frame = 2;
    while (frame + 9 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC0)) ++frame;
    ASSERT_LT(frame + 9, jpeg.size());
    jpeg[frame + 5] = 30000 >> 8;
    jpeg[frame + 6] = 30000 & 0xFF;
    jpeg[frame + 7] = 30000 >> 8;
    jpeg[frame + 8] = 30000 & 0xFF;
    // BMP: the header of a 30000 x 30000 24-bit picture, nothing else.
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32le(bmp, 10, 54);
    put32le(bmp, 14, 40);
    put32le(bmp, 18, 30000);
    put32le(bmp, 22, 30000);
    bmp[26] = 1;
    bmp[28] = 24;

    const long before = peakResidentKilobytes();
    EXPECT_FALSE(loads(png));
    EXPECT_FALSE(loads(jpeg));
    EXPECT_FALSE(loads(bmp));
    EXPECT_LT(peakResidentKilobytes() - before, 256 * 1024);  // far below 30000^2 * 4 bytes
}

TEST(PngConversion, ResultCodes) {
    const tcmap::testing::TempFolder scratch;  // removed with its files
    const std::string& folder = scratch.path();
    const std::string out = folder + "/converted.png";
    const std::string text = folder + "/not_a_picture.bmp";
    ASSERT_TRUE(writeFileReplacing(text, "BM but no header"));
    EXPECT_EQ(convertToPng("", out, 24), -7);
    EXPECT_EQ(convertToPng(kPictures + "rgb.jpg", "", 24), -7);
    EXPECT_EQ(convertToPng(kPictures + "rgb.jpg", out, 32), -7);
    EXPECT_EQ(convertToPng(folder + "/missing.bmp", out, 24), -1);
    EXPECT_EQ(convertToPng(text, out, 24), -3);
    EXPECT_EQ(convertToPng(kPictures + "rgb8.png", folder + "/no/such/folder/x.png", 24), -4);

    // A BMP becomes an 8-bit RGB PNG with the same pixels.
    Picture source;
    ASSERT_EQ(source.create(9, 7, 0xFF0F0F0F, kBmpFormatId), 0);
    source.pixels()[10] = 0xFFAB1234;
    const std::string bmp = folder + "/source.bmp";
    ASSERT_EQ(source.save(bmp, kBmpFormatId), 0);
    ASSERT_EQ(convertToPng(bmp, out, 24), 1);
    const std::string png = readFileOrEmpty(out);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(uint8_t(png[24]), 8);  // bit depth
    EXPECT_EQ(uint8_t(png[25]), 2);  // colour type RGB
    Picture back;
    ASSERT_TRUE(back.loadFile(out));
    EXPECT_EQ(back.formatId(), kPngFormatId);
    EXPECT_EQ(back.pixelArgb(1, 1), 0xFFAB1234u);
    EXPECT_EQ(back.pixelArgb(8, 6), 0xFF0F0F0Fu);
    // A failed conversion leaves the earlier picture in place.
    EXPECT_EQ(convertToPng(text, out, 24), -3);
    EXPECT_EQ(readFileOrEmpty(out), png);
}

}  // namespace
}  // namespace tcmap
