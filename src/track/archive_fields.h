// Small field rules the archive readers share: strict numbers (a field that
// is not a number makes its row unusable, rather than silently reading 0),
// words split on blanks, and CSV columns found by their header names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/strict_number.h"

namespace tcmap {

// The words of a line separated by spaces and tabs.
std::vector<std::string_view> whitespaceWords(std::string_view line);

// The comma-separated fields of a line, as views into it.
void splitCsv(std::string_view line, std::vector<std::string_view>& fields);

// Column positions of a CSV header, by name (ASCII case ignored).
class CsvColumns {
  public:
    explicit CsvColumns(std::string_view header);
    // The column's position, or -1 when the header does not name it.
    int find(std::string_view name) const;

  private:
    std::unordered_map<std::string, int> positions_;
};

// ASCII case ignored.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tcmap
