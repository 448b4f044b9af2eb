#include "track/radii_grouping.h"

namespace tcmap {

std::optional<WindRadii> RadiiGrouping::add(const RadiiLine& line) {
    if (line.key != previousKey_) close();
    previousKey_.assign(line.key);
    if (!line.givesRadii) {
        // Inside a record, a line without radii still takes a place among
        // the rows, which puts the rows after it out of step.
        if (isOpen_) {
            open_.rows.push_back(RadiiRow{});
            ++places_;
        }
        return std::nullopt;
    }
    if (!isOpen_) {
        isOpen_ = true;
        open_ = RadiiRecord{std::string(line.key),  line.latitude,
                            line.longitude,         line.wind,
                            std::string(line.type), {}};
        quadrants_ = {};
        quadrantsComplete_ = false;
        places_ = 0;
    }
    switch (line.rule) {
        case RadiiLine::Quadrants::Four:
            quadrants_ = line.quadrantsNm;
            quadrantsComplete_ = line.lastQuadrantGiven;
            break;
        case RadiiLine::Quadrants::One:
            quadrants_.fill(line.quadrantsNm[0]);
            quadrantsComplete_ = line.lastQuadrantGiven;
            break;
        case RadiiLine::Quadrants::Kept:
            break;
    }
    const bool inStep = places_ % 2 == 0;
    open_.rows.push_back(RadiiRow{line.thresholdKt, quadrants_, inStep && quadrantsComplete_});
    places_ += 2;
    return WindRadii{line.thresholdKt, quadrants_};
}

void RadiiGrouping::close() {
    if (!isOpen_) return;
    records_.push_back(std::move(open_));
    open_ = RadiiRecord{};
    isOpen_ = false;
}

std::vector<RadiiRecord> RadiiGrouping::finish() {
    close();
    return std::move(records_);
}

}  // namespace tcmap
