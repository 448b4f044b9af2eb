// The language files that ship in data/: complete, and interchangeable.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/utf8_text.h"
#include "config/profile_store.h"
#include "i18n/language_list.h"
#include "i18n/language_pack.h"
#include "i18n/text_id.h"
#include "support/text_id_names.h"

using namespace tcmap;
using tcmap::testing::numberedKeys;
using tcmap::testing::textIdNumbers;

namespace {

const std::string kDataFolder = std::string(TCMAP_SOURCE_DIR) + "/data";

// The conversions of a format text in order ("sd" for "%s ... %d"); %% is not one.
std::string conversionsOf(std::string_view text) {
    std::string conversions;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        size_t j = i + 1;
        while (j < text.size() &&
               std::string_view("-+ #0123456789.hlzjtL").find(text[j]) != std::string_view::npos) {
            ++j;
        }
        if (j < text.size()) conversions += text[j];
        i = j;
    }
    return conversions;
}

LanguagePack shippedPack(const std::string& code) {
    return LanguagePack(kDataFolder, code, "UTF-8", false);
}

}  // namespace

TEST(LanguageFiles, ShipZhCnAndEnglishWithANewInstallationsLanguageIni) {
    const std::vector<std::string> codes = installedLanguageCodes(kDataFolder);
    EXPECT_EQ(codes, (std::vector<std::string>{"en", "zh-cn"}));
    EXPECT_EQ(shippedPack("zh-cn").displayName("zh-cn"), "简体中文");
    EXPECT_EQ(shippedPack("en").displayName("en"), "English");

    const std::string ini = languageIniPath(kDataFolder);
    EXPECT_EQ(ProfileStore::read(ini, "lang_list", "Charset", "?"), "UTF-8");
    EXPECT_EQ(ProfileStore::read(ini, "lang_list", "Tran", "?"), "0");
    EXPECT_EQ(ProfileStore::read(ini, "lang_list", "List", "?"), "");
    // No selection yet, so the first start asks for a language.
    EXPECT_EQ(ProfileStore::read(ini, "Language", "Select", ""), "");
}

TEST(LanguageFiles, EveryFileHasEveryTextAsValidUtf8) {
    const std::set<int> ids = textIdNumbers();
    ASSERT_TRUE(ids.contains(static_cast<int>(TextId::ProgramName)));
    ASSERT_TRUE(ids.contains(static_cast<int>(TextId::SavingMap)));
    for (const std::string& code : installedLanguageCodes(kDataFolder)) {
        const std::string file = shippedPack(code).filePath(code);
        for (const int key : numberedKeys(file)) {
            EXPECT_TRUE(ids.contains(key)) << code << " has an unused id " << key;
        }
        for (const int id : ids) {
            const std::string raw = ProfileStore::read(file, "text", std::to_string(id), "\x01");
            EXPECT_NE(raw, "\x01") << code << " lacks id " << id;
            EXPECT_FALSE(raw.empty()) << code << " has an empty text " << id;
            for (size_t pos = 0; pos < raw.size();) {
                const size_t length = utf8SequenceLength(raw, pos);
                ASSERT_GT(length, 0u) << code << " id " << id << " is not UTF-8";
                pos += length;
            }
        }
    }
}

TEST(LanguageFiles, PlaceholdersFollowTheUsesAndMatchAcrossLanguages) {
    // What each caller passes; every other text is shown as it is.
    const std::map<int, std::string> uses = {
        {12, "s"},     {20, "s"},    {33, "s"},    {50, "d"},    {51, "d"},     {62, "d"},
        {90, "s"},     {119, "s"},   {135, "d"},   {145, "d"},   {150, "s"},    {151, "s"},
        {170, "ss"},   {171, "s"},   {195, "sdd"}, {196, "sdd"}, {197, "ss"},   {222, "s"},
        {223, "s"},    {224, "s"},   {225, "ss"},  {226, "sd"},  {227, "s"},    {228, "s"},
        {229, "ss"},   {230, "sss"}, {231, "sss"}, {232, "ssd"}, {233, "ssss"}, {234, "ssd"},
        {235, "s"},    {237, "dd"},  {238, "dds"}, {239, "ss"},  {242, "s"},    {244, "dss"},
        {260, "s"},    {262, "sss"}, {263, "sss"}, {264, "s"},   {265, "s"},    {266, "ssd"},
        {267, "sss"},  {300, "ss"},  {301, "d"},   {302, "s"},   {303, "s"},    {320, "d"},
        {327, "s"},    {328, "ss"},  {340, "s"},   {353, "ss"},  {354, "ssss"}, {355, "ssss"},
        {356, "ssss"}, {357, "s"},   {362, "s"},   {364, "d"},   {366, "ssss"}, {382, "s"},
        {396, "s"},    {397, "ss"},  {400, "ss"}};
    for (const std::string& code : installedLanguageCodes(kDataFolder)) {
        const LanguagePack pack = shippedPack(code);
        for (const int id : textIdNumbers()) {
            const auto use = uses.find(id);
            EXPECT_EQ(conversionsOf(pack.text(TextId{id})), use == uses.end() ? "" : use->second)
                << code << " id " << id << ": " << pack.text(TextId{id});
        }
    }
}

TEST(LanguageFiles, MenuAcceleratorsAndFiltersKeepTheirForm) {
    const LanguagePack zh = shippedPack("zh-cn");
    const LanguagePack en = shippedPack("en");
    EXPECT_EQ(zh.text(TextId::OpenFilesItem), "&O.打开文件（Ctrl+O）");
    EXPECT_EQ(zh.text(TextId::MapDialogFilter).substr(0, 18), "常用图片文件");
    const TextId accelerated[] = {TextId::FileMenu,
                                  TextId::DrawMenu,
                                  TextId::OpenFilesItem,
                                  TextId::ChangeMapItem,
                                  TextId::SaveMapItem,
                                  TextId::SettingsItem,
                                  TextId::ExitItem,
                                  TextId::StartDrawingItem,
                                  TextId::ClearDisplayItem,
                                  TextId::SelectAllButton,
                                  TextId::SelectNoneButton,
                                  TextId::SearchScopeLabel,
                                  TextId::CloseButton,
                                  TextId::OkButton,
                                  TextId::CancelButton,
                                  TextId::SaveButton,
                                  TextId::LanguageMenu,
                                  TextId::SelectLanguageItem,
                                  TextId::GlobalDrawingItem,
                                  TextId::BackgroundColourItem,
                                  TextId::RegionalDrawingItem,
                                  TextId::AutoDrawMenu,
                                  TextId::AutoDrawOffItem,
                                  TextId::AutoDrawNormalItem,
                                  TextId::AutoDrawRegionalItem,
                                  TextId::AutoDrawGlobalItem,
                                  TextId::ManageFileListItem,
                                  TextId::AddButton,
                                  TextId::RemoveButton,
                                  TextId::RemoveDuplicatesButton,
                                  TextId::ClearButton,
                                  TextId::RefreshButton,
                                  TextId::OpenButton,
                                  TextId::TextFormatItem,
                                  TextId::MessagesItem,
                                  TextId::HelpMenu,
                                  TextId::KeysItem,
                                  TextId::AboutItem};
    for (const TextId id : accelerated) {
        const int number = static_cast<int>(id);
        EXPECT_EQ(zh.text(id).substr(0, 3), en.text(id).substr(0, 3)) << "id " << number;
        EXPECT_EQ(zh.text(id)[0], '&') << "id " << number;
        EXPECT_EQ(zh.text(id)[2], '.') << "id " << number;
    }
    for (const LanguagePack* pack : {&zh, &en}) {
        for (const TextId id : {TextId::MapDialogFilter, TextId::SaveDialogFilter}) {
            const std::string filter = pack->text(id);
            const size_t bars = static_cast<size_t>(std::count(filter.begin(), filter.end(), '|'));
            EXPECT_EQ(filter.back(), '|') << "id " << static_cast<int>(id);
            EXPECT_EQ(bars % 2, 0u) << "id " << static_cast<int>(id);
            EXPECT_NE(filter.find("|*.png|"), std::string::npos) << "id " << static_cast<int>(id);
        }
    }
}
