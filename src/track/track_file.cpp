#include "track/track_file.h"

#include <string>

#include "base/text_rules.h"

namespace tcmap {

TrackFileKind trackFileKind(std::string_view path) {
    const size_t separator = path.find_last_of("/\\");
    if (separator == std::string_view::npos) return TrackFileKind::OtherFile;
    const std::string_view name = path.substr(separator + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return TrackFileKind::OtherFile;
    const std::string extension = toLowerAscii(name.substr(dot + 1));
    if (extension == "dat" || extension == "txt") return TrackFileKind::BestTrackFile;
    if (extension == "fst") return TrackFileKind::ForecastFile;
    return TrackFileKind::OtherFile;
}

}  // namespace tcmap
