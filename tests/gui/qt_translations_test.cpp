// Qt's own texts follow the language of the user interface: the standard
// buttons of a Chinese message box are Chinese, in traditional characters
// when the language file is shown that way.
#include "gui/qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "gui/prompter_window.h"

using namespace tcmap;

namespace {

// The button texts of the next message box the prompter shows.
QStringList buttonsOfABox() {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        for (QAbstractButton* button : box->buttons()) texts << button->text();
        box->reject();
    });
    QtPrompter prompter;
    prompter.message("?", "tcmap", Prompter::Icon::Question, Prompter::Buttons::YesNoCancel,
                     Prompter::Answer::Yes);
    texts.sort();
    return texts;
}

}  // namespace

class QtTranslationsTest : public QObject {
    Q_OBJECT

  private slots:
    void localeNamesOfTheLanguageCodes() {
        QCOMPARE(qtLocaleName("zh-cn", false), QString("zh_CN"));
        QCOMPARE(qtLocaleName("zh-cn", true), QString("zh_TW"));
        QCOMPARE(qtLocaleName("en", false), QString("en"));
        QCOMPARE(qtLocaleName("en", true), QString("en"));
        QCOMPARE(qtLocaleName("pt-BR", false), QString("pt_BR"));
    }

    void messageBoxButtonsSpeakTheLanguage() {
        const QStringList english = buttonsOfABox();
        QCOMPARE(english, QStringList({"&No", "&Yes", "Cancel"}));

        QVERIFY(installQtTranslations("zh-cn", false));
        const QStringList simplified = buttonsOfABox();
        QCOMPARE(simplified.size(), 3);
        for (const QString& text : simplified) QVERIFY2(!english.contains(text), qPrintable(text));
        QVERIFY(simplified.contains(QString::fromUtf8("取消")));
        // Qt's texts of the dialogs too: the file dialog's folder box.
        const QString lookInCn = QCoreApplication::translate("QFileDialog", "Look in:");
        QVERIFY(lookInCn != QStringLiteral("Look in:"));

        QVERIFY(installQtTranslations("zh-cn", true));
        const QStringList traditional = buttonsOfABox();
        for (const QString& text : traditional) QVERIFY2(!english.contains(text), qPrintable(text));
        const QString lookInTw = QCoreApplication::translate("QFileDialog", "Look in:");
        QVERIFY(lookInTw != QStringLiteral("Look in:"));
        QVERIFY2(lookInTw != lookInCn, qPrintable(lookInTw));

        // English takes the Chinese texts away again.
        installQtTranslations("en", false);
        QCOMPARE(buttonsOfABox(), english);
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
