#include "track/ibtracs_agencies.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "base/text_rules.h"
#include "track/cma_archive.h"
#include "track/ibtracs_archive.h"
#include "track/jma_archive.h"

namespace tcmap {

namespace {

constexpr std::array<std::string_view, 14> kAgencies{
    "USA",  "TOKYO",      "CMA",   "HKO",    "NEWDELHI", "REUNION", "BOM",
    "NADI", "WELLINGTON", "DS824", "TD9636", "TD9635",   "NEUMANN", "MLC"};

// The column that names an agency's class of the storm, and how it reads.
enum class StatusKind { None, AtcfCode, JmaGrade, CmaCategory };

StatusKind statusKindOf(std::string_view agency) {
    if (agency == "USA") return StatusKind::AtcfCode;
    if (agency == "TOKYO") return StatusKind::JmaGrade;
    if (agency == "CMA") return StatusKind::CmaCategory;
    return StatusKind::None;
}

std::string_view statusColumnOf(std::string_view agency) {
    switch (statusKindOf(agency)) {
        case StatusKind::AtcfCode:
            return "_STATUS";
        case StatusKind::JmaGrade:
            return "_GRADE";
        case StatusKind::CmaCategory:
            return "_CAT";
        case StatusKind::None:
            break;
    }
    return {};
}

bool hasQuadrantRadii(std::string_view agency) {
    return agency == "USA" || agency == "REUNION" || agency == "BOM";
}

int32_t roundedInteger(std::optional<double> value) {
    return value && std::abs(*value) < 1e6 ? static_cast<int32_t>(std::lround(*value)) : 0;
}

double longitudeInRange(double lon) {
    while (lon > 180) lon -= 360;
    while (lon < -180) lon += 360;
    return lon;
}

}  // namespace

std::span<const std::string_view> ibtracsAgencies() {
    return kAgencies;
}

IbtracsAgencyColumns::IbtracsAgencyColumns(const CsvColumns& header, std::string_view agency)
    : agency_(agency) {
    const std::string prefix(agency);
    latitude_ = header.find(prefix + "_LAT");
    longitude_ = header.find(prefix + "_LON");
    wind_ = header.find(prefix + "_WIND");
    pressure_ = header.find(prefix + "_PRES");
    const std::string_view status = statusColumnOf(agency);
    status_ = status.empty() ? -1 : header.find(prefix + std::string(status));
    quadrantRadii_.fill(-1);
    jmaRadii_.fill(-1);
    constexpr std::array<std::string_view, 3> kThresholds{"34", "50", "64"};
    constexpr std::array<std::string_view, 4> kQuadrants{"NE", "SE", "SW", "NW"};
    if (hasQuadrantRadii(agency)) {
        for (size_t t = 0; t < 3; ++t) {
            for (size_t q = 0; q < 4; ++q) {
                quadrantRadii_[t * 4 + q] = header.find(
                    prefix + "_R" + std::string(kThresholds[t]) + "_" + std::string(kQuadrants[q]));
            }
        }
    }
    if (agency == "TOKYO") {
        constexpr std::array<std::string_view, 2> kJmaThresholds{"30", "50"};
        constexpr std::array<std::string_view, 3> kParts{"DIR", "LONG", "SHORT"};
        for (size_t t = 0; t < 2; ++t) {
            for (size_t p = 0; p < 3; ++p) {
                jmaRadii_[t * 3 + p] = header.find(prefix + "_R" + std::string(kJmaThresholds[t]) +
                                                   "_" + std::string(kParts[p]));
            }
        }
    }
}

std::string_view IbtracsAgencyColumns::field(const std::vector<std::string_view>& fields,
                                             int column) const {
    return column >= 0 && static_cast<size_t>(column) < fields.size() ? trimView(fields[column])
                                                                      : std::string_view();
}

bool IbtracsAgencyColumns::read(const std::vector<std::string_view>& fields,
                                std::string_view nature, ArchiveFix& fix) const {
    const std::optional<double> lat = strictNumber(field(fields, latitude_));
    const std::optional<double> lon = strictNumber(field(fields, longitude_));
    if (!lat || !lon || std::abs(*lat) > 90 || std::abs(*lon) > 720) return false;
    fix.latTenths = static_cast<int32_t>(std::lround(*lat * 10));
    fix.lonTenths = static_cast<int32_t>(std::lround(longitudeInRange(*lon) * 10));
    fix.wind = roundedInteger(strictNumber(field(fields, wind_)));
    fix.pressure = roundedInteger(strictNumber(field(fields, pressure_)));

    const std::string_view status = field(fields, status_);
    const std::optional<int32_t> code = strictInteger(status);
    switch (statusKindOf(agency_)) {
        case StatusKind::AtcfCode:
            fix.type.assign(status);
            break;
        case StatusKind::JmaGrade:
            if (code) fix.type = jmaTypeCode(*code, fix.wind);
            break;
        case StatusKind::CmaCategory:
            if (code) fix.type = cmaTypeCode(*code);
            break;
        case StatusKind::None:
            break;
    }
    if (status.empty() || (statusKindOf(agency_) != StatusKind::AtcfCode && !code)) {
        fix.type = typeFromNature(nature, fix.wind);
    }

    fix.radii = {};
    fix.radiiThresholdsKt = {34, 50, 64};
    if (hasQuadrantRadii(agency_)) {
        for (size_t i = 0; i < 12; ++i) {
            fix.radii[i / 4][i % 4] =
                std::max(0, roundedInteger(strictNumber(field(fields, quadrantRadii_[i]))));
        }
    } else if (agency_ == "TOKYO") {
        fix.radiiThresholdsKt = {30, 50, 0};
        for (size_t t = 0; t < 2; ++t) {
            const auto direction = strictInteger(field(fields, jmaRadii_[t * 3]));
            const auto longest = strictInteger(field(fields, jmaRadii_[t * 3 + 1]));
            const auto shortest = strictInteger(field(fields, jmaRadii_[t * 3 + 2]));
            if (direction && longest && shortest) {
                fix.radii[t] = jmaQuadrantRadii(*direction, *longest, *shortest);
            }
        }
    }
    return true;
}

}  // namespace tcmap
