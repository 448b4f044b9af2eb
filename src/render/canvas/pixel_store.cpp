#include "render/canvas/pixel_store.h"

namespace tcmap {

namespace {

class OwnedPixelStore final : public PixelStore {
  public:
    explicit OwnedPixelStore(std::vector<uint32_t> pixels) : pixels_(std::move(pixels)) {}
    uint32_t* data() override { return pixels_.data(); }
    size_t pixelCount() const override { return pixels_.size(); }
    std::shared_ptr<PixelStore> privateCopy() const override {
        return std::make_shared<OwnedPixelStore>(pixels_);
    }

  private:
    std::vector<uint32_t> pixels_;
};

}  // namespace

std::shared_ptr<PixelStore> makeOwnedPixelStore(std::vector<uint32_t> pixels) {
    return std::make_shared<OwnedPixelStore>(std::move(pixels));
}

}  // namespace tcmap
