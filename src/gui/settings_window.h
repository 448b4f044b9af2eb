// The settings window: the drawing settings of both render styles and the
// active style. Built from the field tables of settings_form.h; Save stores
// through saveSettingsForm, Cancel stores nothing.
#pragma once

#include <QDialog>
#include <map>
#include <span>
#include <string>

#include "app/settings_form.h"
#include "i18n/language_pack.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QWidget;

namespace tcmap {

struct WindowSession;
class Prompter;

class SettingsWindow : public QDialog {
    Q_OBJECT

  public:
    SettingsWindow(WindowSession& app, Prompter& prompter, QWidget* owner);

  private:
    QWidget* buildPage(std::span<const SettingsField> fields, const SettingsFormValues& values);
    QString label(TextId textId) const;
    SettingsFormValues shownValues() const;
    void changeMap(QLineEdit* field);
    void save();
    void placeOnScreen(QWidget* owner);

    WindowSession& app_;
    Prompter& prompter_;
    LanguagePack pack_;

    QComboBox* style_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QPushButton* save_ = nullptr;
    std::map<std::string, QLineEdit*, std::less<>> edits_;
    std::map<std::string, QComboBox*, std::less<>> lists_;
    std::map<std::string, QCheckBox*, std::less<>> checks_;
};

}  // namespace tcmap
