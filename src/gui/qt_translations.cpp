#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace tcmap {

namespace {

QPointer<QTranslator> installedTranslator;

}  // namespace

QString qtLocaleName(std::string_view languageCode, bool traditional) {
    const QString code = QString::fromUtf8(languageCode.data(), qsizetype(languageCode.size()));
    const QString language = code.section(QLatin1Char('-'), 0, 0).toLower();
    if (language == QLatin1String("zh") && traditional) return QStringLiteral("zh_TW");
    const QString region = code.section(QLatin1Char('-'), 1).toUpper();
    return region.isEmpty() ? language : language + QLatin1Char('_') + region;
}

bool installQtTranslations(std::string_view languageCode, bool traditional) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return false;
    if (installedTranslator) {
        QCoreApplication::removeTranslator(installedTranslator);
        delete installedTranslator;
    }
    auto* translator = new QTranslator(application);
    // "qtbase_zh_CN", falling back to "qtbase_zh" as Qt's loader does.
    if (!translator->load(QStringLiteral("qtbase_") + qtLocaleName(languageCode, traditional),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installedTranslator = translator;
    return true;
}

}  // namespace tcmap
