// A GridData file of any bytes drawn on a small picture through Cairo, so
// that the pens and coordinates a file can ask for reach the real canvas.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "render/canvas/cairo_canvas.h"
#include "render/canvas/picture.h"
#include "render/layers/grid_layer.h"
#include "render/layers/layer_log.h"

namespace {

class SilentLog : public tcmap::LayerLog {
  public:
    void writeProgress(const std::string&, uint32_t) override {}
    void updateInfoLine(const std::string&, bool) override {}
    int64_t countDrawingError() override { return ++errors_; }
    void writeDrawingError(const std::string&) override {}

  private:
    int64_t errors_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tcmap;
    const std::string path =
        fuzz::ScratchFolder::instance().put("GridData", fuzz::asText(data, size));
    Picture picture;
    if (picture.create(96, 48, 0xFF0F0F0F, kBmpFormatId) != status::kOk) return 0;
    CairoCanvas canvas(picture);
    SilentLog log;
    // A 720-pixel map seen through a 96 x 48 window with margins.
    drawGrid(canvas, log, path, Projection(720, 360), 300, 8, 100, 4);
    return 0;
}
