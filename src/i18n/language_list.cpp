#include "i18n/language_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/text_rules.h"
#include "config/profile_store.h"
#include "i18n/language_pack.h"

namespace tcmap {

std::string languageIniPath(std::string_view runFolder) {
    return std::string(runFolder) + "/Language.ini";
}

std::vector<std::string> installedLanguageCodes(const std::string& runFolder) {
    namespace fs = std::filesystem;
    constexpr std::string_view kExtension = ".lang";
    std::vector<std::string> codes;
    std::error_code error;
    fs::directory_iterator it(runFolder.empty() ? fs::path(".") : fs::path(runFolder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= kExtension.size() || !name.ends_with(kExtension)) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;  // follows links; skips folders
        codes.push_back(name.substr(0, name.size() - kExtension.size()));
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

std::vector<LanguageRow> languageRows(const LanguagePack& pack) {
    std::vector<std::string> codes;
    const auto add = [&codes](std::string code) {
        if (!code.empty() && std::find(codes.begin(), codes.end(), code) == codes.end()) {
            codes.push_back(std::move(code));
        }
    };
    const std::string list =
        ProfileStore::read(languageIniPath(pack.runFolder()), "lang_list", "List", "");
    for (const std::string& entry : splitText(list, ",")) add(trimText(entry));
    for (std::string& code : installedLanguageCodes(pack.runFolder())) add(std::move(code));
    if (!pack.dataFolder().empty() && pack.dataFolder() != pack.runFolder()) {
        for (std::string& code : installedLanguageCodes(pack.dataFolder())) add(std::move(code));
    }

    std::vector<LanguageRow> rows;
    rows.reserve(codes.size());
    for (std::string& code : codes) {
        const std::string name = pack.displayName(code);
        std::string caption = name.empty() ? code : code + " " + name;
        rows.push_back({std::move(code), std::move(caption)});
    }
    return rows;
}

bool saveLanguageChoice(std::string_view runFolder, std::string_view code) {
    return ProfileStore::write(languageIniPath(runFolder), "Language", "Select",
                               "\"" + std::string(code) + "\"");
}

}  // namespace tcmap
