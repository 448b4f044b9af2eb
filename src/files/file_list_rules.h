// The rules of the file list window, without any widget: the row each track
// file shows, the status line, and the changes the buttons and drops make to
// the list of track files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

class LanguagePack;

// The type column's texts, looked up once per refill.
struct FileTypeTexts {
    std::string bestTrack;           // "dat" and "txt"
    std::string forecast;            // "fst"
    std::string other;               // anything else, and a path without a folder
    std::string archive;             // a HURDAT2, IBTrACS or CMA archive, by its first line
    std::string folder;              // a folder (dropped as a whole)
    std::string folderFiles = "%d";  // its size column: the number of track files in it

    static FileTypeTexts from(const LanguagePack& pack);
};

// One table row: number from 1, name, folder, type text, size in bytes (-1
// when the file is missing; for a folder, the number of track files in it).
struct FileListRow {
    std::string number;
    std::string name;
    std::string folder;
    std::string type;
    std::string size;
};

FileListRow fileListRow(size_t position, const std::string& path, const FileTypeTexts& types);

// The status line: `countFormat` (a printf format taking the number of
// entries) with fewer than two rows selected, otherwise "selected / entries".
std::string listStatusText(std::string_view countFormat, size_t selectedRows, size_t entries);

// Removes the entries shown in the given table rows (counted from 0). Rows
// outside the list and repeated rows are ignored.
void removeSelectedFiles(std::vector<std::string>& trackFiles, const std::vector<int>& rows);

// Removes every entry equal (byte for byte) to an earlier one; the rest keep
// their order.
void removeDuplicateFiles(std::vector<std::string>& trackFiles);

// Adds dropped files: `droppedText` holds the paths separated by CR LF; they
// are sorted and appended after the entries already listed.
void dropOnFileList(std::vector<std::string>& trackFiles, std::string_view droppedText);

// Replaces the folder listed at `row` (from 0) with the track files it
// holds, sorted as the chooser lists them. False, with the list unchanged,
// when that entry is not a folder.
bool expandFolderEntry(std::vector<std::string>& trackFiles, size_t row);

// The entry to open when exactly one row is selected.
std::optional<std::string> fileToOpen(const std::vector<std::string>& trackFiles,
                                      const std::vector<int>& selectedRows);

}  // namespace tcmap
