#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include "config/profile_store.h"
#include "gui/file_chooser_window.h"
#include "gui/file_list_window.h"
#include "gui/window_session.h"
#include "support/fake_prompter.h"
#include "support/window_test_folder.h"

using namespace tcmap;
using Answer = Prompter::Answer;
using Files = std::vector<std::string>;

class FileListWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QFile file(folder_->filePath("bwp012014.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12345");
        file.close();
        app_ = std::make_unique<WindowSession>();
        // A run folder of its own, with the English texts only.
        run_ = std::make_unique<tcmap::testing::WindowTestFolder>(
            std::initializer_list<const char*>{"en.lang"});
        app_->paths.runFolder = run_->app->paths.runFolder;
        app_->language.code = "en";
        app_->paths.settingsPath = folder_->filePath("Settings.ini").toStdString();
        prompter_ = FakePrompter();
    }

    void showsOneRowPerEntry() {
        const std::string best = folder_->filePath("bwp012014.dat").toStdString();
        app_->trackFiles = {best, "/gone/aal182012.fst", "storm.dat"};
        FileListWindow list(*app_, prompter_, nullptr);
        QCOMPARE(list.windowTitle(), QString("File List"));
        QTableWidget* table = tableOf(list);
        QCOMPARE(table->horizontalHeaderItem(4)->text(), QString("Size"));
        QCOMPARE(rowTexts(table, 0),
                 QStringList({"1", "bwp012014.dat", folder_->path(), "Best track", "5"}));
        QCOMPARE(rowTexts(table, 1),
                 QStringList({"2", "aal182012.fst", "/gone", "Forecast", "-1"}));
        QCOMPARE(rowTexts(table, 2), QStringList({"3", "", "", "Unsupported file", "-1"}));
        QCOMPARE(statusOf(list), QString("3 files"));
        QCOMPARE(prompter_.waitCursorDepth, 0);

        QVERIFY(!FileListWindow::isOpen());
        list.show();
        QVERIFY(FileListWindow::isOpen());
        list.findChild<QPushButton*>("close")->click();
        QVERIFY(!FileListWindow::isOpen());
    }

    void removesTheSelectedRows() {
        app_->trackFiles = {"/s/1.dat", "/s/2.dat", "/s/3.dat", "/s/4.dat", "/s/5.dat"};
        FileListWindow list(*app_, prompter_, nullptr);
        QSignalSpy changed(&list, &FileListWindow::trackFilesChanged);
        selectRows(list, {1, 3});
        list.findChild<QPushButton*>("remove")->click();
        QCOMPARE(app_->trackFiles, Files({"/s/1.dat", "/s/3.dat", "/s/5.dat"}));
        QCOMPARE(tableOf(list)->rowCount(), 3);
        QCOMPARE(tableOf(list)->item(2, 1)->text(), QString("5.dat"));
        QCOMPARE(statusOf(list), QString("3 files"));
        QCOMPARE(changed.count(), 1);

        // Nothing selected: the list stays as it is.
        list.findChild<QPushButton*>("remove")->click();
        QCOMPARE(app_->trackFiles.size(), size_t(3));
        selectRows(list, {0, 2});
        QCOMPARE(statusOf(list), QString("2 / 3"));
    }

    void deduplicatesAndClearsWhenTheUserAgrees() {
        app_->trackFiles = {"A", "B", "B", "C", "A", "D"};
        FileListWindow list(*app_, prompter_, nullptr);
        prompter_.answers = {Answer::No, Answer::Yes, Answer::No, Answer::Yes};
        auto* dedupe = list.findChild<QPushButton*>("dedupe");
        auto* clear = list.findChild<QPushButton*>("clear");
        dedupe->click();
        QCOMPARE(app_->trackFiles.size(), size_t(6));
        dedupe->click();
        QCOMPARE(app_->trackFiles, Files({"A", "B", "C", "D"}));
        clear->click();
        QCOMPARE(app_->trackFiles.size(), size_t(4));
        clear->click();
        QVERIFY(app_->trackFiles.empty());
        QCOMPARE(tableOf(list)->rowCount(), 0);
        QCOMPARE(prompter_.shown.size(), size_t(4));
        QCOMPARE(prompter_.shown[2].title, std::string("Clear List"));
        // An empty list asks nothing.
        dedupe->click();
        clear->click();
        QCOMPARE(prompter_.shown.size(), size_t(4));
    }

    void opensOnlyASingleSelectedEntry() {
        app_->trackFiles = {"/s/a.dat", "/s/b.dat"};
        FileListWindow list(*app_, prompter_, nullptr);
        std::vector<std::string> opened;
        list.setFileOpener([&](const std::string& path) { opened.push_back(path); });
        auto* open = list.findChild<QPushButton*>("open");
        open->click();
        selectRows(list, {0, 1});
        open->click();
        selectRows(list, {1});
        open->click();
        QCOMPARE(opened, Files({"/s/b.dat"}));
    }

    void aFolderRowOpensIntoItsTrackFiles() {
        const std::string held = folder_->path().toStdString();
        app_->trackFiles = {"/s/a.dat", held};
        FileListWindow list(*app_, prompter_, nullptr);
        std::vector<std::string> opened;
        list.setFileOpener([&](const std::string& path) { opened.push_back(path); });
        QTableWidget* table = tableOf(list);
        QCOMPARE(rowTexts(table, 1), QStringList({"2", folder_->path().section('/', -1),
                                                  folder_->path().section('/', 0, -2), "Folder",
                                                  "Track files: 1 (Open adds them)"}));
        selectRows(list, {1});
        list.findChild<QPushButton*>("open")->click();
        QVERIFY(opened.empty());  // nothing handed to the desktop
        QCOMPARE(app_->trackFiles, Files({"/s/a.dat", held + "/bwp012014.dat"}));
        QCOMPARE(rowTexts(table, 1).at(3), QString("Best track"));
        QCOMPARE(statusOf(list), QString("2 files"));
    }

    void droppedFilesAreSortedAndAppended() {
        app_->trackFiles = {"/t/m.dat"};
        FileListWindow list(*app_, prompter_, nullptr);
        list.show();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/t/z.dat"), QUrl::fromLocalFile("/t/map.png"),
                      QUrl("https://example.org/a.dat")});
        QWidget* viewport = tableOf(list)->viewport();
        // A drop reaches the table after it accepted the drag.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(app_->trackFiles, Files({"/t/m.dat", "/t/map.png", "/t/z.dat"}));
        QCOMPARE(tableOf(list)->item(1, 3)->text(), QString("Unsupported file"));
    }

    void addOpensTheChooserInAppendModeAndStoresTheFolder() {
        app_->trackFiles = {"/t/m.dat"};
        app_->lastDir = folder_->path().toStdString();
        FileListWindow list(*app_, prompter_, nullptr);
        QTimer::singleShot(0, [] {
            auto* chooser = qobject_cast<FileChooserWindow*>(QApplication::activeModalWidget());
            QVERIFY(chooser != nullptr);
            chooser->findChild<QListWidget*>("files")->item(0)->setCheckState(Qt::Checked);
            chooser->confirm();
        });
        list.findChild<QPushButton*>("add")->click();
        QVERIFY(app_->chooserAppend);
        QCOMPARE(app_->trackFiles,
                 Files({"/t/m.dat", folder_->filePath("bwp012014.dat").toStdString()}));
        QCOMPARE(tableOf(list)->rowCount(), 2);

        // Closed without choosing: the folder is stored all the same.
        app_->lastDir = "/";
        QFile::remove(QString::fromStdString(app_->paths.settingsPath));
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        list.findChild<QPushButton*>("add")->click();
        QCOMPARE(ProfileStore::read(app_->paths.settingsPath, "Borvane4", "Dir", "unset"),
                 std::string("/"));
        QCOMPARE(app_->trackFiles.size(), size_t(2));
    }

  private:
    static QTableWidget* tableOf(const FileListWindow& list) {
        return list.findChild<QTableWidget*>("table");
    }
    static QString statusOf(const FileListWindow& list) {
        return list.findChild<QLabel*>("status")->text();
    }
    static QStringList rowTexts(const QTableWidget* table, int row) {
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column) {
            texts << table->item(row, column)->text();
        }
        return texts;
    }
    static void selectRows(const FileListWindow& list, std::initializer_list<int> rows) {
        QTableWidget* table = tableOf(list);
        table->clearSelection();
        for (int row : rows) {
            table->selectionModel()->select(
                table->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<tcmap::testing::WindowTestFolder> run_;
    std::unique_ptr<WindowSession> app_;
    FakePrompter prompter_;
};

QTEST_MAIN(FileListWindowTest)
#include "file_list_window_test.moc"
