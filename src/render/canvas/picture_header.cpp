#include "render/canvas/picture_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tcmap {

namespace {

// JPEG frame headers may follow large metadata segments; no real file puts
// its frame header further in than this.
constexpr size_t kJpegHeaderReach = size_t{4} << 20;
constexpr size_t kHeadBytes = size_t{64} << 10;

uint32_t bigEndian(std::span<const uint8_t> b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | b[at + size_t(i)];
    return value;
}

uint32_t littleEndian(std::span<const uint8_t> b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | b[at + size_t(i)];
    return value;
}

std::optional<PictureSize> pngSize(std::span<const uint8_t> b) {
    if (b.size() < 24 || std::memcmp(b.data() + 12, "IHDR", 4) != 0) return std::nullopt;
    return PictureSize{bigEndian(b, 16, 4), bigEndian(b, 20, 4)};
}

std::optional<PictureSize> bmpSize(std::span<const uint8_t> b) {
    if (b.size() < 26) return std::nullopt;
    const uint32_t headerSize = littleEndian(b, 14, 4);
    if (headerSize == 12) return PictureSize{littleEndian(b, 18, 2), littleEndian(b, 20, 2)};
    const auto width = static_cast<int32_t>(littleEndian(b, 18, 4));
    const auto height = static_cast<int32_t>(littleEndian(b, 22, 4));
    // A negative height means rows top down; the size is the same.
    return PictureSize{width < 0 ? -int64_t{width} : width, height < 0 ? -int64_t{height} : height};
}

bool isFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureSize> jpegSize(std::span<const uint8_t> b) {
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF) return std::nullopt;
        const uint8_t marker = b[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame before the scan
        const uint32_t length = bigEndian(b, at + 2, 2);
        if (isFrameMarker(marker)) {
            if (at + 9 > b.size()) return std::nullopt;
            return PictureSize{bigEndian(b, at + 7, 2), bigEndian(b, at + 5, 2)};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureSize> declaredPictureSize(std::span<const uint8_t> head) {
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (head.size() >= 8 && std::memcmp(head.data(), kPng, 8) == 0) return pngSize(head);
    if (head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
        return jpegSize(head);
    if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') return bmpSize(head);
    return std::nullopt;
}

std::optional<PictureSize> declaredPictureSizeOfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<PictureSize> size;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // Every header is near the start; only a JPEG may need more.
        for (const size_t reach : {kHeadBytes, kJpegHeaderReach}) {
            std::vector<uint8_t> head(std::min<size_t>(size_t(info.st_size), reach));
            size_t got = 0;
            while (got < head.size()) {
                const ssize_t n = ::pread(fd, head.data() + got, head.size() - got, off_t(got));
                if (n <= 0) break;
                got += size_t(n);
            }
            head.resize(got);
            size = declaredPictureSize(head);
            if (size || got < reach) break;
        }
    }
    ::close(fd);
    return size;
}

}  // namespace tcmap
