#include "files/file_chooser_rules.h"

#include <sys/stat.h>

#include "config/profile_store.h"
#include "config/settings_keys.h"
#include "files/folder_walk.h"
#include "files/sort_texts.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

// Archives (HURDAT2, IBTrACS, CMA) come as .txt or .csv.
constexpr const char* kTrackFilePatterns = "*.dat;*.txt;*.fst;*.csv";

bool isFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::vector<std::string>> chooseFiles(const ChooserItems& items, bool append,
                                                    Prompter& prompter, const LanguagePack& pack) {
    std::vector<std::string> chosen;
    for (size_t i = 0; i < items.names.size(); ++i) {
        if (i < items.ticked.size() && items.ticked[i]) {
            chosen.push_back(joinPath(items.folder, items.names[i]));
        }
    }
    if (!chosen.empty()) return chosen;

    const bool hasCurrent =
        items.current >= 0 && static_cast<size_t>(items.current) < items.names.size();
    if (!hasCurrent) {
        if (append) return chosen;
        const Prompter::Answer answer = prompter.message(
            pack.text(TextId::NothingChosen), pack.text(TextId::TrackFilesTitle),
            Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::Answer::Ok);
        if (answer != Prompter::Answer::Ok) return std::nullopt;
        return chosen;
    }
    const Prompter::Answer answer = prompter.message(
        pack.text(TextId::NothingTicked), pack.text(TextId::TrackFilesTitle),
        Prompter::Icon::Warning, Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
    if (answer == Prompter::Answer::Yes) {
        chosen.push_back(joinPath(items.folder, items.names[items.current]));
    } else if (answer != Prompter::Answer::No) {
        return std::nullopt;
    }
    return chosen;
}

void addChosenFiles(std::vector<std::string>& trackFiles, std::vector<std::string> chosen,
                    bool append) {
    if (!append) {
        trackFiles = std::move(chosen);
        return;
    }
    trackFiles.insert(trackFiles.end(), std::make_move_iterator(chosen.begin()),
                      std::make_move_iterator(chosen.end()));
}

std::vector<std::string> searchSubfolders(const std::string& root, std::atomic<int>& searchState,
                                          std::atomic<size_t>& found,
                                          const std::atomic<bool>* stop) {
    searchState = SearchWalking;
    std::vector<std::string> files = findFilesBreadthFirst(root, kTrackFilePatterns, &found, stop);
    searchState = SearchSorting;
    sortTexts(files);
    return files;
}

std::string searchStatusText(const LanguagePack& pack, int searchState, size_t found) {
    switch (searchState) {
        case SearchWalking:
            return pack.text(TextId::SearchingSubfolders) + " ..\r\n" +
                   safeFormat(pack.text(TextId::FilesFound), {found});
        case SearchSorting:
            return safeFormat(pack.text(TextId::SortingFiles), {found}) + " ..";
        case SearchAdding:
            return safeFormat(pack.text(TextId::AddingFiles), {found}) + " ..";
        default:
            return "";
    }
}

std::string chooserStartFolder(const std::string& lastDir, const std::string& runFolder) {
    std::string folder = withoutTrailingSeparator(lastDir);
    while (!folder.empty() && !isFolder(folder)) {
        const size_t separator = folder.find_last_of("/\\");
        std::string parent = separator == std::string::npos
                                 ? std::string()
                                 : withoutTrailingSeparator(folder.substr(0, separator + 1));
        // Each step must shorten the path, so the climb always ends.
        folder = parent.size() < folder.size() ? std::move(parent) : std::string();
    }
    return folder.empty() ? runFolder : folder;
}

std::string withoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

bool storeLastDir(const std::string& settingsPath, const std::string& lastDir) {
    return ProfileStore::write(settingsPath, settings::kDir.section, settings::kDir.key,
                               "\"" + lastDir + "\"");
}

}  // namespace tcmap
