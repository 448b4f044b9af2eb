// The output picture of a job and the map copies painted into it across the
// 0° seam.
#include <cstdint>
#include <new>

#include "base/text_rules.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"
#include "render/map_frame.h"

namespace tcmap {

namespace {

// Fill of the blank output picture.
constexpr uint32_t kBlankColour = rgb(15, 15, 15);

// The status a failed drawing call left, never 0.
int32_t failedStatus(const Canvas& canvas) {
    const int32_t s = canvas.lastStatus();
    return s != status::kOk ? s : status::kGenericError;
}

}  // namespace

int32_t createOutputPicture(Picture& output, const Picture& map, DrawMode mode,
                            const MapFrame& frame) {
    output.release();
    try {
        if (mode == DrawMode::Global) {
            return output.copyFrom(map) ? status::kOk : status::kOutOfMemory;
        }
        const int32_t width = frame.outputWidth;
        const int32_t height = frame.outputHeight;
        if (width <= 0 || height <= 0) return status::kInvalidParameter;
        // Checked here as well as by the picture: an absurd frame must never
        // reach an allocation.
        if (width > kMaxPictureSide || height > kMaxPictureSide ||
            static_cast<int64_t>(width) * height > kMaxPicturePixels) {
            return status::kOutOfMemory;
        }
        return output.create(width, height, toArgb(kBlankColour), kBmpFormatId);
    } catch (const std::bad_alloc&) {
        output.release();
        return status::kOutOfMemory;
    }
}

int32_t paintMap(Canvas& canvas, const Picture& map, const MapFrame& frame) {
    const double w = frame.mapWidth;
    const double h = frame.mapHeight;
    const double offX = static_cast<double>(frame.marginX) - frame.minX;
    const double offY = static_cast<double>(frame.marginY) - frame.minY;
    // The copy left of the main one shows what lies west of the 0° seam.
    if (static_cast<double>(frame.minX) - frame.marginX <= kEpsilon) {
        if (!canvas.drawPicture(map, toSingle(offX - w), toSingle(offY), toSingle(w),
                                toSingle(h))) {
            return failedStatus(canvas);
        }
    }
    if (!drawMapCopy(canvas, map, offX + w, offY, w, h)) return failedStatus(canvas);
    if (!drawMapCopy(canvas, map, offX, offY, w, h)) return failedStatus(canvas);
    return status::kOk;
}

}  // namespace tcmap
