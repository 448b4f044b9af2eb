// The text-label format window: edits the two TCV label formats, tries each
// on its sample values, and stores them after a confirmation.
#pragma once

#include <QDialog>

#include "app/label_format_samples.h"
#include "i18n/language_pack.h"

class QLineEdit;
class QWidget;

namespace tcmap {

struct WindowSession;
class Prompter;

class TextFormatWindow : public QDialog {
    Q_OBJECT

  public:
    TextFormatWindow(WindowSession& app, Prompter& prompter, QWidget* owner);

  private:
    QLineEdit* field(LabelFormat which) const;
    void test(LabelFormat which);
    void save();

    WindowSession& app_;
    Prompter& prompter_;
    LanguagePack pack_;
    QLineEdit* time_ = nullptr;
    QLineEdit* forecast_ = nullptr;
};

}  // namespace tcmap
