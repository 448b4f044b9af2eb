// The program's main window: menus, the drawing panel, the four-part status
// bar, the title, file drops and the commands. It is the MainView of the draw
// jobs it starts: calls from a job's thread are posted to the user-interface
// thread in order, so the window never waits for a job.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/main_view.h"
#include "i18n/text_id.h"
#include "render/draw_mode.h"

class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QListWidget;
class QTabWidget;
class QMenu;

namespace tcmap {

struct WindowSession;
class DrawPanel;
class LanguagePack;
class Prompter;

// Runs one draw job to its end on the calling thread (runDrawJob, or a
// stand-in in tests).
using DrawJobRunner = std::function<void(WindowSession&, MainView&, DrawMode)>;

class MainWindow : public QMainWindow, public MainView {
    Q_OBJECT

  public:
    // The items of the menu tree.
    enum class Item {
        OpenFile,
        ManageFileList,
        Settings,
        ChangeMap,
        Save,
        Exit,
        StartDrawing,
        RegionalDrawing,
        GlobalDrawing,
        BackgroundColour,
        ClearDisplay,
        AutoDrawOff,
        AutoDrawNormal,
        AutoDrawRegional,
        AutoDrawGlobal,
        TextFormat,
        CurrentLanguage,
        SelectLanguage,
        Messages,
        Keys,
        About,
    };

    MainWindow(WindowSession& app, Prompter& prompter, DrawJobRunner runner,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Called inside the catch block of a job thread whose job threw. Without
    // one, the exception ends the process through std::terminate.
    void setJobErrorHandler(std::function<void()> handler) {
        jobErrorHandler_ = std::move(handler);
    }

    // --- commands (user-interface thread) ---
    void applyMainTexts();
    // The menus, titles and the current-language item in app's language.
    void applyLanguage();
    void setCurrentLanguageCaption(const std::string& caption);
    void startDrawJob(DrawMode mode);
    void onMainResized();
    void dropFiles(const std::vector<std::string>& paths);
    void changeMap();
    void chooseBackgroundColour();
    void clearDisplay();
    void chooseAutoDraw(int item);
    void checkAutoDrawItem(int item);
    int checkedAutoDrawItem() const;
    void saveMap();
    void openFiles();
    void manageFileList();
    void openSettings();
    void openTextFormat();
    void selectLanguage();
    void showMessages();
    void showKeys();
    void showAbout();
    // The File menu's recent files, as stored; choosing one is like opening it.
    void fillRecentMenu();
    void openRecentFiles(const std::vector<std::string>& files);
    QMenu* recentMenu() const { return recentMenu_; }

  signals:
    // Emitted on the user-interface thread just before a draw job's thread
    // starts, so that a caller (or a test) knows a job began without waiting.
    void drawJobStarted(int mode);

  public:
    void setEscClosesWindow(bool on) { escCloses_ = on; }
    bool escClosesWindow() const { return escCloses_; }

    // Shows the report of an unexpected error: the red message in the panel
    // and in the status bar's message part.
    void showUnexpectedError(const std::string& message);

    // True from the start of a draw command until the job has ended.
    bool jobBusy() const;
    bool menusEnabled() const { return menusEnabled_; }

    QAction* action(Item item) const;
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* drawMenu() const { return drawMenu_; }
    QMenu* languageMenu() const { return languageMenu_; }
    QMenu* autoDrawMenu() const { return autoDrawMenu_; }
    DrawPanel* panel() const { return panel_; }
    QString statusText(int part) const;
    // The panel that keeps the last job's warnings, and its list.
    QDockWidget* messagesPanel() const { return messagesDock_; }
    QStringList jobMessages() const;
    QMenu* helpMenu() const { return helpMenu_; }
    QTabWidget* tabs() const { return tabs_; }
    DrawPanel* chartPanel() const { return chartPanel_; }

    // --- MainView (any thread) ---
    void clearPanel() override;
    void setTextPosition(int x, int y) override;
    void writeLine(const std::string& text, uint32_t colour) override;
    void setPanelPicture(std::vector<uint8_t> encoded) override;
    std::vector<uint8_t> panelPicture() const override;
    void setPictureLayout(int mode) override;
    int pictureLayout() const override;
    void setStatusPart(int part, const std::string& text) override;
    void setJobMessages(std::vector<std::string> warnings) override;
    void setChartPicture(std::vector<uint8_t> encoded) override;
    void enableMenus(bool enabled) override;
    void refreshTitle() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    template <typename Call>
    void onUiThread(Call&& call);

    void buildMenus();
    void buildStatusBar();
    void buildMessagesPanel();
    QAction* addItem(QMenu* menu, Item item, const QKeySequence& shortcut,
                     void (MainWindow::*command)());
    void setMenusEnabledNow(bool enabled);
    void refreshTitleNow();
    void paintIdlePicture();
    void setStatusNow(int part, const std::string& text);
    void forgetPanelPicture(int layout);
    bool askRegion(const LanguagePack& lang);
    QImage regionMap();
    void warn(const LanguagePack& lang, TextId textId, TextId titleId);
    void runJobThread(DrawMode mode);
    void setJobMessagesNow(const std::vector<std::string>& warnings);

    WindowSession& app_;
    Prompter& prompter_;
    DrawJobRunner runner_;
    std::function<void()> jobErrorHandler_;

    DrawPanel* panel_ = nullptr;
    QDockWidget* messagesDock_ = nullptr;
    QTabWidget* tabs_ = nullptr;  // the map, and the intensity chart once there is one
    DrawPanel* chartPanel_ = nullptr;
    QListWidget* messageList_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::array<QLabel*, kStatusParts> status_{};
    QMenu* fileMenu_ = nullptr;
    QMenu* drawMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QMenu* autoDrawMenu_ = nullptr;
    QActionGroup* autoDrawGroup_ = nullptr;
    std::vector<std::pair<Item, QAction*>> items_;
    std::string regionMapPath_;  // the map regionMap_ was made from
    QImage regionMap_;
    bool menusEnabled_ = true;
    bool escCloses_ = false;

    // What the job may read back from any thread.
    mutable std::mutex pictureMutex_;
    std::vector<uint8_t> pictureBytes_;
    std::atomic<int> pictureLayout_{0};
};

}  // namespace tcmap
