#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <cstdlib>
#include <functional>

#include "config/profile_store.h"
#include "files/file_chooser_rules.h"
#include "gui/file_chooser_window.h"
#include "gui/open_track_files.h"
#include "gui/prompter_window.h"
#include "gui/window_session.h"
#include "support/fake_prompter.h"
#include "support/window_test_folder.h"

using namespace tcmap;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

std::string pathIn(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(name).toStdString();
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

// Notes the text of every message box that is shown, and calls `onShow`
// after it is.
class BoxWatch : public QObject {
  public:
    explicit BoxWatch(std::function<void()> onShow) : onShow_(std::move(onShow)) {}
    QStringList texts;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                texts << box->text();
                onShow_();
            }
        }
        return false;
    }

  private:
    std::function<void()> onShow_;
};

}  // namespace

class FileChooserWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        storms_ = std::make_unique<QTemporaryDir>();
        for (const char* name : {"a.txt", "b.dat", "c.fst", "2023/x.dat", "2023/deep/y.fst",
                                 "2023/Z.DAT", "notes.doc"}) {
            touch(storms_->filePath(name));
        }
        app_ = std::make_unique<WindowSession>();
        // A run folder of its own, with the English texts only.
        run_ = std::make_unique<tcmap::testing::WindowTestFolder>(
            std::initializer_list<const char*>{"en.lang"});
        app_->paths.runFolder = run_->app->paths.runFolder;
        app_->language.code = "en";
        app_->paths.settingsPath = pathIn(*storms_, "Settings.ini");
        app_->lastDir = storms_->path().toStdString();
        prompter_ = FakePrompter();
    }

    void opensInTheLastFolderWithTrackFilesByExtension() {
        app_->chooserAccepted = true;
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        QCOMPARE(chooser.windowTitle(), QString("Choose the track files to draw:"));
        QCOMPARE(chooser.folderPath(), app_->lastDir);
        QCOMPARE(itemTexts(files(chooser)), QStringList({"b.dat", "c.fst", "a.txt"}));
        QVERIFY(!app_->chooserAccepted);
        QCOMPARE(chooser.findChild<QComboBox*>("drives")->currentText(), QString("/"));

        // Choosing a folder in the tree refills the check list.
        auto* tree = chooser.findChild<QTreeView*>("folders");
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        tree->setCurrentIndex(model->index(storms_->filePath("2023")));
        QCOMPARE(chooser.folderPath(), pathIn(*storms_, "2023"));
        QCOMPARE(itemTexts(files(chooser)), QStringList({"Z.DAT", "x.dat"}));
    }

    void ticksAndChoosesInTheCurrentFolder() {
        app_->trackFiles = {"/old.dat"};
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.findChild<QPushButton*>("selectAll")->click();
        files(chooser)->item(1)->setCheckState(Qt::Unchecked);
        chooser.confirm();
        QVERIFY(app_->chooserAccepted);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(app_->trackFiles,
                 std::vector<std::string>({pathIn(*storms_, "b.dat"), pathIn(*storms_, "a.txt")}));
        QVERIFY(prompter_.shown.empty());
    }

    void cancelledQuestionKeepsTheWindowUsable() {
        app_->trackFiles = {"/old.dat"};
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        files(chooser)->setCurrentRow(2);  // highlighted, not ticked
        prompter_.answers = {Prompter::Answer::Cancel, Prompter::Answer::Yes};
        chooser.confirm();
        QVERIFY(chooser.isVisible());
        QVERIFY(!app_->chooserAccepted);
        QVERIFY(chooser.findChild<QPushButton*>("ok")->isEnabled());
        QVERIFY(files(chooser)->isEnabled());

        chooser.confirm();
        QCOMPARE(app_->trackFiles, std::vector<std::string>({pathIn(*storms_, "a.txt")}));
        QCOMPARE(prompter_.shown.size(), size_t(2));
    }

    void closeLeavesTheListAlone() {
        app_->trackFiles = {"/old.dat"};
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        files(chooser)->item(0)->setCheckState(Qt::Checked);
        chooser.findChild<QPushButton*>("close")->click();
        QVERIFY(!chooser.isVisible());
        QVERIFY(!app_->chooserAccepted);
        QCOMPARE(app_->trackFiles, std::vector<std::string>({"/old.dat"}));

        // Shown modally, a close is no confirmation either.
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!chooser.choose());
        QCOMPARE(app_->trackFiles, std::vector<std::string>({"/old.dat"}));
    }

    void shortcutsAndScope() {
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        auto* shortcuts = chooser.findChild<QComboBox*>("shortcuts");
        shortcuts->setCurrentIndex(1);
        emit shortcuts->activated(1);
        QCOMPARE(chooser.folderPath(), app_->paths.runFolder);
        QCOMPARE(shortcuts->currentIndex(), 0);
        QCOMPARE(files(chooser)->count(), 0);  // the run folder holds no track files

        emit shortcuts->activated(4);  // favourites: none on this desktop
        QCOMPARE(chooser.folderPath(), std::string());

        chooser.setFolderPath(app_->lastDir);
        auto* scope = chooser.findChild<QComboBox*>("scope");
        scope->setCurrentIndex(1);
        QVERIFY(!files(chooser)->isEnabled());
        scope->setCurrentIndex(0);
        QVERIFY(files(chooser)->isEnabled());
    }

    void subfolderSearchRefusesToCloseAndClosesItself() {
        app_->trackFiles = {"/old.dat"};
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        chooser.findChild<QComboBox*>("scope")->setCurrentIndex(1);
        chooser.confirm();
        // The result is handed over on this thread, so until events are
        // processed the search is still running.
        QVERIFY(app_->searchRunning);
        QVERIFY(!chooser.findChild<QPushButton*>("close")->isEnabled());
        chooser.close();
        chooser.reject();
        QVERIFY(chooser.isVisible());
        QCOMPARE(prompter_.count("message"), size_t(2));
        QCOMPARE(prompter_.shown[0].text,
                 std::string("Files are being searched. Please wait until the search ends."));
        QCOMPARE(prompter_.shown[0].icon, Prompter::Icon::Information);

        QTRY_VERIFY(!chooser.isVisible());
        QVERIFY(app_->chooserAccepted);
        QVERIFY(!app_->searchRunning);
        QCOMPARE(app_->searchState.load(), int(SearchAdding));
        QCOMPARE(app_->foundFileCount.load(), size_t(6));
        QCOMPARE(app_->trackFiles,
                 std::vector<std::string>(
                     {pathIn(*storms_, "2023/Z.DAT"), pathIn(*storms_, "2023/deep/y.fst"),
                      pathIn(*storms_, "2023/x.dat"), pathIn(*storms_, "a.txt"),
                      pathIn(*storms_, "b.dat"), pathIn(*storms_, "c.fst")}));
        QCOMPARE(app_->lastDir, storms_->path().toStdString());
        QCOMPARE(chooser.findChild<QLabel*>("status")->text(), QString("Adding 6 files .."));
    }

    void theRefusalToCloseNeverOutlivesTheChooser() {
        // Real message boxes: the refusal is on screen when the search ends.
        QtPrompter prompter;
        FileChooserWindow chooser(*app_, prompter, nullptr);
        chooser.show();
        chooser.findChild<QComboBox*>("scope")->setCurrentIndex(1);
        chooser.confirm();
        QVERIFY(app_->searchRunning);

        // A box still up once the chooser has finished, or shown after that,
        // is noted and closed, so the test ends either way.
        bool orphaned = false;
        const auto closeOrphans = [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    orphaned = true;
                    QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
                }
            }
        };
        BoxWatch shown([&] {
            if (!chooser.isVisible()) closeOrphans();
        });
        qApp->installEventFilter(&shown);
        connect(&chooser, &QDialog::finished, &chooser, closeOrphans, Qt::QueuedConnection);
        chooser.reject();  // the search ends while the refusal is shown
        QVERIFY(!chooser.isVisible());
        // Whatever the end of the search left queued has run.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&shown);

        QCOMPARE(shown.texts,
                 QStringList("Files are being searched. Please wait until the search ends."));
        QVERIFY(!orphaned);
        QVERIFY(app_->chooserAccepted);
        QCOMPARE(app_->trackFiles.size(), size_t(6));
    }

    void openFileCommandReplacesTheListAndStoresTheFolder() {
        app_->style.mapPath = "/maps/world.png";
        app_->trackFiles = {"/old.dat"};
        app_->chooserAppend = true;
        QTimer::singleShot(0, [] {
            auto* chooser = qobject_cast<FileChooserWindow*>(QApplication::activeModalWidget());
            QVERIFY(chooser != nullptr);
            chooser->findChild<QListWidget*>("files")->item(0)->setCheckState(Qt::Checked);
            chooser->findChild<QPushButton*>("ok")->click();
        });
        const OpenFilesResult opened = openTrackFilesCommand(*app_, prompter_, nullptr);
        QVERIFY(opened.confirmed);
        QVERIFY(opened.filesToDraw);
        QCOMPARE(app_->trackFiles, std::vector<std::string>({pathIn(*storms_, "b.dat")}));
        QCOMPARE(ProfileStore::read(app_->paths.settingsPath, "Borvane4", "Dir", ""),
                 app_->lastDir);
    }

    void pathFieldGoesWhereTheTypedPathLeads() {
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        auto* path = chooser.findChild<QLineEdit*>("path");
        QCOMPARE(path->text(), storms_->path());  // it shows the folder opened

        const QString home = QDir::homePath();
        struct Row {
            QString typed;
            std::string folder;  // where the chooser is afterwards
            QStringList ticked;
        };
        const Row rows[] = {
            {storms_->filePath("2023/deep"), pathIn(*storms_, "2023/deep"), {}},
            {"..", pathIn(*storms_, "2023"), {}},            // from the folder shown
            {" deep/ ", pathIn(*storms_, "2023/deep"), {}},  // spaces pasted along
            {storms_->filePath("2023/x.dat"), pathIn(*storms_, "2023"), {"x.dat"}},  // a file
            {"~", home.toStdString(), {}},
            {storms_->filePath("nowhere"), home.toStdString(), {}},  // stays where it was
        };
        for (const Row& row : rows) {
            path->setText(row.typed);
            QTest::keyClick(path, Qt::Key_Return);
            QCOMPARE(chooser.folderPath(), row.folder);
            QStringList ticked;
            for (int i = 0; i < files(chooser)->count(); ++i) {
                if (files(chooser)->item(i)->checkState() == Qt::Checked) {
                    ticked << files(chooser)->item(i)->text();
                }
            }
            QCOMPARE(ticked, row.ticked);
            // Enter in the field never confirms the window.
            QVERIFY(chooser.isVisible());
            QVERIFY(!app_->chooserAccepted);
        }
        QCOMPARE(chooser.findChild<QLabel*>("status")->text(),
                 "There is no folder " + storms_->filePath("nowhere"));
        QCOMPARE(path->text(), storms_->filePath("nowhere"));  // kept, to be corrected
    }

    void tabCompletesThePathThenMovesOn() {
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowActive(&chooser));
        auto* path = chooser.findChild<QLineEdit*>("path");
        path->setFocus();
        path->setText(storms_->filePath("20"));
        QTest::keyClick(path, Qt::Key_Tab);
        QCOMPARE(path->text(), storms_->filePath("2023/"));
        QCOMPARE(QApplication::focusWidget(), path);
        QTest::keyClicks(path, "d");
        QTest::keyClick(path, Qt::Key_Tab);
        QCOMPARE(path->text(), storms_->filePath("2023/deep/"));

        // Nothing left to complete: Tab goes on to the next control.
        QTest::keyClick(path, Qt::Key_Tab);
        QCOMPARE(path->text(), storms_->filePath("2023/deep/"));
        QCOMPARE(QApplication::focusWidget(), chooser.findChild<QComboBox*>("drives"));

        // Ctrl+L comes back to the field with its text selected for typing over.
        QTest::keyClick(&chooser, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), path);
        QCOMPARE(path->selectedText(), path->text());
    }

    void keyboardTicksFilesInTheList() {
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowActive(&chooser));
        files(chooser)->setFocus();
        files(chooser)->setCurrentRow(1);
        QTest::keyClick(files(chooser), Qt::Key_Space);
        QCOMPARE(files(chooser)->item(1)->checkState(), Qt::Checked);
        QTest::keyClick(files(chooser), Qt::Key_Down);
        QTest::keyClick(files(chooser), Qt::Key_Space);
        // The README's picture of the chooser: TCMAP_SCREENSHOT_DIR=docs/screenshots.
        if (const char* screenshots = std::getenv("TCMAP_SCREENSHOT_DIR")) {
            auto* tree = chooser.findChild<QTreeView*>("folders");
            QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
            QVERIFY(chooser.grab().save(QString::fromLocal8Bit(screenshots) + "/file_chooser.png"));
        }
        chooser.confirm();
        QCOMPARE(app_->trackFiles,
                 std::vector<std::string>({pathIn(*storms_, "c.fst"), pathIn(*storms_, "a.txt")}));
    }

    void homeIsAPlaceAndTheFirstFolder() {
        {
            FileChooserWindow chooser(*app_, prompter_, nullptr);
            auto* shortcuts = chooser.findChild<QComboBox*>("shortcuts");
            QCOMPARE(shortcuts->itemText(5), QString("Home"));
            emit shortcuts->activated(5);
            QCOMPARE(chooser.folderPath(), QDir::homePath().toStdString());
        }
        // Never used before: the home folder, not the program's folder.
        app_->lastDir.clear();
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        QCOMPARE(chooser.folderPath(), QDir::homePath().toStdString());
    }

    void theOpenedFolderIsScrolledIntoView() {
        // Enough neighbours that the folder lies far below the tree's top.
        for (int i = 0; i < 80; ++i)
            QDir(storms_->path()).mkdir(QString("f%1").arg(i, 2, 10, QChar('0')));
        app_->lastDir = pathIn(*storms_, "f79");
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        auto* tree = chooser.findChild<QTreeView*>("folders");
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        QCOMPARE(tree->currentIndex(), model->index(storms_->filePath("f79")));
        QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
    }

    void sizeAndSplitAreRememberedForTheNextChooser() {
        QList<int> split;
        {
            FileChooserWindow chooser(*app_, prompter_, nullptr);
            chooser.show();
            QVERIFY(QTest::qWaitForWindowExposed(&chooser));
            chooser.resize(830, 510);
            auto* splitter = chooser.findChild<QSplitter*>("split");
            splitter->setSizes({250, 550});
            split = splitter->sizes();
            QVERIFY(split.front() < 300);  // far from the even split a new chooser has
            chooser.findChild<QPushButton*>("close")->click();
        }
        QCOMPARE(app_->chooserWidth, 830);
        QCOMPARE(app_->chooserHeight, 510);
        FileChooserWindow chooser(*app_, prompter_, nullptr);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        QCOMPARE(chooser.size(), QSize(830, 510));
        QCOMPARE(chooser.findChild<QSplitter*>("split")->sizes(), split);
    }

  private:
    static QListWidget* files(const FileChooserWindow& chooser) {
        return chooser.findChild<QListWidget*>("files");
    }

    std::unique_ptr<QTemporaryDir> storms_;
    std::unique_ptr<tcmap::testing::WindowTestFolder> run_;
    std::unique_ptr<WindowSession> app_;
    FakePrompter prompter_;
};

QTEST_MAIN(FileChooserWindowTest)
#include "file_chooser_window_test.moc"
