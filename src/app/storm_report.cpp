#include "app/storm_report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "base/text_rules.h"
#include "track/storm_statistics.h"

namespace tcmap {

namespace {

using Json = nlohmann::ordered_json;

// Texts as the info line writes them; empty when it writes none.
std::string windText(const std::optional<StormStatistics>& s) {
    return s && s->peakWind > 0 ? std::to_string(s->peakWind) : std::string();
}
std::string pressureText(const std::optional<StormStatistics>& s) {
    return s && s->lowestPressure > 0 ? std::to_string(s->lowestPressure) : std::string();
}
std::string aceText(const std::optional<StormStatistics>& s) {
    return s && s->ace >= -kEpsilon ? formatG(std::max(s->ace, 0.0), 13) : std::string();
}

Json numberOrNull(const std::string& text) {
    if (text.empty()) return nullptr;
    return Json::parse(text);
}

Json statisticsJson(const std::optional<StormStatistics>& s) {
    Json json;
    json["peak_wind_kt"] = numberOrNull(windText(s));
    json["lowest_pressure_hpa"] = numberOrNull(pressureText(s));
    json["ace"] = numberOrNull(aceText(s));
    return json;
}

Json stormJson(const ReportRow& row, ReportShape shape) {
    Json json;
    if (shape.withMap) json["file"] = row.file;
    const StormFacts& s = row.storm;
    json["id"] = s.id;
    json["name"] = s.name;
    json["basin"] = s.basin;
    json["first"] = s.firstTime;
    json["last"] = s.lastTime;
    json["fixes"] = s.fixes;
    json.update(statisticsJson(s.statistics));
    if (shape.withMap) json["status"] = row.status;
    return json;
}

std::vector<std::string> header(ReportShape shape) {
    std::vector<std::string> columns;
    if (shape.withMap) columns.push_back("file");
    for (const char* name : {"id", "name", "basin", "first", "last", "fixes", "peak_wind_kt",
                             "lowest_pressure_hpa", "ace"}) {
        columns.push_back(name);
    }
    if (shape.withMap) columns.push_back("status");
    return columns;
}

std::vector<std::string> cells(const ReportRow& row, ReportShape shape) {
    std::vector<std::string> cells;
    const StormFacts& s = row.storm;
    if (shape.withMap) cells.push_back(row.file);
    for (const std::string& cell :
         {s.id, s.name, s.basin, s.firstTime, s.lastTime, std::to_string(s.fixes),
          windText(s.statistics), pressureText(s.statistics), aceText(s.statistics)}) {
        cells.push_back(cell);
    }
    if (shape.withMap) cells.push_back(row.status);
    return cells;
}

std::vector<std::string> totalCells(const StormStatistics& total, ReportShape shape) {
    std::vector<std::string> cells(header(shape).size());
    cells[shape.withMap ? 1 : 0] = "total";
    const size_t wind = shape.withMap ? 7 : 6;
    cells[wind] = windText(total);
    cells[wind + 1] = pressureText(total);
    cells[wind + 2] = aceText(total);
    return cells;
}

std::string csvCell(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + csvCell(cells[i]);
    return line + "\n";
}

std::string table(const std::vector<std::vector<std::string>>& lines) {
    std::vector<size_t> widths;
    for (const auto& line : lines) {
        widths.resize(std::max(widths.size(), line.size()));
        for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
    }
    std::string text;
    for (const auto& line : lines) {
        std::string row;
        for (size_t i = 0; i < line.size(); ++i) {
            row += line[i];
            if (i + 1 < line.size()) row += std::string(widths[i] - line[i].size() + 2, ' ');
        }
        while (!row.empty() && row.back() == ' ') row.pop_back();
        text += row + "\n";
    }
    return text;
}

}  // namespace

StormStatistics totalOf(const std::vector<ReportRow>& rows) {
    StormStatistics total;
    for (const ReportRow& row : rows) {
        if (row.storm.statistics) addToRun(total, *row.storm.statistics);
    }
    return total;
}

std::string formatReport(const std::vector<ReportRow>& rows, ReportFormat format,
                         ReportShape shape) {
    const StormStatistics total = totalOf(rows);
    if (format == ReportFormat::Json) {
        Json storms = Json::array();
        for (const ReportRow& row : rows) storms.push_back(stormJson(row, shape));
        if (!shape.withTotal) return storms.dump(2) + "\n";
        Json json;
        json["storms"] = std::move(storms);
        json["total"] = statisticsJson(total);
        json["total"]["storms"] = rows.size();
        return json.dump(2) + "\n";
    }
    std::vector<std::vector<std::string>> lines{header(shape)};
    for (const ReportRow& row : rows) lines.push_back(cells(row, shape));
    if (shape.withTotal) lines.push_back(totalCells(total, shape));
    if (format == ReportFormat::Table) return table(lines);
    std::string text;
    for (const auto& line : lines) text += csvLine(line);
    return text;
}

}  // namespace tcmap
