// The fields of the settings window and what it reads and stores. The window
// builds its two pages from these tables, fills them from loadSettingsForm and
// hands the edited values back to saveSettingsForm; every rule lives here.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/settings_keys.h"
#include "i18n/text_id.h"

namespace tcmap {

struct StyleChoice;
class LanguagePack;
class Prompter;

enum class SettingsControl {
    Edit,       // a text stored as typed
    List,       // a list; the 0-based index of its item is stored
    CheckBox,   // stored as "1" or "0"; any value above 0 shows it ticked
    Switch,     // stored as "1" or "0"; ticked only by "1", the one value maps take as on
    MapPath,    // a map picture path with its Change button, stored quoted
    Note,       // an edit that only informs; never stored
    FixedList,  // a list that only informs; never stored
    WordList,   // a list; the word of its item is stored
    Group       // the heading of the fields that follow it on the page
};

struct SettingsField {
    TextId labelId;  // the label or check-box caption
    SettingsControl control = SettingsControl::Edit;
    const SettingKey* setting = nullptr;               // nullptr: shown, never stored
    std::optional<TextId> unitId = {};                 // unit label after the field
    std::span<const TextId> itemIds = {};              // list items
    std::span<const std::string_view> itemWords = {};  // WordList: what each item stores
};

// Items of the style list above the pages (its label is TextId::DrawingStyle).
inline constexpr std::array<TextId, 2> kStyleItemTexts{TextId::WendrelStyle, TextId::TcvStyle};

// The fields of each page, in the order they are shown: page 0 is the
// Wendrel style, page 1 the TCV style.
std::span<const SettingsField> wendrelSettingsFields();
std::span<const SettingsField> tcvSettingsFields();
// The fields below the pages, for both styles: how PDF and SVG maps draw
// the land, and how agencies are compared.
std::span<const SettingsField> vectorMapSettingsFields();
std::span<const SettingsField> agencySettingsFields();

// What the window shows. Edits and map paths are keyed by their setting
// name, lists by theirs (the selected index, -1 for none), check boxes by
// theirs.
struct SettingsFormValues {
    int style = 0;  // style list selection: 0 Wendrel, 1 TCV
    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, int, std::less<>> lists;
    std::map<std::string, bool, std::less<>> checks;
};

// The selection a stored list value gives: the value read as an integer, or
// -1 (no selection) when that is not one of the list's items.
int listSelection(std::string_view stored, size_t itemCount);

// The selection a stored word gives (ASCII case ignored); a word that is not
// one of the items selects the item of `fallback`, the value a map then uses.
int wordSelection(std::string_view stored, std::span<const std::string_view> words,
                  std::string_view fallback);

// A check box is checked when the stored value read as an integer is above 0.
bool checkBoxState(std::string_view stored);
// A switch is checked only when stored as "1": the draw job takes any other
// value as off, and the box shows what the map is drawn with.
bool switchState(std::string_view stored);

// The values of a new window: Settings.ini as stored (defaults for what is
// missing), the map paths and the style from the program state.
SettingsFormValues loadSettingsForm(const std::string& settingsPath, const StyleChoice& style);

// The (key, value) pairs Save stores, in the order it stores them. A value
// the form does not hold is stored as empty text, list -1 or check box "0".
std::vector<std::pair<std::string_view, std::string>> settingsWrites(
    const SettingsFormValues& values);

// The (key, value) pairs Save stores in section Archive, after those of
// settingsWrites: the archive fields of the Wendrel page, then the TCV page.
std::vector<std::pair<std::string_view, std::string>> archiveSettingsWrites(
    const SettingsFormValues& values);

// The (key, value) pairs Save stores in section Forecast, from the TCV page.
std::vector<std::pair<std::string_view, std::string>> forecastSettingsWrites(
    const SettingsFormValues& values);

// The (key, value) pairs Save stores in section Agencies.
std::vector<std::pair<std::string_view, std::string>> agencySettingsWrites(
    const SettingsFormValues& values);

// Save: the style and the map paths go into the program state, then every
// pair of settingsWrites into Settings.ini [Borvane4] and those of
// archiveSettingsWrites into [Archive], those of forecastSettingsWrites into
// [Forecast], those of agencySettingsWrites into [Agencies]. False when a write failed (the
// remaining ones are still tried).
bool saveSettingsForm(const std::string& settingsPath, StyleChoice& style,
                      const SettingsFormValues& values);

// The text of the TCV page's point-size field.
std::string tcvPointSizeNote(const LanguagePack& pack);

// The Change button: asks for a map picture starting from `current`; the
// chosen path, or nothing when the dialog was cancelled.
std::optional<std::string> chooseMapPicture(const LanguagePack& pack, Prompter& prompter,
                                            const std::string& current);

}  // namespace tcmap
