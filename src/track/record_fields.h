// Walking the comma-separated records of an ATCF track file without copying
// them: lines and fields are views into the file text.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/text_rules.h"

namespace tcmap {

// Field positions of an ATCF record (b-deck and a-deck share the layout).
namespace atcf {
enum Field : size_t {
    kBasin = 0,
    kNumber = 1,
    kDateTime = 2,      // the initial time in a forecast file
    kMinutes = 3,       // the aid number in a forecast file
    kTechnique = 4,     // BEST, or the aid of a forecast
    kForecastHour = 5,  // tau
    kLatitude = 6,
    kLongitude = 7,
    kWind = 8,
    kPressure = 9,
    kType = 10,
    kThreshold = 11,  // wind-radii threshold of the record
    kRadiusCode = 12,
    kFirstRadius = 13,
    kGust = 20,
    kSubregion = 22,
    kName = 27,
};
}  // namespace atcf

// The text of a track file: its bytes up to the first NUL, unchanged.
std::string_view textBeforeNul(std::string_view bytes);

// The text with every carriage return removed. Returns the text itself when it
// holds none; otherwise the result lives in `storage`.
std::string_view withoutCarriageReturns(std::string_view text, std::string& storage);

// Calls `visit` with each line of the text (split on "\n" after every carriage
// return has been removed).
template <class Visit>
void forEachRecordLine(std::string_view text, Visit&& visit) {
    std::string storage;
    PieceCursor lines(withoutCarriageReturns(text, storage), "\n");
    std::string_view line;
    while (lines.next(line)) visit(line);
}

// The first comma-separated fields of one record (at most 48, the most any
// reader looks at). A reader asks only for as many as it uses: size() is then
// the smaller of the record's field count and that number, which still
// answers every "at least k fields" test for k up to it, and the fields it
// holds are the same. A line of thousands of fields costs no more than
// finding its end.
class RecordFields {
  public:
    static constexpr size_t kFieldLimit = 48;

    RecordFields(std::string_view line, size_t fieldsUsed)
        : count_(splitTextInto(line, ",",
                               std::span(fields_).first(std::min(fieldsUsed, kFieldLimit)))) {}

    size_t size() const { return count_; }
    bool has(size_t index) const { return index < count_; }
    // The field as written; empty when the record is shorter.
    std::string_view raw(size_t index) const { return has(index) ? fields_[index] : ""; }
    // The field without its surrounding spaces; empty when the record is shorter.
    std::string_view trimmed(size_t index) const { return trimView(raw(index)); }

  private:
    std::array<std::string_view, kFieldLimit> fields_{};
    size_t count_;
};

// True when the record's latitude and longitude both read 0 ("0N", "0W"):
// the a-deck mark of an aid that forecasts intensity without a position.
// Readers skip such a record as if it were too short.
inline bool hasNoPosition(const RecordFields& fields) {
    return readNumber(fields.trimmed(atcf::kLatitude)) == 0.0 &&
           readNumber(fields.trimmed(atcf::kLongitude)) == 0.0;
}

}  // namespace tcmap
