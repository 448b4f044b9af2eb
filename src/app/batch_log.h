// What a batch run shows on standard error while its job runs, and the
// failure report it collects: every line of the job log as it is written; a
// warning also joins the report, which replaces the map when none is saved.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "render/draw.h"

namespace tcmap {

class BatchLog : public DrawProgress {
  public:
    explicit BatchLog(std::ostream& err) : err_(err) {}

    // Each line of a progress line or drawing error; a warning's non-empty
    // lines, and the warning joins the failure report.
    void message(const DrawMessage& message) override;
    // A batch run shows the statistics once, at the end.
    void infoLine(const StormStatistics&, const std::string*) override {}

    // A message of the run itself (a failed save) for the failure report,
    // shown like a warning. `text` ends in CR LF.
    void addFailure(const std::string& text);

    // The messages collected, each ending in CR LF.
    const std::string& failureLog() const { return failureLog_; }

  private:
    std::ostream& err_;
    std::string failureLog_;
};

// The lines of a text broken at CR LF or LF. A break at the very end starts no
// further line; an empty text is one empty line.
std::vector<std::string> splitLogLines(const std::string& text);

}  // namespace tcmap
