// Completing a folder path typed into the file chooser's path field.
#pragma once

#include <string>

namespace tcmap {

// `typed` with its last part lengthened as far as the subfolders of its
// parent folder agree: "/data/at" becomes "/data/atcf/" when atcf is the only
// subfolder starting with "at", and "/data/a" becomes "/data/a_" when every
// match starts with "a_". Names are compared as the file system spells them.
// Unchanged when nothing matches or the parent cannot be read.
std::string completeFolderPath(const std::string& typed);

}  // namespace tcmap
