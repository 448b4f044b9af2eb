// Simplified -> traditional Chinese for language texts shown to users who
// read traditional characters (Language.ini Tran = 1).
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// Every character of a UTF-8 text that has a GBK code is replaced through the
// GBK -> BIG5 table: a character BIG5 already has stays itself (后, 干, 台),
// a simplified one becomes its traditional form (风 -> 風). Characters without
// a table entry, ASCII and bytes that are not UTF-8 stay as they are, so a
// valid UTF-8 text stays valid.
std::string toTraditionalChinese(std::string_view utf8Text);

}  // namespace tcmap
