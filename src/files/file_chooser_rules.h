// The rules of the file chooser, without any widget: where it opens, what a
// confirm chooses, how the chosen or found files enter the list of track
// files, and the text of the search progress.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/prompter.h"

namespace tcmap {

class LanguagePack;

// Search progress of the subfolder search.
enum SearchState : int { SearchIdle = 0, SearchWalking = 1, SearchSorting = 2, SearchAdding = 3 };

// The check list as it stands when the user confirms.
struct ChooserItems {
    std::string folder;              // the folder the names are in
    std::vector<std::string> names;  // the check list's items, in list order
    std::vector<bool> ticked;        // one per name
    int current = -1;                // the highlighted item, -1 for none
};

// The paths a confirm in the current folder chooses: every ticked item, or,
// with none ticked, what the user answers (the highlighted item alone, or
// nothing). nullopt when the user cancels and the chooser stays open.
std::optional<std::vector<std::string>> chooseFiles(const ChooserItems& items, bool append,
                                                    Prompter& prompter, const LanguagePack& pack);

// Chosen or found paths enter the list: appended in append mode, otherwise
// they replace it (also when there are none).
void addChosenFiles(std::vector<std::string>& trackFiles, std::vector<std::string> chosen,
                    bool append);

// The subfolder search: every track file below `root`, sorted. Moves
// `searchState` from walking to sorting and keeps `found` at the number of
// files collected.
std::vector<std::string> searchSubfolders(const std::string& root, std::atomic<int>& searchState,
                                          std::atomic<size_t>& found,
                                          const std::atomic<bool>* stop = nullptr);

// The status label for a search state and the number of files found.
std::string searchStatusText(const LanguagePack& pack, int searchState, size_t found);

// The folder the chooser opens in: `lastDir`, or its nearest existing parent
// when it is gone, or the run folder when it is empty or nothing of it exists.
std::string chooserStartFolder(const std::string& lastDir, const std::string& runFolder);

// A folder without its trailing separators; a file-system root stays "/".
std::string withoutTrailingSeparator(std::string folder);

// Stores the last folder in double quotes as the Dir setting.
bool storeLastDir(const std::string& settingsPath, const std::string& lastDir);

}  // namespace tcmap
