// What a caller may change about how a draw job runs: the canvas it draws
// with (tests draw on a recording canvas) and where its stage timings go.
#pragma once

#include <functional>
#include <memory>

#include "render/draw_job.h"

namespace tcmap {

class Canvas;
class JobTimings;
class Picture;

struct DrawJobOptions {
    // Opens a canvas on the output picture. Empty: the Cairo canvas. A canvas
    // whose lastStatus() is not 0 right after opening fails the job like a
    // picture that cannot be created.
    std::function<std::shared_ptr<Canvas>(Picture& output)> openCanvas;
    // Receives the duration of each stage the job reached.
    JobTimings* timings = nullptr;
};

void runDrawJob(AppState& app, MainView& view, DrawMode mode, const DrawJobOptions& options);

}  // namespace tcmap
