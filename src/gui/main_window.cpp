#include "gui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <thread>

#include "app/main_commands.h"
#include "app/region_box.h"
#include "app/save_track_map.h"
#include "app/startup_state.h"
#include "config/map_path.h"
#include "config/profile_store.h"
#include "config/prompter.h"
#include "config/recent_files.h"
#include "config/settings_keys.h"
#include "gui/banner_picture.h"
#include "gui/draw_panel.h"
#include "gui/file_list_window.h"
#include "gui/language_window.h"
#include "gui/open_track_files.h"
#include "gui/qt_translations.h"
#include "gui/region_window.h"
#include "gui/settings_window.h"
#include "gui/text_format_window.h"
#include "gui/window_session.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

namespace tcmap {

namespace {

struct ItemText {
    MainWindow::Item item;
    TextId textId;
};

constexpr ItemText kItemTexts[] = {
    {MainWindow::Item::OpenFile, TextId::OpenFilesItem},
    {MainWindow::Item::ManageFileList, TextId::ManageFileListItem},
    {MainWindow::Item::Settings, TextId::SettingsItem},
    {MainWindow::Item::ChangeMap, TextId::ChangeMapItem},
    {MainWindow::Item::Save, TextId::SaveMapItem},
    {MainWindow::Item::Exit, TextId::ExitItem},
    {MainWindow::Item::StartDrawing, TextId::StartDrawingItem},
    {MainWindow::Item::RegionalDrawing, TextId::RegionalDrawingItem},
    {MainWindow::Item::GlobalDrawing, TextId::GlobalDrawingItem},
    {MainWindow::Item::BackgroundColour, TextId::BackgroundColourItem},
    {MainWindow::Item::ClearDisplay, TextId::ClearDisplayItem},
    {MainWindow::Item::AutoDrawOff, TextId::AutoDrawOffItem},
    {MainWindow::Item::AutoDrawNormal, TextId::AutoDrawNormalItem},
    {MainWindow::Item::AutoDrawRegional, TextId::AutoDrawRegionalItem},
    {MainWindow::Item::AutoDrawGlobal, TextId::AutoDrawGlobalItem},
    {MainWindow::Item::TextFormat, TextId::TextFormatItem},
    {MainWindow::Item::CurrentLanguage, TextId::CurrentLanguage},
    {MainWindow::Item::SelectLanguage, TextId::SelectLanguageItem},
    {MainWindow::Item::Messages, TextId::MessagesItem},
    {MainWindow::Item::Keys, TextId::KeysItem},
    {MainWindow::Item::About, TextId::AboutItem},
};

constexpr MainWindow::Item kAutoDrawItems[] = {
    MainWindow::Item::AutoDrawOff,
    MainWindow::Item::AutoDrawNormal,
    MainWindow::Item::AutoDrawRegional,
    MainWindow::Item::AutoDrawGlobal,
};

// The idle picture's texts.
constexpr uint32_t kIdleTitleColour = rgb(127, 191, 255);
constexpr uint32_t kIdleHintColour = rgb(0, 136, 255);
constexpr uint32_t kErrorColour = rgb(255, 0, 0);
constexpr double kIdleTitlePoints = 16;
constexpr double kIdleHintPoints = 11;
constexpr double kCreditPoints = 8;
constexpr double kLogPoints = 10;
constexpr double kErrorPoints = 20;

constexpr int kStatusPartWidth = 100;

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// The caption of a menu item. Captions name their shortcut themselves
// ("Open Files (Ctrl+O)"); a tab with nothing after it is Qt's sign that the
// text brings its own shortcut column, so the menu does not repeat it. The
// action keeps its shortcut, which is what makes the keys work.
QString menuCaption(const std::string& text, const QAction& item) {
    QString caption = q(text);
    if (!item.shortcut().isEmpty()) caption += QLatin1Char('\t');
    return caption;
}

std::string quoted(const std::string& value) {
    return "\"" + value + "\"";
}

std::string oneLine(const std::string& text) {
    QString line = q(text);
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.toStdString();
}

// The job's own decoder reads the picture: it knows every format the job
// writes and has no allocation cap below the largest map shown (Qt's readers
// refuse pictures above 128 MB). The image shares the decoded pixels.
QImage decodePanelPicture(const std::vector<uint8_t>& encoded) {
    auto picture = std::make_unique<Picture>();
    if (encoded.empty() || !picture->loadBytes(encoded) || picture->empty()) return {};
    const int width = picture->width();
    const int height = picture->height();
    const qsizetype stride = picture->stride();
    auto* pixels = reinterpret_cast<uchar*>(picture->pixels());
    return QImage(
        pixels, width, height, stride, QImage::Format_ARGB32_Premultiplied,
        [](void* owned) { delete static_cast<Picture*>(owned); }, picture.release());
}

}  // namespace

MainWindow::MainWindow(WindowSession& app, Prompter& prompter, DrawJobRunner runner,
                       QWidget* parent)
    : QMainWindow(parent), app_(app), prompter_(prompter), runner_(std::move(runner)) {
    setFont(QFont(QStringLiteral("Microsoft YaHei UI"), 9));
    // The map fills the window; the tab bar appears only once a job has an
    // intensity chart to show beside it.
    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    panel_ = new DrawPanel(tabs_);
    chartPanel_ = new DrawPanel(tabs_);
    chartPanel_->setObjectName(QStringLiteral("chart"));
    tabs_->addTab(panel_, QString());
    tabs_->addTab(chartPanel_, QString());
    tabs_->setTabVisible(1, false);
    tabs_->tabBar()->hide();
    setCentralWidget(tabs_);
    buildMenus();
    buildStatusBar();
    buildMessagesPanel();
    connect(panel_, &DrawPanel::resized, this, &MainWindow::onMainResized);
    connect(panel_, &DrawPanel::rightClicked, this, [this](QPoint at) {
        if (menusEnabled_) fileMenu_->popup(at);
    });
}

// A job thread that is still running holds a reference to this window; the
// program therefore ends without destroying it while a job runs.
MainWindow::~MainWindow() = default;

// ---- building ------------------------------------------------------------

QAction* MainWindow::addItem(QMenu* menu, Item item, const QKeySequence& shortcut,
                             void (MainWindow::*command)()) {
    QAction* entry = menu->addAction(QString());
    entry->setShortcut(shortcut);
    if (command != nullptr) connect(entry, &QAction::triggered, this, command);
    items_.emplace_back(item, entry);
    return entry;
}

void MainWindow::buildMenus() {
    fileMenu_ = menuBar()->addMenu(QString());
    addItem(fileMenu_, Item::OpenFile, QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::openFiles);
    addItem(fileMenu_, Item::ManageFileList, QKeySequence(Qt::Key_F2), &MainWindow::manageFileList);
    addItem(fileMenu_, Item::Settings, QKeySequence(Qt::Key_F3), &MainWindow::openSettings);
    addItem(fileMenu_, Item::ChangeMap, QKeySequence(Qt::Key_F4), &MainWindow::changeMap);
    addItem(fileMenu_, Item::Save, QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::saveMap);
    recentMenu_ = fileMenu_->addMenu(QString());
    recentMenu_->setObjectName(QStringLiteral("recent"));
    // Filled as it opens, so it always shows what Settings.ini holds.
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    fileMenu_->addSeparator();
    // Exit closes the window like its close button; shutdown follows from there.
    QAction* exit = addItem(fileMenu_, Item::Exit, QKeySequence(), nullptr);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    drawMenu_ = menuBar()->addMenu(QString());
    const struct {
        Item item;
        QKeySequence shortcut;
        DrawMode mode;
    } draws[] = {
        {Item::StartDrawing, QKeySequence(Qt::Key_F1), DrawMode::Normal},
        {Item::RegionalDrawing, QKeySequence(Qt::CTRL | Qt::Key_F1), DrawMode::Regional},
        {Item::GlobalDrawing, QKeySequence(Qt::SHIFT | Qt::Key_F1), DrawMode::Global},
    };
    for (const auto& draw : draws) {
        QAction* entry = addItem(drawMenu_, draw.item, draw.shortcut, nullptr);
        const DrawMode mode = draw.mode;
        connect(entry, &QAction::triggered, this, [this, mode] { startDrawJob(mode); });
    }
    drawMenu_->addSeparator();
    addItem(drawMenu_, Item::BackgroundColour, QKeySequence(Qt::CTRL | Qt::Key_B),
            &MainWindow::chooseBackgroundColour);
    addItem(drawMenu_, Item::ClearDisplay, QKeySequence(Qt::Key_Delete), &MainWindow::clearDisplay);
    drawMenu_->addSeparator();
    autoDrawMenu_ = drawMenu_->addMenu(QString());
    autoDrawGroup_ = new QActionGroup(this);
    autoDrawGroup_->setExclusive(true);
    for (int index = 0; index < 4; ++index) {
        QAction* entry = addItem(autoDrawMenu_, kAutoDrawItems[index], QKeySequence(), nullptr);
        entry->setCheckable(true);
        autoDrawGroup_->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, index] { chooseAutoDraw(index); });
    }
    checkAutoDrawItem(kAutoDrawOff);
    drawMenu_->addSeparator();
    addItem(drawMenu_, Item::TextFormat, QKeySequence(Qt::CTRL | Qt::Key_F),
            &MainWindow::openTextFormat);
    addItem(drawMenu_, Item::Messages, QKeySequence(Qt::CTRL | Qt::Key_M),
            &MainWindow::showMessages);

    languageMenu_ = menuBar()->addMenu(QString());
    addItem(languageMenu_, Item::CurrentLanguage, QKeySequence(), nullptr);
    addItem(languageMenu_, Item::SelectLanguage, QKeySequence(Qt::Key_F12),
            &MainWindow::selectLanguage);

    // Help stays usable while a job runs: it only shows text.
    helpMenu_ = menuBar()->addMenu(QString());
    addItem(helpMenu_, Item::Keys, QKeySequence(), &MainWindow::showKeys);
    addItem(helpMenu_, Item::About, QKeySequence(), &MainWindow::showAbout);
}

void MainWindow::buildMessagesPanel() {
    // Docked under the map, so the warnings of a job stay readable after the
    // map has covered the log; hidden until a job has something to say.
    messagesDock_ = new QDockWidget(this);
    messagesDock_->setObjectName(QStringLiteral("messages"));
    messagesDock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    messageList_ = new QListWidget(messagesDock_);
    messageList_->setObjectName(QStringLiteral("messageList"));
    messageList_->setWordWrap(true);
    messagesDock_->setWidget(messageList_);
    addDockWidget(Qt::BottomDockWidgetArea, messagesDock_);
    messagesDock_->hide();
}

void MainWindow::buildStatusBar() {
    for (int part = 0; part < kStatusParts; ++part) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        if (part < kStatusParts - 1) {
            label->setFixedWidth(kStatusPartWidth);
            statusBar()->addWidget(label);
        } else {
            label->setMinimumWidth(1);
            statusBar()->addWidget(label, 1);
        }
        status_[size_t(part)] = label;
    }
    status_[0]->setText(QStringLiteral("VMAX: "));
    status_[1]->setText(QStringLiteral("MSLP: "));
    status_[2]->setText(QStringLiteral("ACE: "));
}

QAction* MainWindow::action(Item item) const {
    for (const auto& [key, entry] : items_) {
        if (key == item) return entry;
    }
    return nullptr;
}

QString MainWindow::statusText(int part) const {
    if (part < 0 || part >= kStatusParts) return {};
    return status_[size_t(part)]->text();
}

// ---- texts and title -----------------------------------------------------

void MainWindow::applyMainTexts() {
    refreshTitleNow();
    const LanguagePack lang = app_.languagePack();
    fileMenu_->setTitle(q(lang.text(TextId::FileMenu)));
    drawMenu_->setTitle(q(lang.text(TextId::DrawMenu)));
    languageMenu_->setTitle(q(lang.text(TextId::LanguageMenu)));
    autoDrawMenu_->setTitle(q(lang.text(TextId::AutoDrawMenu)));
    helpMenu_->setTitle(q(lang.text(TextId::HelpMenu)));
    recentMenu_->setTitle(q(lang.text(TextId::RecentFilesMenu)));
    messagesDock_->setWindowTitle(q(lang.text(TextId::MessagesTitle)));
    tabs_->setTabText(0, q(lang.text(TextId::MapTab)));
    tabs_->setTabText(1, q(lang.text(TextId::ChartTab)));
    for (const ItemText& entry : kItemTexts) {
        if (QAction* item = action(entry.item))
            item->setText(menuCaption(lang.text(entry.textId), *item));
    }
}

void MainWindow::setCurrentLanguageCaption(const std::string& caption) {
    // Shown as it is: an "&" in a language name is no accelerator.
    QString text = q(caption);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    action(Item::CurrentLanguage)->setText(text);
}

void MainWindow::refreshTitleNow() {
    const TitleState title{app_.jobRunning, app_.programVersion, app_.trackFiles, app_.style.map()};
    setWindowTitle(q(mainWindowTitle(title, app_.languagePack())));
}

// ---- menus and job state ---------------------------------------------------

bool MainWindow::jobBusy() const {
    return app_.jobRunning || !menusEnabled_;
}

void MainWindow::setMenusEnabledNow(bool enabled) {
    menusEnabled_ = enabled;
    // The items themselves are switched too, so their shortcuts cannot reach
    // a command while a job runs.
    for (QMenu* menu : {fileMenu_, drawMenu_, languageMenu_}) {
        menu->menuAction()->setEnabled(enabled);
        for (QAction* entry : menu->actions()) entry->setEnabled(enabled);
    }
    for (QAction* entry : autoDrawMenu_->actions()) entry->setEnabled(enabled);
}

void MainWindow::warn(const LanguagePack& lang, TextId textId, TextId titleId) {
    prompter_.message(lang.text(textId), lang.text(titleId), Prompter::Icon::Warning,
                      Prompter::Buttons::Ok, Prompter::Answer::Ok);
}

// ---- drawing ---------------------------------------------------------------

void MainWindow::startDrawJob(DrawMode mode) {
    if (jobBusy()) return;
    const LanguagePack lang = app_.languagePack();
    if (app_.trackFiles.empty()) {
        warn(lang, TextId::NoTrackFile, TextId::TrackFilesTitle);
        return;
    }
    if (mode == DrawMode::Regional && !askRegion(lang)) return;
    setMenusEnabledNow(false);
    app_.idlePictureOn = false;
    runJobThread(mode);
}

bool MainWindow::askRegion(const LanguagePack& lang) {
    const std::string initial = readSetting(app_.paths.settingsPath, settings::kRegionSelect);
    RegionWindow window(lang, prompter_, regionMap(), this);
    window.setRegion(regionBoxFromText(initial));
    if (window.exec() != QDialog::Accepted) return false;
    std::optional<RegionChoice> region = parseRegion(window.regionText());
    if (!region) {
        warn(lang, TextId::BadRegion, TextId::RegionTitle);
        return false;
    }
    ProfileStore::write(app_.paths.settingsPath, settings::kRegionSelect.section,
                        settings::kRegionSelect.key, quoted(region->stored));
    app_.regionParts = std::move(region->parts);
    return true;
}

QImage MainWindow::regionMap() {
    // The region is drawn on the active style's world map, made small once.
    const std::string& chosen = app_.style.tcv ? app_.style.mapPath1 : app_.style.mapPath;
    const std::string path = resolveMapPath(chosen, app_.paths.runFolder, app_.paths.dataFolder);
    if (path == regionMapPath_) return regionMap_;
    regionMapPath_ = path;
    regionMap_ = QImage();
    Picture picture;
    if (path.empty() || !picture.loadFile(path) || picture.empty()) return regionMap_;
    const QImage full(reinterpret_cast<const uchar*>(picture.pixels()), picture.width(),
                      picture.height(), picture.stride(), QImage::Format_ARGB32_Premultiplied);
    constexpr int kRegionMapWidth = 1440;  // sharp on a 2x screen at the window's size
    regionMap_ = full.width() > kRegionMapWidth
                     ? full.scaledToWidth(kRegionMapWidth, Qt::SmoothTransformation)
                     : full.copy();
    return regionMap_;
}

void MainWindow::runJobThread(DrawMode mode) {
    emit drawJobStarted(int(mode));
    // Not joined and not kept: the job ends on its own and restores the menus
    // through the posted calls.
    std::thread([this, mode, runner = runner_, onError = jobErrorHandler_] {
        try {
            runner(app_, *this, mode);
        } catch (...) {
            if (!onError) throw;
            onError();
        }
    }).detach();
}

// ---- the panel ---------------------------------------------------------------

void MainWindow::onMainResized() {
    // The panel fills the client area above the status bar through the
    // window's layout; only the idle picture needs painting again.
    if (app_.idlePictureOn && !app_.jobRunning) paintIdlePicture();
}

void MainWindow::paintIdlePicture() {
    const LanguagePack lang = app_.languagePack();
    panel_->clear();
    panel_->setPicture(makeBannerPicture(panel_->devicePixelRatioF()), 0);
    forgetPanelPicture(0);
    panel_->setTextPosition(0, kBannerHeight);
    panel_->setTextColour(kIdleTitleColour);
    panel_->setFontStyle(kIdleTitlePoints, true, true);
    panel_->writeLine(q(lang.text(TextId::IdleTitle)));
    panel_->setTextColour(kIdleHintColour);
    panel_->setFontStyle(kIdleHintPoints, false, false);
    panel_->writeLine(q(lang.text(TextId::IdleHint)));
    panel_->setFontSize(kCreditPoints);
    panel_->setTextColour(kIdleTitleColour);
    panel_->writeLine(QStringLiteral("tcmap %1 · track maps from ATCF best-track and forecast "
                                     "files · map data: Natural Earth (public domain)")
                          .arg(q(app_.programVersion)));
    panel_->setFontSize(kLogPoints);
}

void MainWindow::forgetPanelPicture(int layout) {
    {
        std::lock_guard lock(pictureMutex_);
        pictureBytes_.clear();
    }
    pictureLayout_ = layout;
}

void MainWindow::clearDisplay() {
    if (jobBusy()) return;
    panel_->clear();
    forgetPanelPicture(pictureLayout_);
    app_.idlePictureOn = true;
    onMainResized();
}

void MainWindow::chooseBackgroundColour() {
    if (jobBusy()) return;
    const uint32_t current = panel_->backgroundColour();
    const uint32_t chosen = prompter_.chooseColour(current) & 0xFFFFFFu;
    if (chosen == current) return;
    panel_->setBackgroundColour(chosen);
    onMainResized();
    ProfileStore::write(app_.paths.settingsPath, settings::kBackgroundColor.section,
                        settings::kBackgroundColor.key, quoted(backgroundColourText(chosen)));
}

void MainWindow::showUnexpectedError(const std::string& message) {
    // Nothing may start or repaint over the report while it is shown.
    setMenusEnabledNow(false);
    app_.idlePictureOn = false;
    panel_->clear();
    forgetPanelPicture(pictureLayout_);
    panel_->setTextPosition(0, 0);
    panel_->setTextColour(kErrorColour);
    panel_->setFontSize(kErrorPoints);
    panel_->writeLine(q(message));
    setStatusNow(kStatusParts - 1, oneLine(message));
}

// ---- commands ------------------------------------------------------------------

void MainWindow::changeMap() {
    if (jobBusy()) return;
    const LanguagePack lang = app_.languagePack();
    std::string& map = app_.style.tcv ? app_.style.mapPath1 : app_.style.mapPath;
    // A relative map path names a file in the run folder, as for the job.
    const std::optional<std::string> chosen = prompter_.chooseOpenPath(
        lang.text(TextId::MapDialogTitle) + ":", lang.text(TextId::MapDialogFilter),
        resolveMapPath(map, app_.paths.runFolder, app_.paths.dataFolder));
    if (!chosen) return;
    map = *chosen;
    const SettingKey& key = app_.style.tcv ? settings::kMap1 : settings::kMap;
    ProfileStore::write(app_.paths.settingsPath, key.section, key.key, quoted(map));
    refreshTitleNow();
}

void MainWindow::chooseAutoDraw(int item) {
    if (item < kAutoDrawOff || item > kAutoDrawGlobal) return;
    checkAutoDrawItem(item);
    ProfileStore::write(app_.paths.settingsPath, settings::kAutoDraw.section,
                        settings::kAutoDraw.key, std::to_string(item));
}

void MainWindow::checkAutoDrawItem(int item) {
    if (item < kAutoDrawOff || item > kAutoDrawGlobal) item = kAutoDrawOff;
    action(kAutoDrawItems[item])->setChecked(true);
}

int MainWindow::checkedAutoDrawItem() const {
    for (int index = 0; index < 4; ++index) {
        if (action(kAutoDrawItems[index])->isChecked()) return index;
    }
    return kAutoDrawOff;
}

void MainWindow::saveMap() {
    if (jobBusy()) return;
    const LanguagePack lang = app_.languagePack();
    saveTrackMap(app_.lastMap, app_.tempFilePath, *this, lang, prompter_);
}

void MainWindow::openFiles() {
    if (!menusEnabled_) return;
    escCloses_ = false;
    const OpenFilesResult opened = openTrackFilesCommand(app_, prompter_, this);
    if (opened.confirmed) refreshTitleNow();
    if (opened.filesToDraw) rememberRecentFiles(app_.paths.settingsPath, app_.trackFiles);
    if (!opened.filesToDraw) return;
    if (const std::optional<DrawMode> mode = autoDrawMode(checkedAutoDrawItem())) {
        startDrawJob(*mode);
    }
}

void MainWindow::fillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::vector<std::string>> entries = readRecentFiles(app_.paths.settingsPath);
    for (size_t index = 0; index < entries.size(); ++index) {
        QString caption = q(recentCaption(entries[index], index));
        // Only the leading "&1" is an accelerator; an "&" of a file name is shown.
        caption = caption.left(3) + caption.mid(3).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = recentMenu_->addAction(caption);
        entry->setToolTip(q(entries[index].front()));
        entry->setEnabled(menusEnabled_);
        connect(entry, &QAction::triggered, this,
                [this, files = entries[index]] { openRecentFiles(files); });
    }
    recentMenu_->menuAction()->setEnabled(menusEnabled_ && !entries.empty());
}

void MainWindow::openRecentFiles(const std::vector<std::string>& files) {
    if (jobBusy() || FileListWindow::isOpen()) return;
    // Like a confirmed Open: the list, the title, then the auto-draw choice.
    app_.trackFiles = files;
    rememberRecentFiles(app_.paths.settingsPath, files);
    refreshTitleNow();
    if (const std::optional<DrawMode> mode = autoDrawMode(checkedAutoDrawItem())) {
        startDrawJob(*mode);
    }
}

void MainWindow::manageFileList() {
    if (jobBusy()) return;
    escCloses_ = false;
    FileListWindow list(app_, prompter_, this);
    // The title counts the files: it follows every change of the list at once.
    connect(&list, &FileListWindow::trackFilesChanged, this, &MainWindow::refreshTitleNow);
    list.exec();
    refreshTitleNow();
}

void MainWindow::openSettings() {
    if (jobBusy()) return;
    SettingsWindow settings(app_, prompter_, this);
    settings.exec();
    // The style or a map may have changed.
    refreshTitleNow();
}

void MainWindow::openTextFormat() {
    if (jobBusy()) return;
    TextFormatWindow format(app_, prompter_, this);
    format.exec();
}

void MainWindow::selectLanguage() {
    if (jobBusy()) return;
    LanguageWindow language(app_, prompter_, this);
    if (language.exec() != QDialog::Accepted) return;
    // At once: the window's texts now, every later box and window as it opens.
    app_.language = readLanguageChoice(app_.paths.runFolder);
    installQtTranslations(app_.language.code, app_.language.toBig5);
    applyLanguage();
    if (app_.idlePictureOn && !app_.jobRunning) paintIdlePicture();
}

void MainWindow::applyLanguage() {
    applyMainTexts();
    const LanguagePack lang = app_.languagePack();
    setCurrentLanguageCaption(lang.text(TextId::CurrentLanguage) + ": " +
                              lang.displayName(app_.language.code) + " (" + app_.language.code +
                              ")");
}

void MainWindow::dropFiles(const std::vector<std::string>& paths) {
    const LanguagePack lang = app_.languagePack();
    if (app_.style.mapPath.empty()) {
        warn(lang, TextId::NoMap, TextId::NoMapTitle);
        return;
    }
    if (jobBusy()) {
        warn(lang, TextId::JobRunning, TextId::Drawing);
        return;
    }
    if (FileListWindow::isOpen()) {
        prompter_.beep();
        return;
    }
    app_.trackFiles = paths;
    rememberRecentFiles(app_.paths.settingsPath, app_.trackFiles);
    refreshTitleNow();
    if (const std::optional<DrawMode> mode = autoDrawMode(checkedAutoDrawItem())) {
        startDrawJob(*mode);
        return;
    }
    // The map shown is of the files before the drop.
    if (panel_->showsMap()) setStatusNow(kStatusParts - 1, lang.text(TextId::MapOutOfDate));
}

// ---- events ------------------------------------------------------------------------

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && escCloses_) {
        close();
        return;
    }
    if (panel_->showsMap() && event->modifiers() == Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_0:
                panel_->zoomToFit();
                return;
            case Qt::Key_1:
                panel_->zoomActualSize();
                return;
            case Qt::Key_Plus:
            case Qt::Key_Equal:
                panel_->zoomBy(DrawPanel::kZoomStep, QPointF(panel_->rect().center()));
                return;
            case Qt::Key_Minus:
                panel_->zoomBy(1.0 / DrawPanel::kZoomStep, QPointF(panel_->rect().center()));
                return;
            default:
                break;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasUrls()) return;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr) return;
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    if (paths.empty()) return;
    event->acceptProposedAction();
    dropFiles(paths);
}

// ---- MainView ----------------------------------------------------------------------

template <typename Call>
void MainWindow::onUiThread(Call&& call) {
    if (QThread::currentThread() == thread()) {
        call();
    } else {
        QMetaObject::invokeMethod(this, std::forward<Call>(call), Qt::QueuedConnection);
    }
}

void MainWindow::clearPanel() {
    {
        std::lock_guard lock(pictureMutex_);
        pictureBytes_.clear();
    }
    onUiThread([this] { panel_->clear(); });
}

void MainWindow::setTextPosition(int x, int y) {
    onUiThread([this, x, y] { panel_->setTextPosition(x, y); });
}

void MainWindow::writeLine(const std::string& text, uint32_t colour) {
    onUiThread([this, line = q(text), colour] {
        panel_->setTextColour(colour);
        panel_->writeLine(line);
    });
}

void MainWindow::setPanelPicture(std::vector<uint8_t> encoded) {
    // Decoded here, on the caller's thread, so a large map never stalls the
    // window; the window only gets the finished image.
    QImage image = decodePanelPicture(encoded);
    {
        std::lock_guard lock(pictureMutex_);
        pictureBytes_ = std::move(encoded);
    }
    onUiThread([this, image] { panel_->setPicture(image, panel_->pictureLayout()); });
}

std::vector<uint8_t> MainWindow::panelPicture() const {
    std::lock_guard lock(pictureMutex_);
    return pictureBytes_;
}

void MainWindow::setPictureLayout(int mode) {
    pictureLayout_ = mode;
    onUiThread([this, mode] { panel_->setPictureLayout(mode); });
}

int MainWindow::pictureLayout() const {
    return pictureLayout_;
}

void MainWindow::setStatusNow(int part, const std::string& text) {
    if (part < 0 || part >= kStatusParts) return;
    status_[size_t(part)]->setText(q(oneLine(text)));
}

void MainWindow::setStatusPart(int part, const std::string& text) {
    onUiThread([this, part, text] { setStatusNow(part, text); });
}

void MainWindow::setJobMessages(std::vector<std::string> warnings) {
    onUiThread([this, warnings = std::move(warnings)] { setJobMessagesNow(warnings); });
}

void MainWindow::setJobMessagesNow(const std::vector<std::string>& warnings) {
    messageList_->clear();
    for (const std::string& warning : warnings) messageList_->addItem(q(warning));
    if (warnings.empty() || messagesDock_->isVisible()) return;
    messagesDock_->show();
    // A strip under the map, not half the window: the map stays the subject.
    resizeDocks({messagesDock_}, {std::max(80, height() / 5)}, Qt::Vertical);
}

void MainWindow::setChartPicture(std::vector<uint8_t> encoded) {
    QImage image = decodePanelPicture(encoded);  // on the job's thread, as the map
    onUiThread([this, image] {
        const bool shown = !image.isNull();
        if (shown) {
            chartPanel_->setPicture(image, kMapPictureLayout);
        } else {
            tabs_->setCurrentIndex(0);
            chartPanel_->clear();
        }
        tabs_->setTabVisible(1, shown);
        tabs_->tabBar()->setVisible(shown);
    });
}

QStringList MainWindow::jobMessages() const {
    QStringList texts;
    for (int row = 0; row < messageList_->count(); ++row) texts << messageList_->item(row)->text();
    return texts;
}

void MainWindow::showMessages() {
    messagesDock_->show();
    messagesDock_->raise();
}

void MainWindow::showKeys() {
    // Built from the menus themselves, so the table cannot fall out of step
    // with the shortcuts.
    const LanguagePack lang = app_.languagePack();
    std::string table;
    for (const auto& [item, entry] : items_) {
        if (entry->shortcut().isEmpty()) continue;
        QString caption = entry->text().section(QLatin1Char('\t'), 0, 0);
        caption.remove(QRegularExpression(QStringLiteral("^&.\\.")));
        caption.remove(QLatin1Char('&'));
        table += entry->shortcut().toString(QKeySequence::NativeText).toStdString() + "\t" +
                 caption.toStdString() + "\n";
    }
    prompter_.message(table, lang.text(TextId::KeysTitle), Prompter::Icon::Information,
                      Prompter::Buttons::Ok, Prompter::Answer::Ok);
}

void MainWindow::showAbout() {
    const LanguagePack lang = app_.languagePack();
    std::string title = lang.text(TextId::AboutItem);
    // Without its accelerator prefix ("&A.").
    if (const size_t dot = title.find('.'); dot != std::string::npos && dot <= 2)
        title.erase(0, dot + 1);
    prompter_.message(safeFormat(lang.text(TextId::AboutText), {app_.programVersion}), title,
                      Prompter::Icon::Information, Prompter::Buttons::Ok, Prompter::Answer::Ok);
}

void MainWindow::enableMenus(bool enabled) {
    onUiThread([this, enabled] { setMenusEnabledNow(enabled); });
}

void MainWindow::refreshTitle() {
    onUiThread([this] { refreshTitleNow(); });
}

}  // namespace tcmap
