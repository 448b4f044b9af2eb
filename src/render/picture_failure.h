// The three-line report of an output picture that could not be made: not
// created, the map not painted onto it, or not stored.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/draw.h"

namespace tcmap {

class JobLog;
class LanguagePack;

// The failure text (failure colour), the error-status text + ": " + the
// status text (warning colour), and the advice (orange failure colour): the
// warnings a batch run's failure report collects.
std::array<DrawMessage, 3> pictureFailureMessages(const LanguagePack& lang, int32_t status);

// A picture that could not be written: the system's reason (errno `error`)
// takes the place of the status text, and the file that could not be
// written that of the advice, which would send the user to the map picture.
std::array<DrawMessage, 3> pictureWriteFailureMessages(const LanguagePack& lang,
                                                       const std::string& path, int error);

// Writes the three to the job log, and the failure text to the info line.
void reportPictureFailure(JobLog& log, const LanguagePack& lang, int32_t status);

}  // namespace tcmap
