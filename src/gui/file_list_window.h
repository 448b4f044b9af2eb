// The modal window that shows the list of track files as a table and lets
// the user add, remove, de-duplicate, clear, re-read and open entries; files
// dropped onto the table are added to the list.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "i18n/language_pack.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tcmap {

struct WindowSession;
class Prompter;

class FileListWindow : public QDialog {
    Q_OBJECT

  public:
    FileListWindow(WindowSession& app, Prompter& prompter, QWidget* owner);
    ~FileListWindow() override;

    // True while a file list window is shown: the main window then refuses
    // drops.
    static bool isOpen();

    // How an entry is opened with its associated program (the desktop's
    // default handler unless replaced, e.g. by tests).
    void setFileOpener(std::function<void(const std::string&)> opener);

    // Rebuilds the table from the list of track files.
    void refillFileList();
    // Adds the dropped paths (separated by CR LF), sorted, after the list.
    void dropFiles(const std::string& droppedText);

  signals:
    // After every refill: the list of track files may have changed.
    void trackFilesChanged();

  private:
    void applyTexts();
    std::vector<int> selectedRows() const;
    void updateListStatus();
    void addFiles();
    void removeFiles();
    void removeDuplicates();
    void clearFiles();
    void openSelected();

    WindowSession& app_;
    Prompter& prompter_;
    LanguagePack pack_;
    std::function<void(const std::string&)> opener_;

    QTableWidget* table_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* dedupe_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace tcmap
