#include "files/file_list_rules.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "base/file_io.h"
#include "base/text_rules.h"
#include "files/file_chooser_rules.h"
#include "files/folder_walk.h"
#include "files/sort_texts.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "track/archive_kind.h"

namespace tcmap {

namespace {

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

FileTypeTexts FileTypeTexts::from(const LanguagePack& pack) {
    // The unsupported-file text doubles as a message with the file name in
    // it; as a type it is shown without a name.
    return {pack.text(TextId::BestTrackType),
            pack.text(TextId::ForecastType),
            trimText(safeFormat(pack.text(TextId::UnsupportedFile), {""})),
            pack.text(TextId::ArchiveType),
            pack.text(TextId::FolderType),
            pack.text(TextId::FolderTrackFiles)};
}

FileListRow fileListRow(size_t position, const std::string& path, const FileTypeTexts& types) {
    FileListRow row;
    row.number = std::to_string(position);
    const size_t separator = path.find_last_of("/\\");
    if (separator != std::string::npos) {
        row.folder = path.substr(0, separator);
        row.name = path.substr(separator + 1);
    }
    if (!row.name.empty() && isFolder(path)) {
        // A folder is no track file: say so, and how many it holds.
        row.type = types.folder;
        row.size = safeFormat(types.folderFiles, {listFolderFiles(path).size()});
        return row;
    }
    const size_t dot = row.name.rfind('.');
    const std::string extension =
        dot == std::string::npos ? "" : toLowerAscii(row.name.substr(dot + 1));
    if (!row.name.empty() && archiveKind(path) != ArchiveKind::None) {
        row.type = types.archive;
    } else if (extension == "dat" || extension == "txt") {
        row.type = types.bestTrack;
    } else if (extension == "fst") {
        row.type = types.forecast;
    } else {
        row.type = types.other;
    }
    row.size = std::to_string(fileSize(path));
    return row;
}

std::string listStatusText(std::string_view countFormat, size_t selectedRows, size_t entries) {
    if (selectedRows < 2) return safeFormat(countFormat, {entries});
    return std::to_string(selectedRows) + " / " + std::to_string(entries);
}

bool expandFolderEntry(std::vector<std::string>& trackFiles, size_t row) {
    if (row >= trackFiles.size() || !isFolder(trackFiles[row])) return false;
    const std::string folder = withoutTrailingSeparator(trackFiles[row]);
    std::vector<std::string> held;
    for (const std::string& name : listFolderFiles(folder)) held.push_back(joinPath(folder, name));
    trackFiles.erase(trackFiles.begin() + static_cast<std::ptrdiff_t>(row));
    trackFiles.insert(trackFiles.begin() + static_cast<std::ptrdiff_t>(row), held.begin(),
                      held.end());
    return true;
}

void removeSelectedFiles(std::vector<std::string>& trackFiles, const std::vector<int>& rows) {
    std::vector<bool> removed(trackFiles.size(), false);
    for (int row : rows) {
        if (row >= 0 && static_cast<size_t>(row) < trackFiles.size()) removed[row] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < trackFiles.size(); ++i) {
        if (!removed[i]) {
            if (kept != i) trackFiles[kept] = std::move(trackFiles[i]);
            ++kept;
        }
    }
    trackFiles.resize(kept);
}

void removeDuplicateFiles(std::vector<std::string>& trackFiles) {
    std::vector<std::string> unique;
    unique.reserve(trackFiles.size());
    std::unordered_set<std::string> seen;
    for (std::string& path : trackFiles) {
        if (seen.insert(path).second) unique.push_back(std::move(path));
    }
    trackFiles = std::move(unique);
}

void dropOnFileList(std::vector<std::string>& trackFiles, std::string_view droppedText) {
    std::vector<std::string> dropped = splitText(droppedText, "\r\n");
    sortTexts(dropped);
    trackFiles.insert(trackFiles.end(), std::make_move_iterator(dropped.begin()),
                      std::make_move_iterator(dropped.end()));
}

std::optional<std::string> fileToOpen(const std::vector<std::string>& trackFiles,
                                      const std::vector<int>& selectedRows) {
    if (selectedRows.size() != 1) return std::nullopt;
    const int row = selectedRows.front();
    if (row < 0 || static_cast<size_t>(row) >= trackFiles.size()) return std::nullopt;
    return trackFiles[row];
}

}  // namespace tcmap
