#include "gui/file_chooser_window.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>
#include <memory>

#include "config/prompter.h"
#include "files/file_chooser_rules.h"
#include "files/folder_path_completion.h"
#include "files/folder_walk.h"
#include "gui/dialog_placement.h"
#include "gui/ui_text.h"
#include "gui/window_session.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

constexpr int kSubfolderScope = 1;
constexpr int kHomeShortcut = 5;
// The first size: room for a tree and file names of a data folder.
constexpr int kFirstWidth = 720;
constexpr int kFirstHeight = 460;

std::string toStd(const QString& text) {
    return text.toStdString();
}

// The drive (file-system root) a folder is on.
int driveIndexOf(const QComboBox& drives, const std::string& folder) {
    int best = -1;
    qsizetype bestLength = -1;
    const QString path = QString::fromStdString(folder);
    for (int i = 0; i < drives.count(); ++i) {
        const QString root = drives.itemText(i);
        if (path.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

// A special folder, or "" when the desktop has none.
std::string specialFolder(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return !path.isEmpty() && QDir(path).exists() ? toStd(path) : std::string();
}

// A path as typed: "~" is the home folder, a relative path is taken from
// the folder shown.
QString typedPathIn(const std::string& folder, QString typed) {
    typed = typed.trimmed();
    if (typed == "~" || typed.startsWith("~/")) typed.replace(0, 1, QDir::homePath());
    if (QDir::isRelativePath(typed)) typed = QDir(QString::fromStdString(folder)).filePath(typed);
    return QDir::cleanPath(typed);
}

}  // namespace

FileChooserWindow::FileChooserWindow(WindowSession& app, Prompter& prompter, QWidget* owner)
    : QDialog(owner), app_(app), prompter_(prompter), pack_(app.languagePack()) {
    setModal(true);

    pathLabel_ = new QLabel(this);
    path_ = new QLineEdit(this);
    path_->setObjectName("path");
    pathLabel_->setBuddy(path_);
    path_->installEventFilter(this);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this, [this] {
        path_->setFocus(Qt::ShortcutFocusReason);
        path_->selectAll();
    });

    drives_ = new QComboBox(this);
    drives_->setObjectName("drives");
    for (const QFileInfo& drive : QDir::drives()) drives_->addItem(drive.absolutePath());

    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    folderModel_->setRootPath(QDir::rootPath());
    folders_ = new QTreeView(this);
    folders_->setObjectName("folders");
    folders_->setModel(folderModel_);
    folders_->setHeaderHidden(true);
    for (int column = 1; column < folderModel_->columnCount(); ++column) {
        folders_->hideColumn(column);
    }
    // Suggestions while typing come from the same folder model.
    auto* completer = new QCompleter(folderModel_, this);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    path_->setCompleter(completer);

    filesLabel_ = new QLabel(this);
    files_ = new QListWidget(this);
    files_->setObjectName("files");
    files_->setSelectionMode(QAbstractItemView::SingleSelection);

    shortcuts_ = new QComboBox(this);
    shortcuts_->setObjectName("shortcuts");
    scopeLabel_ = new QLabel(this);
    scope_ = new QComboBox(this);
    scope_->setObjectName("scope");
    scopeLabel_->setBuddy(scope_);

    selectAll_ = new QPushButton(this);
    selectAll_->setObjectName("selectAll");
    unselectAll_ = new QPushButton(this);
    unselectAll_->setObjectName("unselectAll");
    ok_ = new QPushButton(this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    close_ = new QPushButton(this);
    close_->setObjectName("close");
    close_->setAutoDefault(false);
    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setMinimumHeight(2 * status_->fontMetrics().height());

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel_);
    pathRow->addWidget(path_, 1);

    auto* left = new QWidget(this);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->addWidget(drives_);
    leftColumn->addWidget(folders_, 1);
    leftColumn->addWidget(shortcuts_);

    auto* scopeRow = new QHBoxLayout;
    scopeRow->addWidget(scopeLabel_);
    scopeRow->addWidget(scope_, 1);
    auto* right = new QWidget(this);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->addWidget(filesLabel_);
    rightColumn->addWidget(files_, 1);
    rightColumn->addLayout(scopeRow);

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setObjectName("split");
    split_->setChildrenCollapsible(false);
    split_->addWidget(left);
    split_->addWidget(right);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll_);
    buttons->addWidget(unselectAll_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(split_, 1);
    layout->addLayout(buttons);
    layout->addWidget(status_);
    chainTabOrder();

    applyTexts();

    connect(drives_, &QComboBox::activated, this, &FileChooserWindow::changeDrive);
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { changeFolder(current); });
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this,
            &FileChooserWindow::keepFolderInView);
    connect(folderModel_, &QFileSystemModel::layoutChanged, this,
            &FileChooserWindow::keepFolderInView);
    connect(folderModel_, &QFileSystemModel::rowsInserted, this,
            &FileChooserWindow::keepFolderInView);
    connect(folders_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { keepFolderInView_ = false; });
    connect(shortcuts_, &QComboBox::activated, this, &FileChooserWindow::goToShortcut);
    connect(scope_, &QComboBox::currentIndexChanged, this,
            [this](int index) { files_->setEnabled(index != kSubfolderScope); });
    connect(files_, &QListWidget::itemDoubleClicked, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    const auto tickAll = [this](Qt::CheckState state) {
        for (int row = 0; row < files_->count(); ++row) files_->item(row)->setCheckState(state);
    };
    connect(selectAll_, &QPushButton::clicked, this, [tickAll] { tickAll(Qt::Checked); });
    connect(unselectAll_, &QPushButton::clicked, this, [tickAll] { tickAll(Qt::Unchecked); });
    connect(ok_, &QPushButton::clicked, this, &FileChooserWindow::confirm);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(&statusTimer_, &QTimer::timeout, this, &FileChooserWindow::updateSearchStatus);

    // On first use the home folder, where track files are kept, rather than
    // the program's own folder.
    const std::string home = withoutTrailingSeparator(toStd(QDir::homePath()));
    if (app_.lastDir.empty()) app_.lastDir = home;
    fitAndCentre(this, app_.chooserWidth > 0 ? app_.chooserWidth : kFirstWidth,
                 app_.chooserHeight > 0 ? app_.chooserHeight : kFirstHeight, owner);
    if (app_.chooserSplit.size() == 2) {
        split_->setSizes({app_.chooserSplit[0], app_.chooserSplit[1]});
    }
    setFolderPath(chooserStartFolder(app_.lastDir, home));
    app_.chooserAccepted = false;
}

FileChooserWindow::~FileChooserWindow() {
    // Only reached during a search when the owner goes away: end the walk
    // early and wait for it, so the thread never outlives what it uses.
    stopSearch_ = true;
    if (search_.joinable()) {
        search_.join();
        app_.searchRunning = false;
    }
}

bool FileChooserWindow::choose() {
    return exec() == QDialog::Accepted;
}

void FileChooserWindow::chainTabOrder() {
    QWidget* previous = path_;
    for (QWidget* next :
         std::initializer_list<QWidget*>{drives_, folders_, shortcuts_, files_, scope_, selectAll_,
                                         unselectAll_, ok_, close_}) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void FileChooserWindow::applyTexts() {
    setWindowTitle(uiText(pack_.text(TextId::ChooserTitle) + ":"));
    pathLabel_->setText(uiText(pack_.text(TextId::ChooserPathLabel) + ":"));
    filesLabel_->setText(uiText(pack_.text(TextId::ChooserFilesLabel)));
    shortcuts_->clear();
    for (const TextId id :
         {TextId::ShortcutGoTo, TextId::ShortcutProgramFolder, TextId::ShortcutDesktop,
          TextId::ShortcutDocuments, TextId::ShortcutFavourites, TextId::ShortcutHome}) {
        shortcuts_->addItem(uiText(pack_.text(id)));
    }
    shortcuts_->setCurrentIndex(0);
    scopeLabel_->setText(uiText(pack_.text(TextId::SearchScopeLabel) + ":"));
    scope_->clear();
    scope_->addItem(uiText(pack_.text(TextId::ScopeCurrentFolder)));
    scope_->addItem(uiText(pack_.text(TextId::ScopeAllSubfolders)));
    scope_->setCurrentIndex(0);
    selectAll_->setText(uiText(pack_.text(TextId::SelectAllButton)));
    unselectAll_->setText(uiText(pack_.text(TextId::SelectNoneButton)));
    close_->setText(uiText(pack_.text(TextId::CloseButton)));
    ok_->setText(uiText(pack_.text(TextId::OkButton)));
}

void FileChooserWindow::setFolderPath(const std::string& folder) {
    folder_ = folder;
    path_->setText(QString::fromStdString(folder_));
    keepFolderInView_ = true;
    const int drive = driveIndexOf(*drives_, folder_);
    if (drive >= 0) drives_->setCurrentIndex(drive);
    showFolderInTree();
    refillFileList();
}

void FileChooserWindow::showFolderInTree() {
    followingFolder_ = true;
    const QModelIndex index =
        folder_.empty() ? QModelIndex() : folderModel_->index(QString::fromStdString(folder_));
    if (index.isValid()) {
        folders_->setCurrentIndex(index);
        folders_->expand(index);
        keepFolderInView();
    } else {
        folders_->selectionModel()->clear();
    }
    followingFolder_ = false;
}

void FileChooserWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    keepFolderInView();  // the tree knows its height only now
}

void FileChooserWindow::keepFolderInView() {
    if (!keepFolderInView_ || scrollPending_) return;
    scrollPending_ = true;
    // After the model's change has been laid out; one scroll for a burst.
    QTimer::singleShot(0, this, [this] {
        scrollPending_ = false;
        const QModelIndex current = folders_->currentIndex();
        if (keepFolderInView_ && current.isValid()) {
            folders_->scrollTo(current, QAbstractItemView::PositionAtCenter);
        }
    });
}

void FileChooserWindow::refillFileList() {
    files_->clear();
    for (const std::string& name : listFolderFiles(folder_)) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), files_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void FileChooserWindow::changeDrive(int index) {
    if (index < 0) return;
    setFolderPath(toStd(drives_->itemText(index)));
    folders_->setFocus();
}

void FileChooserWindow::changeFolder(const QModelIndex& current) {
    if (followingFolder_ || !current.isValid()) return;
    folder_ = toStd(folderModel_->filePath(current));
    path_->setText(QString::fromStdString(folder_));
    keepFolderInView_ = false;  // the user chose it where it is
    refillFileList();
    files_->setFocus();
}

void FileChooserWindow::goToShortcut(int index) {
    std::string folder;
    switch (index) {
        case 1:
            folder = app_.paths.runFolder;
            break;
        case 2:
            folder = specialFolder(QStandardPaths::DesktopLocation);
            break;
        case 3:
            folder = specialFolder(QStandardPaths::DocumentsLocation);
            break;
        case 4:  // favourites: no such folder on this desktop
            break;
        case kHomeShortcut:
            folder = toStd(QDir::homePath());
            break;
        default:
            return;
    }
    shortcuts_->setCurrentIndex(0);
    setFolderPath(withoutTrailingSeparator(folder));
    folders_->setFocus();
}

bool FileChooserWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != path_ || event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        // Enter goes to the path typed; it does not confirm the window.
        goToTypedPath();
        return true;
    }
    // Tab completes while there is something to complete, then moves on.
    if (plain && key->key() == Qt::Key_Tab) return completeTypedPath();
    return false;
}

bool FileChooserWindow::completeTypedPath() {
    if (path_->text().isEmpty()) return false;
    const std::string typed = toStd(typedPathIn(folder_, path_->text()));
    // cleanPath drops a trailing separator the user typed.
    const bool endsInSeparator = path_->text().endsWith('/');
    const std::string start = endsInSeparator && typed != "/" ? typed + "/" : typed;
    const std::string completed = completeFolderPath(start);
    if (completed == start) return false;  // nothing more to complete: Tab moves on
    path_->setText(QString::fromStdString(completed));
    return true;
}

void FileChooserWindow::goToTypedPath() {
    const QString path = typedPathIn(folder_, path_->text());
    const QFileInfo target(path);
    if (target.isDir()) {
        status_->clear();
        setFolderPath(withoutTrailingSeparator(toStd(target.absoluteFilePath())));
        folders_->setFocus();
        return;
    }
    if (target.isFile()) {
        // A file's path: its folder, with the file ticked and highlighted.
        setFolderPath(withoutTrailingSeparator(toStd(target.absolutePath())));
        const QList<QListWidgetItem*> named =
            files_->findItems(target.fileName(), Qt::MatchExactly);
        if (!named.isEmpty()) {
            named.front()->setCheckState(Qt::Checked);
            files_->setCurrentItem(named.front());
        }
        status_->clear();
        files_->setFocus();
        return;
    }
    status_->setText(uiText(safeFormat(pack_.text(TextId::ChooserNoSuchFolder), {toStd(path)})));
    path_->selectAll();
}

void FileChooserWindow::done(int result) {
    app_.chooserWidth = width();
    app_.chooserHeight = height();
    const QList<int> sizes = split_->sizes();
    app_.chooserSplit.assign(sizes.begin(), sizes.end());
    QDialog::done(result);
}

void FileChooserWindow::setControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{path_, drives_, folders_, files_, ok_, close_, selectAll_,
                                         unselectAll_, shortcuts_, scope_}) {
        control->setEnabled(enabled);
    }
    // The check list stays off while the subfolder scope is chosen.
    if (enabled) files_->setEnabled(scope_->currentIndex() != kSubfolderScope);
}

void FileChooserWindow::confirm() {
    if (app_.searchRunning) return;
    app_.lastDir = folder_;
    setControlsEnabled(false);
    if (scope_->currentIndex() == kSubfolderScope) {
        startSearch();
        return;
    }

    ChooserItems items;
    items.folder = folder_;
    for (int row = 0; row < files_->count(); ++row) {
        const QListWidgetItem* item = files_->item(row);
        items.names.push_back(toStd(item->text()));
        items.ticked.push_back(item->checkState() == Qt::Checked);
        // Only an item the user highlighted counts, not the focus frame.
        if (item == files_->currentItem() && item->isSelected()) items.current = row;
    }
    std::optional<std::vector<std::string>> chosen =
        chooseFiles(items, app_.chooserAppend, prompter_, pack_);
    if (!chosen) {
        setControlsEnabled(true);
        return;
    }
    addChosenFiles(app_.trackFiles, std::move(*chosen), app_.chooserAppend);
    app_.chooserAccepted = true;
    accept();
}

void FileChooserWindow::startSearch() {
    app_.searchState = SearchWalking;
    app_.foundFileCount = 0;
    app_.searchRunning = true;
    stopSearch_ = false;
    updateSearchStatus();
    statusTimer_.start(200);
    search_ = std::thread([this, root = folder_] {
        auto found = std::make_shared<std::vector<std::string>>(
            searchSubfolders(root, app_.searchState, app_.foundFileCount, &stopSearch_));
        // Widgets and the list of track files are touched on the UI thread only.
        QMetaObject::invokeMethod(
            this, [this, found] { finishSearch(std::move(*found)); }, Qt::QueuedConnection);
    });
}

void FileChooserWindow::finishSearch(std::vector<std::string> found) {
    if (search_.joinable()) search_.join();
    app_.searchState = SearchAdding;
    updateSearchStatus();
    addChosenFiles(app_.trackFiles, std::move(found), app_.chooserAppend);
    app_.chooserAccepted = true;
    statusTimer_.stop();
    app_.searchRunning = false;
    accept();
    // The refusal to close may still be on screen; with the search over it
    // says nothing true, and it must not stay behind over the main window.
    if (refusalShown_) {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->reject();
        }
    }
}

void FileChooserWindow::updateSearchStatus() {
    status_->setText(uiText(searchStatusText(pack_, app_.searchState, app_.foundFileCount)));
}

void FileChooserWindow::reject() {
    if (app_.searchRunning) {
        if (refusalShown_) return;
        refusalShown_ = true;
        prompter_.message(pack_.text(TextId::SearchRunning), pack_.text(TextId::SearchingTitle),
                          Prompter::Icon::Information, Prompter::Buttons::Ok, Prompter::Answer::Ok);
        refusalShown_ = false;
        return;
    }
    QDialog::reject();
}

}  // namespace tcmap
