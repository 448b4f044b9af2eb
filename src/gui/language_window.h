// The language window: the installed languages, and storing the one chosen
// for the next start.
#pragma once

#include <QDialog>
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

  private:
    void choose();

    Prompter& prompter_;
    LanguagePack pack_;
    std::vector<LanguageRow> rows_;
    QListWidget* list_ = nullptr;
};

}  // namespace tcmap
