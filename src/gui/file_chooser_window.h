// The modal window in which the user picks track files: ticked in one
// folder, or collected from a whole folder tree by a search on a worker
// thread. A folder is reached through the tree, the places, or a path typed
// or pasted into the path field (Tab completes it, Enter goes there). The caller sets
// app.chooserAppend and calls choose(); the chosen files are then in app.trackFiles.
#pragma once

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "i18n/language_pack.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;
class QTreeView;

namespace tcmap {

struct WindowSession;
class Prompter;

class FileChooserWindow : public QDialog {
    Q_OBJECT

  public:
    FileChooserWindow(WindowSession& app, Prompter& prompter, QWidget* owner);
    ~FileChooserWindow() override;

    // Shows the window modally. True when the user confirmed: the chosen
    // files replaced app.trackFiles or were appended to it.
    bool choose();

    // The folder whose files the check list shows ("" when a shortcut led
    // nowhere).
    const std::string& folderPath() const { return folder_; }
    // Shows another folder: the tree follows and the check list is refilled.
    void setFolderPath(const std::string& folder);

    // The OK button: chooses the ticked files, or starts the subfolder search.
    void confirm();

    // While the search runs the window refuses to close.
    void reject() override;
    // Notes the window's size and split in the session for the next chooser.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    // Tab and Enter in the path field.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyTexts();
    void refillFileList();
    void showFolderInTree();
    void keepFolderInView();
    void changeDrive(int index);
    void changeFolder(const QModelIndex& current);
    void goToShortcut(int index);
    void goToTypedPath();
    bool completeTypedPath();
    void chainTabOrder();
    void setControlsEnabled(bool enabled);
    void startSearch();
    void finishSearch(std::vector<std::string> found);
    void updateSearchStatus();

    WindowSession& app_;
    Prompter& prompter_;
    LanguagePack pack_;
    std::string folder_;
    bool followingFolder_ = false;
    // The tree fills in the background and rows appear above the shown
    // folder; keep scrolling it into view until the user moves the tree.
    bool keepFolderInView_ = true;
    bool scrollPending_ = false;
    // The refusal to close during a search is on screen.
    bool refusalShown_ = false;

    QLabel* pathLabel_ = nullptr;
    QLineEdit* path_ = nullptr;
    QSplitter* split_ = nullptr;
    QComboBox* drives_ = nullptr;
    QFileSystemModel* folderModel_ = nullptr;
    QTreeView* folders_ = nullptr;
    QLabel* filesLabel_ = nullptr;
    QListWidget* files_ = nullptr;
    QComboBox* shortcuts_ = nullptr;
    QLabel* scopeLabel_ = nullptr;
    QComboBox* scope_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* unselectAll_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer statusTimer_;

    std::thread search_;
    std::atomic<bool> stopSearch_{false};
};

}  // namespace tcmap
