// Where a picture's pixels live: owned memory, or a file mapped into memory
// that several pictures may share. A shared store is only read; a picture
// that must write takes a private copy first. A picture asks for the rows it
// is about to read, so a mapped file is checked only where it is read.
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
    // Makes sure rows [firstRow, endRow) hold the right pixels before they
    // are read (a cache file checks them, and puts decoded pixels in place of
    // damaged ones). False when that is not possible.
    virtual bool prepareRows(int /*firstRow*/, int /*endRow*/) { return true; }
    // After reading prepared rows: false when they may have changed under
    // the read (a cache file cut short or overwritten meanwhile); they are then
    // put right and must be read again.
    virtual bool rowsUnchanged(int /*firstRow*/, int /*endRow*/) { return true; }
};

std::shared_ptr<PixelStore> makeOwnedPixelStore(std::vector<uint32_t> pixels);

}  // namespace tcmap
