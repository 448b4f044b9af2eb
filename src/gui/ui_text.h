// Language texts and the window font as Qt wants them.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace tcmap {

// A language text (UTF-8, line breaks as CR LF) for a widget.
inline QString uiText(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

// The font of the secondary windows; the program's fontconfig file maps the
// family to an installed CJK face.
inline QFont uiFont() {
    return QFont(QStringLiteral("Microsoft YaHei UI"), 9);
}

}  // namespace tcmap
