// The JPEG decoder on any bytes: either a picture within the size limits or
// a clean refusal with nothing held.
#include <cstddef>
#include <cstdint>

#include "decoder_fuzz.h"
#include "render/canvas/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tcmap::fuzz::checkDecoder(tcmap::decodeJpeg, data, size);
}
