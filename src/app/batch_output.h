// The end of a batch run: the map at the output path (a PNG, or an SVG or
// PDF by its name), or a failure report in its place, so a script never
// mistakes an old picture for this run's map.
#pragma once

#include <string>

namespace tcmap {

class BatchLog;
class LanguagePack;
struct DrawResult;

struct BatchFinish {
    int exitCode = 1;            // 0 when a map was saved, 1 otherwise
    bool reportWritten = false;  // a failure report reached the output
    int reportError = 0;         // errno of the report's write when it did not
    bool chartFailed = false;    // the map was saved, the chart it asked for was not
};

// Saves the drawn map; when there is none or it cannot be written, writes the
// failure report ("~SUSPENDED - Track Map Failure.", an empty line, then
// every message `log` collected, the reason of the failed save included) in
// place of whatever is at the output path.
BatchFinish finishBatch(const DrawResult& result, const std::string& output,
                        const LanguagePack& lang, BatchLog& log);

}  // namespace tcmap
