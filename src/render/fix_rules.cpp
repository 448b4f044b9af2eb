#include "render/fix_rules.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/text_rules.h"

namespace tcmap {

namespace {

// Tokens 0 to 7 are all a line is read for; the eighth piece also tells
// whether the line has a type code.
constexpr size_t kTokensRead = 8;

// The time token without any "P+" (forecast hours are written "P+12").
std::string timeWithoutPrefix(std::string_view token) {
    std::string time;
    time.reserve(token.size());
    size_t start = 0;
    for (size_t at = token.find("P+"); at != std::string_view::npos; at = token.find("P+", start)) {
        time.append(token.substr(start, at - start));
        start = at + 2;
    }
    time.append(token.substr(start));
    return time;
}

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
      multipleFile_(settings.multipleFile),
      skipInvest_(settings.skipInvest) {}

void FixCollector::beginFile(TrackFileKind kind, size_t lineCount) {
    kind_ = kind;
    fileHasUsableLine_ = false;
    reserveRows(fixes_, lineCount);
}

void FixCollector::addLine(std::string_view line) {
    std::array<std::string_view, kTokensRead> t;
    const size_t count = splitTextInto(line, " ", t);
    if (count >= 1 && t[0] == "@") return;
    if (count < 6) return;

    // With a reset per file, the frame starts again only once the file has a
    // usable line, so a file without one leaves the previous file's frame.
    if (!fileHasUsableLine_) {
        fileHasUsableLine_ = true;
        if (normal_ && multipleFile_ == 1) frame_.resetBounds();
    }

    const MapPoint p =
        fixPosition(t[3], t[4], frame_.previousFix.x, frame_.mapWidth, frame_.mapHeight);
    if (frame_.previousFix.x == 0 && frame_.previousFix.y == 0) frame_.previousFix = p;
    if (normal_) frame_.noteLine(p, multipleFile_);

    const bool synoptic = isSynopticTime(t[2]);
    if (tcv_ || allPoints_ || synoptic) {
        if (!tcv_) fixes_.synoptic.push_back(allPoints_ ? (synoptic ? 1 : 0) : 1);
        if (normal_) frame_.extendBounds(p);
        fixes_.seq.push_back(static_cast<int64_t>(fixes_.x.size()));
        fixes_.x.push_back(p.x);
        fixes_.y.push_back(p.y);
        const int32_t wind = readInteger(t[5]);
        const std::string_view type = count >= 8 ? t[7] : std::string_view();
        const SystemClass cls = systemClass(type, wind, tcv_);
        fixes_.cls.push_back(static_cast<int32_t>(cls));
        fixes_.type.emplace_back(type);
        fixes_.time.push_back(timeWithoutPrefix(t[2]));
        fixes_.stormId.push_back(toUpperAscii(t[0]));
        fixes_.kind.push_back(static_cast<int32_t>(kind_));
        if (normal_) frame_.applyBoundResets(p, cls, kind_, skipInvest_, multipleFile_);
        fixes_.wind.push_back(wind);
        fixes_.continues.push_back(1);
    }
    frame_.previousFix = p;
}

void FixCollector::endFileWithLines() {
    skipInvest_ = false;
    if (!fixes_.continues.empty()) fixes_.continues.back() = 0;
}

}  // namespace tcmap
