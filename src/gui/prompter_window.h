// The Prompter of the interactive program: Qt message boxes, the input box,
// the file and colour dialogs, the beep and the wait cursor, owned by a window.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "config/prompter.h"

namespace tcmap {

// "description|pattern|description|pattern|" as a Qt name filter list: each
// description followed by its patterns in brackets, separated by ";;".
// Qt reads the patterns from the last brackets, which therefore hold them
// with spaces in place of ";"; the dialogs hide those brackets.
QString toQtNameFilters(const std::string& filter);

class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    Answer message(const std::string& text, const std::string& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override;
    std::optional<std::string> askText(const std::string& prompt, const std::string& title,
                                       const std::string& initial) override;
    std::optional<std::string> chooseOpenPath(const std::string& title, const std::string& filter,
                                              const std::string& initialPath) override;
    std::optional<std::string> chooseSavePath(const std::string& title, const std::string& filter,
                                              const std::string& initialPath,
                                              const std::string& defaultExtension) override;
    uint32_t chooseColour(uint32_t current) override;
    void beep() override;
    void setWaitCursor(bool on) override;

  private:
    QWidget* visibleOwner() const;

    QPointer<QWidget> owner_;
};

}  // namespace tcmap
