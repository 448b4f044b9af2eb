// The check that follows drawing calls: a failed last operation becomes a red
// line in the job log and the status bar, tagged with the place it came from,
// and the job goes on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

class Canvas;
class LayerLog;

// Text of a drawing status; empty for 0, "未知错误" outside 1..21.
std::string statusText(int32_t status);

// Report the canvas's last status when it is a failure: count it and write
// "An error occurred while using GDI+: Count = N Position = #<tag> Text = <text>"
// in red to the job log and the info line. Only the status of the most
// recent operation is looked at; it is not reset.
void checkDrawStatus(std::string_view tag, const Canvas& canvas, LayerLog& log);

}  // namespace tcmap
