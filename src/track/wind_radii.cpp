#include "track/wind_radii.h"

#include "base/text_rules.h"
#include "track/field_text.h"
#include "track/record_fields.h"
#include "track/track_model.h"

namespace tcmap {

namespace {

using namespace atcf;

// The record of one fix while its lines are read.
class FixRecord {
  public:
    bool empty() const { return text_.empty(); }
    const std::string& text() const { return text_; }
    bool isTropical(bool tcvRule) const { return isTropicalPart(wind_, type_, tcvRule); }

    // One more line of the same fix.
    void addLine(const RecordFields& fields, std::string_view key) {
        if (!text_.empty()) text_ += ' ';
        if (readInteger(fields.trimmed(kThreshold)) < 1 || fields.trimmed(kRadiusCode).empty()) {
            return;  // no radii on this line
        }
        if (text_.empty()) start(fields, key);
        updateQuadrants(fields);
        ((text_ += fields.trimmed(kThreshold)) += ' ') += quadrants_;
    }

    void clear() {
        text_.clear();
        quadrants_.clear();
    }

  private:
    void start(const RecordFields& fields, std::string_view key) {
        // The tropical test uses the wind and type of the first line with radii.
        wind_ = readInteger(fields.trimmed(kWind));
        type_.assign(fields.trimmed(kType));
        (text_ += key) += ' ';
        (text_ += coordinateText(fields.trimmed(kLatitude), 'S')) += ' ';
        (text_ += coordinateText(fields.trimmed(kLongitude), 'W')) += ' ';
    }

    // "NEQ" gives four quadrants, "AAA" one radius for all four; any other
    // code keeps the quadrants of the previous line.
    void updateQuadrants(const RecordFields& fields) {
        const std::string_view code = fields.trimmed(kRadiusCode);
        if (code == "NEQ") {
            quadrants_.clear();
            for (size_t i = 0; i < 4; ++i) {
                if (i > 0) quadrants_ += ',';
                quadrants_ += fields.trimmed(kFirstRadius + i);
            }
        } else if (code == "AAA") {
            const std::string_view radius = fields.trimmed(kFirstRadius);
            quadrants_.clear();
            for (size_t i = 0; i < 4; ++i) {
                if (i > 0) quadrants_ += ',';
                quadrants_ += radius;
            }
        }
    }

    std::string text_;
    std::string quadrants_;
    int32_t wind_ = 0;
    std::string type_;
};

}  // namespace

std::string readWindRadii(std::string_view fileText, int32_t selection, bool tcvRule) {
    if (selection != kAllFixes && selection != kLastFixWithRadii && selection != kTropicalFixes) {
        return {};
    }
    std::string out;
    FixRecord record;
    std::string previousKey;
    std::string key;

    // A finished fix record (never empty) goes to the output, or, for the
    // last-fix selection, replaces the one kept so far.
    auto finish = [&]() {
        if (selection == kLastFixWithRadii) {
            out.assign(record.text());
            out += "\r\n";
        } else if (selection == kAllFixes || record.isTropical(tcvRule)) {
            (out += record.text()) += "\r\n";
        }
    };

    forEachRecordLine(fileText, [&](std::string_view line) {
        const RecordFields fields(line, kFirstRadius + 4);
        if (fields.size() < 17 || hasNoPosition(fields)) return;
        key.assign(fields.trimmed(kDateTime));
        key += fields.trimmed(kMinutes);
        key += '+';
        key += fields.trimmed(kForecastHour);
        if (key != previousKey && !record.empty()) {
            finish();
            record.clear();
        }
        record.addLine(fields, key);
        previousKey.swap(key);
    });
    if (!record.empty()) finish();
    return out;
}

}  // namespace tcmap
