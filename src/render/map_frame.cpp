#include "render/map_frame.h"

#include <cmath>

#include "base/compatibility.h"
#include "base/text_rules.h"

namespace tcmap {

namespace {

int32_t trunc32(double value) {
    return truncToInt32(value);
}

std::string_view partOrEmpty(const std::vector<std::string>& parts, size_t index) {
    return index < parts.size() ? std::string_view(parts[index]) : std::string_view();
}

}  // namespace

void MapFrame::resetBounds() {
    minX = minY = maxX = maxY = 0;
    previousFix = MapPoint{};
    realFixSeen = false;
}

namespace {

void boundsToPoint(MapFrame& f, MapPoint p) {
    f.minX = f.maxX = trunc32(p.x);
    f.minY = f.maxY = trunc32(p.y);
}

}  // namespace

void MapFrame::noteLine(MapPoint p, FrameReset reset) {
    if (reset == FrameReset::LastFixOnly || (minX == 0 && minY == 0)) boundsToPoint(*this, p);
}

void MapFrame::extendBounds(MapPoint p) {
    if (boundsAllZero()) {
        boundsToPoint(*this, p);
        return;
    }
    // More than half a map width away: the track crossed the 0° seam, so the
    // frame grows on the other side, across the seam.
    const double halfWidth = static_cast<double>(mapWidth / 2) - kEpsilon;
    if (p.x - minX < -kEpsilon) {
        if (minX - p.x >= halfWidth) {
            if (maxX - (p.x + mapWidth) < -kEpsilon) maxX = trunc32(p.x + mapWidth);
        } else {
            minX = trunc32(p.x);
        }
    }
    if (p.y - minY < -kEpsilon) minY = trunc32(p.y);
    if (maxX - p.x < -kEpsilon) {
        if (p.x - maxX >= halfWidth) {
            if (minX - (p.x - mapWidth) > kEpsilon) minX = trunc32(p.x - mapWidth);
        } else {
            maxX = trunc32(p.x);
        }
    }
    if (maxY - p.y < -kEpsilon) maxY = trunc32(p.y);
}

void MapFrame::applyBoundResets(MapPoint p, SystemClass cls, TrackFileKind kind,
                                bool skipInvestActive, FrameReset reset) {
    const bool toThisFix = reset == FrameReset::LastFixOnly ||
                           (skipInvestActive && kind != TrackFileKind::ForecastFile &&
                            !realFixSeen && cls != SystemClass::NonTropical);
    if (!toThisFix) return;
    boundsToPoint(*this, p);
    realFixSeen = true;
}

void MapFrame::computeOutputSize() {
    // In double: settings may hold values near the 32-bit limits.
    outputWidth = trunc32((static_cast<double>(maxX) - minX) + 2.0 * marginX);
    outputHeight = trunc32((static_cast<double>(maxY) - minY) + 2.0 * marginY);
    // Too small: grow equally on both sides, the odd pixel on the right.
    if (outputWidth < minWidth) {
        const double q = std::trunc((static_cast<double>(outputWidth) - minWidth) / 2);
        minX = trunc32(minX + q);
        outputWidth = minWidth;
    }
    if (outputHeight < minHeight) {
        const double q = std::trunc((static_cast<double>(outputHeight) - minHeight) / 2);
        minY = trunc32(minY + q);
        outputHeight = minHeight;
    }
}

void presetFrame(MapFrame& frame, DrawMode mode, const std::vector<std::string>& regionParts) {
    const Projection map(frame.mapWidth, frame.mapHeight);
    frame.marginX = frame.marginY = 0;
    frame.minWidth = frame.minHeight = 0;
    if (mode == DrawMode::Global) {
        frame.minX = frame.minY = 0;
        frame.maxX = frame.outputWidth = frame.mapWidth;
        frame.maxY = frame.outputHeight = frame.mapHeight;
    } else if (mode == DrawMode::Regional) {
        const std::string_view west = partOrEmpty(regionParts, 1);
        frame.minY = trunc32(map.fixY(readNumber(partOrEmpty(regionParts, 0))));
        frame.minX = trunc32(map.fixX(readNumber(west), isWesternByText(west)));
        frame.maxY = frame.outputHeight =
            trunc32(map.latitudeSpan(readNumber(partOrEmpty(regionParts, 2))));
        frame.maxX = frame.outputWidth =
            trunc32(map.longitudeSpan(readNumber(partOrEmpty(regionParts, 3))));
    }
}

}  // namespace tcmap
