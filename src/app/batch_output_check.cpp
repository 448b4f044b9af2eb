#include "app/batch_output_check.h"

#include <sys/stat.h>

#include "app/gis_format.h"
#include "base/output_file.h"

namespace tcmap {

namespace {

constexpr int kUnusableOutputExit = 1;
constexpr int kOutputIsInputExit = 2;

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::optional<BatchOutputRefusal> checkBatchOutput(const std::string& output,
                                                   const std::vector<std::string>& trackFiles,
                                                   const std::string& namedSettings,
                                                   const std::vector<RunInput>& otherInputs) {
    const OutputTarget target = resolveOutput(output);
    // A shapefile output is a folder of its own, replaced as a whole.
    if (target.kind == OutputKind::Folder && gisFormatOf(output) != GisFormat::ShapefileFolder) {
        return BatchOutputRefusal{
            kUnusableOutputExit,
            "tcmap: the output path " + output + " is a folder; name a file for the track map."};
    }
    if (target.kind == OutputKind::Unusable) {
        return BatchOutputRefusal{
            kUnusableOutputExit,
            "tcmap: the output path " + output + " is neither a file, a device nor a FIFO."};
    }
    if (target.kind == OutputKind::BlockDevice) {
        return BatchOutputRefusal{kOutputIsInputExit,
                                  "tcmap: the output path " + output +
                                      " is a block device; a map is never written onto a disk."};
    }
    if (target.kind == OutputKind::PlantedLink) {
        return BatchOutputRefusal{
            kOutputIsInputExit,
            "tcmap: the output path " + output +
                " is a link another user made in a shared sticky folder; it is not followed."};
    }
    // Only a file the run would replace can be one of its inputs.
    struct stat outputInfo {};
    if (target.kind != OutputKind::File || ::stat(target.path.c_str(), &outputInfo) != 0) {
        return std::nullopt;
    }
    for (const std::string& track : trackFiles) {
        struct stat info {};
        if (::stat(track.c_str(), &info) == 0 && sameFile(info, outputInfo)) {
            return BatchOutputRefusal{kOutputIsInputExit, "tcmap: the output path " + output +
                                                              " is the track file " + track +
                                                              "; nothing was written."};
        }
    }
    struct stat settingsInfo {};
    if (::stat(namedSettings.c_str(), &settingsInfo) == 0 && sameFile(settingsInfo, outputInfo)) {
        return BatchOutputRefusal{kOutputIsInputExit, "tcmap: the output path " + output +
                                                          " is the settings file " + namedSettings +
                                                          "; nothing was written."};
    }
    for (const RunInput& input : otherInputs) {
        struct stat info {};
        if (::stat(input.path.c_str(), &info) == 0 && sameFile(info, outputInfo)) {
            return BatchOutputRefusal{kOutputIsInputExit, "tcmap: the output path " + output +
                                                              " is " + input.what + " " +
                                                              input.path +
                                                              ", which the run reads; nothing "
                                                              "was written."};
        }
    }
    return std::nullopt;
}

}  // namespace tcmap
