#include "gui/file_list_window.h"

#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "config/prompter.h"
#include "files/file_chooser_rules.h"
#include "files/file_list_rules.h"
#include "gui/dialog_placement.h"
#include "gui/file_chooser_window.h"
#include "gui/ui_text.h"
#include "gui/window_session.h"

namespace tcmap {

namespace {

std::vector<FileListWindow*> shownWindows;

// The dropped local files as one text, paths separated by CR LF; empty when
// nothing dropped is a local file.
QString droppedFiles(const QMimeData* data) {
    QStringList paths;
    if (data != nullptr) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) paths << url.toLocalFile();
        }
    }
    return paths.join(QStringLiteral("\r\n"));
}

// The table, which also takes dropped files.
class FileTable : public QTableWidget {
  public:
    FileTable(QWidget* parent, std::function<void(const std::string&)> onDrop)
        : QTableWidget(parent), onDrop_(std::move(onDrop)) {
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DropOnly);
    }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override { acceptFiles(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptFiles(event); }
    void dropEvent(QDropEvent* event) override {
        const QString text = droppedFiles(event->mimeData());
        if (text.isEmpty()) return event->ignore();
        event->acceptProposedAction();
        onDrop_(text.toStdString());
    }

  private:
    static void acceptFiles(QDropEvent* event) {
        if (droppedFiles(event->mimeData()).isEmpty()) return event->ignore();
        event->acceptProposedAction();
    }

    std::function<void(const std::string&)> onDrop_;
};

QTableWidgetItem* cell(const std::string& text, bool number) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

FileListWindow::FileListWindow(WindowSession& app, Prompter& prompter, QWidget* owner)
    : QDialog(owner), app_(app), prompter_(prompter), pack_(app.languagePack()) {
    setModal(true);
    opener_ = [](const std::string& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };

    table_ = new FileTable(this, [this](const std::string& text) { dropFiles(text); });
    table_->setObjectName("table");
    table_->setColumnCount(5);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    // The folder column takes what the window width leaves.
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table_->setColumnWidth(0, 48);
    table_->setColumnWidth(1, 150);
    table_->setColumnWidth(3, 120);
    table_->setColumnWidth(4, 80);

    const auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    add_ = button("add");
    remove_ = button("remove");
    dedupe_ = button("dedupe");
    clear_ = button("clear");
    refresh_ = button("refresh");
    open_ = button("open");
    close_ = button("close");
    status_ = new QLabel(this);
    status_->setObjectName("status");

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add_, remove_, dedupe_, clear_, refresh_, open_}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    applyTexts();

    connect(table_, &QTableWidget::itemSelectionChanged, this, &FileListWindow::updateListStatus);
    connect(table_, &QTableWidget::currentCellChanged, this, &FileListWindow::updateListStatus);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &FileListWindow::openSelected);
    connect(add_, &QPushButton::clicked, this, &FileListWindow::addFiles);
    connect(remove_, &QPushButton::clicked, this, &FileListWindow::removeFiles);
    connect(dedupe_, &QPushButton::clicked, this, &FileListWindow::removeDuplicates);
    connect(clear_, &QPushButton::clicked, this, &FileListWindow::clearFiles);
    connect(refresh_, &QPushButton::clicked, this, &FileListWindow::refillFileList);
    connect(open_, &QPushButton::clicked, this, &FileListWindow::openSelected);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);

    fitAndCentre(this, 640, 400, owner);
    shownWindows.push_back(this);
    refillFileList();
}

FileListWindow::~FileListWindow() {
    std::erase(shownWindows, this);
}

bool FileListWindow::isOpen() {
    return std::any_of(shownWindows.begin(), shownWindows.end(),
                       [](const FileListWindow* window) { return window->isVisible(); });
}

void FileListWindow::setFileOpener(std::function<void(const std::string&)> opener) {
    opener_ = std::move(opener);
}

void FileListWindow::applyTexts() {
    setWindowTitle(uiText(pack_.text(TextId::FileListTitle)));
    QStringList headers;
    for (const TextId id : {TextId::ColumnNumber, TextId::ColumnName, TextId::ColumnFolder,
                            TextId::ColumnType, TextId::ColumnSize}) {
        headers << uiText(pack_.text(id));
    }
    table_->setHorizontalHeaderLabels(headers);
    add_->setText(uiText(pack_.text(TextId::AddButton)));
    remove_->setText(uiText(pack_.text(TextId::RemoveButton)));
    dedupe_->setText(uiText(pack_.text(TextId::RemoveDuplicatesButton)));
    clear_->setText(uiText(pack_.text(TextId::ClearButton)));
    refresh_->setText(uiText(pack_.text(TextId::RefreshButton)));
    open_->setText(uiText(pack_.text(TextId::OpenButton)));
    close_->setText(uiText(pack_.text(TextId::CloseButton)));
}

void FileListWindow::refillFileList() {
    prompter_.setWaitCursor(true);
    table_->hide();
    table_->setRowCount(0);
    const FileTypeTexts types = FileTypeTexts::from(pack_);
    const int rows = static_cast<int>(std::min<size_t>(app_.trackFiles.size(), INT32_MAX));
    table_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const FileListRow shown = fileListRow(row + 1, app_.trackFiles[row], types);
        table_->setItem(row, 0, cell(shown.number, true));
        table_->setItem(row, 1, cell(shown.name, false));
        table_->setItem(row, 2, cell(shown.folder, false));
        table_->setItem(row, 3, cell(shown.type, false));
        table_->setItem(row, 4, cell(shown.size, true));
    }
    table_->show();
    updateListStatus();
    prompter_.setWaitCursor(false);
    emit trackFilesChanged();
}

std::vector<int> FileListWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListWindow::updateListStatus() {
    status_->setText(uiText(listStatusText(pack_.text(TextId::FileListCount), selectedRows().size(),
                                           app_.trackFiles.size())));
}

void FileListWindow::addFiles() {
    app_.chooserAppend = true;
    {
        FileChooserWindow chooser(app_, prompter_, this);
        chooser.exec();
    }
    storeLastDir(app_.paths.settingsPath, app_.lastDir);
    refillFileList();
}

void FileListWindow::removeFiles() {
    removeSelectedFiles(app_.trackFiles, selectedRows());
    refillFileList();
}

void FileListWindow::removeDuplicates() {
    if (app_.trackFiles.empty()) return;
    if (prompter_.message(pack_.text(TextId::RemoveDuplicatesQuestion),
                          pack_.text(TextId::RemoveDuplicatesTitle), Prompter::Icon::Question,
                          Prompter::Buttons::YesNo,
                          Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    removeDuplicateFiles(app_.trackFiles);
    refillFileList();
}

void FileListWindow::clearFiles() {
    if (app_.trackFiles.empty()) return;
    if (prompter_.message(pack_.text(TextId::ClearListQuestion), pack_.text(TextId::ClearListTitle),
                          Prompter::Icon::Question, Prompter::Buttons::YesNo,
                          Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    app_.trackFiles.clear();
    refillFileList();
}

void FileListWindow::openSelected() {
    // A folder is opened into the track files it holds.
    if (const std::vector<int> rows = selectedRows();
        rows.size() == 1 && expandFolderEntry(app_.trackFiles, size_t(rows.front()))) {
        refillFileList();
        return;
    }
    if (const std::optional<std::string> path = fileToOpen(app_.trackFiles, selectedRows())) {
        opener_(*path);
    }
}

void FileListWindow::dropFiles(const std::string& droppedText) {
    dropOnFileList(app_.trackFiles, droppedText);
    refillFileList();
}

}  // namespace tcmap
