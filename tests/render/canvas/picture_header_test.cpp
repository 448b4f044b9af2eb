// The size a picture file declares, read from its header alone: what the map
// loader checks before it lets a decoder take any pixel memory.
#include "render/canvas/picture_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/canvas/picture.h"

using namespace tcmap;

namespace {

std::vector<uint8_t> encoded(int width, int height, std::string_view format) {
    Picture picture;
    EXPECT_EQ(picture.create(width, height, 0xFF204060, format), 0);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(picture.encode(format, bytes), 0);
    return bytes;
}

}  // namespace

TEST(PictureHeader, EveryFormatDeclaresTheSizeItHolds) {
    struct Case {
        std::string_view format;
        int width;
        int height;
    };
    for (const Case& c :
         {Case{kPngFormatId, 301, 97}, Case{kBmpFormatId, 97, 301}, Case{kJpegFormatId, 640, 17}}) {
        const std::optional<PictureSize> size =
            declaredPictureSize(encoded(c.width, c.height, c.format));
        ASSERT_TRUE(size.has_value()) << c.format;
        EXPECT_EQ(size->width, c.width) << c.format;
        EXPECT_EQ(size->height, c.height) << c.format;
    }
}

TEST(PictureHeader, AJpegFrameAfterLargeMetadataIsFound) {
    std::vector<uint8_t> jpeg = encoded(33, 44, kJpegFormatId);
    // An application segment of 60 000 bytes right after the start marker.
    std::vector<uint8_t> segment = {0xFF, 0xE1, 0xEA, 0x62};
    segment.resize(2 + 0xEA62, 0);  // the length counts its own two bytes
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    const std::optional<PictureSize> size = declaredPictureSize(jpeg);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->pixels(), 33 * 44);
}

TEST(PictureHeader, UnknownOrCutShortHeadersDeclareNothing) {
    const std::vector<uint8_t> png = encoded(5, 5, kPngFormatId);
    const std::vector<uint8_t> jpeg = encoded(5, 5, kJpegFormatId);
    const std::vector<std::vector<uint8_t>> heads = {
        {},
        {'G', 'I', 'F', '8', '9', 'a'},
        std::vector<uint8_t>(png.begin(), png.begin() + 20),
        std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 4),
        {'B', 'M', 0, 0},
    };
    for (const std::vector<uint8_t>& head : heads) {
        EXPECT_FALSE(declaredPictureSize(head).has_value()) << head.size();
    }
}
