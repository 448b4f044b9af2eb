// Qt's own texts (the standard buttons of message boxes, the file and colour
// dialogs) in the language of the user interface, from the translations that
// come with Qt.
#pragma once

#include <QString>
#include <string_view>

namespace tcmap {

// The Qt locale name of a language code of the language files: "zh-cn" ->
// "zh_CN"; Chinese in traditional characters (Tran = 1) -> "zh_TW".
QString qtLocaleName(std::string_view languageCode, bool traditional);

// Installs Qt's translations for the language on the application, replacing
// any installed by an earlier call. False when Qt has none for it (Qt's own
// texts are English then).
bool installQtTranslations(std::string_view languageCode, bool traditional);

}  // namespace tcmap
