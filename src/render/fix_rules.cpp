#include "render/fix_rules.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/compatibility.h"
#include "base/text_rules.h"

namespace tcmap {

namespace {

template <typename T>
void reserveMore(std::vector<T>& list, size_t wanted) {
    if (wanted > list.capacity()) list.reserve(std::max(wanted, list.capacity() * 2));
}

// Room for `more` rows; capacity at least doubles, so many small files still
// cost linear time.
void reserveRows(FixTable& t, size_t more) {
    if (more == 0) return;
    const size_t wanted = t.size() + more;
    reserveMore(t.seq, wanted);
    reserveMore(t.x, wanted);
    reserveMore(t.y, wanted);
    reserveMore(t.cls, wanted);
    reserveMore(t.type, wanted);
    reserveMore(t.time, wanted);
    reserveMore(t.stormId, wanted);
    reserveMore(t.kind, wanted);
    reserveMore(t.wind, wanted);
    reserveMore(t.continues, wanted);
    reserveMore(t.synoptic, wanted);
}

}  // namespace

FixCollector::FixCollector(FixTable& fixes, MapFrame& frame, DrawMode mode, bool tcvStyle,
                           const JobSettings& settings)
    : fixes_(fixes),
      frame_(frame),
      normal_(mode == DrawMode::Normal),
      tcv_(tcvStyle),
      allPoints_(settings.allPoints),
      frameReset_(settings.frameReset),
      skipInvest_(settings.skipInvest) {}

void FixCollector::beginFile(TrackFileKind kind, size_t lineCount) {
    kind_ = kind;
    fileHasUsableLine_ = false;
    reserveRows(fixes_, lineCount);
}

void FixCollector::addFix(const Fix& fix) {
    // A storm id of "@" marks a record the drawing has always passed over.
    if (!fix.hasWind() || isPassedOverStormId(fix.stormId())) return;

    // With a reset per file, the frame starts again only once the file has a
    // placed fix, so a file without one leaves the previous file's frame.
    if (!fileHasUsableLine_) {
        fileHasUsableLine_ = true;
        if (normal_ && frameReset_ == FrameReset::EachFile) frame_.resetBounds();
    }

    const Projection map(frame_.mapWidth, frame_.mapHeight);
    const MapPoint p = map.fix(fix.latitude, fix.longitude, frame_.previousFix.x);
    if (frame_.previousFix.x == 0 && frame_.previousFix.y == 0) frame_.previousFix = p;
    if (normal_) frame_.noteLine(p, frameReset_);

    const bool forecast = kind_ == TrackFileKind::ForecastFile;
    // A forecast point's time is its hour after the cycle.
    const bool synoptic = !forecast && isSynopticTime(fix.time);
    if (tcv_ || allPoints_ || synoptic) {
        if (!tcv_) fixes_.synoptic.push_back(allPoints_ ? (synoptic ? 1 : 0) : 1);
        if (normal_) frame_.extendBounds(p);
        fixes_.seq.push_back(static_cast<int64_t>(fixes_.x.size()));
        fixes_.x.push_back(p.x);
        fixes_.y.push_back(p.y);
        const std::string_view type =
            fix.hasType() ? std::string_view(fix.type) : std::string_view();
        const SystemClass cls = systemClass(type, fix.wind, tcv_);
        fixes_.cls.push_back(static_cast<int32_t>(cls));
        fixes_.type.emplace_back(type);
        fixes_.time.push_back(forecast ? std::to_string(fix.forecastHour) : fix.time);
        fixes_.stormId.push_back(toUpperAscii(fix.stormId()));
        fixes_.kind.push_back(static_cast<int32_t>(kind_));
        if (normal_) frame_.applyBoundResets(p, cls, kind_, skipInvest_, frameReset_);
        fixes_.wind.push_back(fix.wind);
        fixes_.continues.push_back(1);
    }
    frame_.previousFix = p;
}

void FixCollector::endFileWithLines() {
    skipInvest_ = false;
    if (!fixes_.continues.empty()) fixes_.continues.back() = 0;
}

}  // namespace tcmap
