// Every message box, question and dialog the program shows goes through this
// small interface: the Qt windows implement it, tests answer it, and batch
// mode has none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tcmap {

class Prompter {
  public:
    enum class Icon { None, Information, Warning, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    virtual Answer message(const std::string& text, const std::string& title, Icon icon,
                           Buttons buttons, Answer defaultAnswer) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> askText(const std::string& prompt, const std::string& title,
                                               const std::string& initial) = 0;
    // File dialogs. `filter` is in the "description|pattern|" form of the
    // language files. nullopt when cancelled.
    virtual std::optional<std::string> chooseOpenPath(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialPath) = 0;
    virtual std::optional<std::string> chooseSavePath(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialPath,
                                                      const std::string& defaultExtension) = 0;
    // The colour dialog; returns the chosen program colour (0x00BBGGRR), or
    // `current` when cancelled.
    virtual uint32_t chooseColour(uint32_t current) = 0;
    virtual void beep() = 0;
    virtual void setWaitCursor(bool on) = 0;
};

}  // namespace tcmap
