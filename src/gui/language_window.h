// The language window: the installed languages, and storing the one chosen.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "i18n/language_list.h"
#include "i18n/language_pack.h"

class QListWidget;
class QWidget;

namespace tcmap {

struct WindowSession;
class Prompter;

class LanguageWindow : public QDialog {
    Q_OBJECT

  public:
    LanguageWindow(WindowSession& app, Prompter& prompter, QWidget* owner);

    // The code stored by OK; empty until then.
    const std::string& chosenCode() const { return chosenCode_; }

  private:
    void choose();

    Prompter& prompter_;
    LanguagePack pack_;
    std::vector<LanguageRow> rows_;
    QListWidget* list_ = nullptr;
    std::string chosenCode_;
};

}  // namespace tcmap
