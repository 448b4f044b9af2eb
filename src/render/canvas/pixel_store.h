// Where a picture's pixels live: owned memory, or a file mapped into memory
// that several pictures may share. A shared store is only read; a picture
// that must write takes a private copy first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tcmap {

class PixelStore {
  public:
    virtual ~PixelStore() = default;
    virtual uint32_t* data() = 0;
    virtual size_t pixelCount() const = 0;
    // A copy sharing nothing with this store (for a mapped file, a fresh
    // copy-on-write mapping); throws std::bad_alloc when memory runs out.
    virtual std::shared_ptr<PixelStore> privateCopy() const = 0;
};

std::shared_ptr<PixelStore> makeOwnedPixelStore(std::vector<uint32_t> pixels);

}  // namespace tcmap
