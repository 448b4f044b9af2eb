#include "render/layers/layer_log.h"

namespace tcmap {

std::string progressLine(std::string_view text) {
    std::string line(text);
    line += " ..";
    return line;
}

}  // namespace tcmap
