// Finding track files: the files of one folder, and every matching file of a
// whole folder tree, walked level by level.
//
// Name patterns know "*" and "?" and ignore the case of ASCII letters, so
// "*.dat" finds STORM.DAT as well as storm.dat (track files are often named in
// upper case). "Plain files" are regular files, also when reached through a
// symbolic link; folders, devices, sockets and broken links are never listed.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

// True when `name` matches the wildcard `pattern`.
bool matchesPattern(std::string_view name, std::string_view pattern);

// folder + "/" + name, without doubling a separator the folder already ends in.
std::string joinPath(std::string_view folder, std::string_view name);

// The names (without folder) of the plain files in `folder` with the
// extensions "dat", then "fst", then "txt"; within one extension sorted like
// sortTexts. A folder that cannot be listed gives none.
std::vector<std::string> listFolderFiles(const std::string& folder);

// Every plain file below `root` that matches one of the ";"-separated
// `patterns`: the root's matches first, then those of its subfolders level by
// level in the order the folders were found; within a folder grouped by
// pattern in the given order. A root shorter than 2 bytes or ending in a
// separator (a file-system root) gives nothing.
//
// Symbolic links to folders are never followed, so a link back to a parent
// cannot make the walk endless; files behind links are listed. A folder
// reached twice (a bind mount) is walked once.
//
// `found`, when given, is kept at the number of paths collected so far, for a
// progress display on another thread. When `stop` becomes true the walk ends
// early and returns what it has.
std::vector<std::string> findFilesBreadthFirst(const std::string& root,
                                               std::string_view patterns = "*",
                                               std::atomic<size_t>* found = nullptr,
                                               const std::atomic<bool>* stop = nullptr);

}  // namespace tcmap
