// Where the map picture of a job is looked for.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// A relative map path names a file in the run folder (as when the program is
// launched from its icon), else the data folder's file of that name when only
// that one exists; an absolute or empty path stays as it is.
std::string resolveMapPath(std::string_view path, std::string_view runFolder,
                           std::string_view dataFolder = {});

// The bundled vector world when `mapPath` (resolved) is the bundled map
// picture, whose land it draws as paths; "" for any other map, which only
// its picture shows.
std::string bundledVectorWorldFor(std::string_view mapPath, std::string_view runFolder,
                                  std::string_view dataFolder = {});

}  // namespace tcmap
