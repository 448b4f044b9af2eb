// A Prompter for tests: answers from queues prepared by the test and records
// every question, so nothing pops up and each dialog can be checked.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "config/prompter.h"

namespace tcmap {

class FakePrompter : public Prompter {
  public:
    struct Shown {
        std::string kind;  // "message", "askText", "open", "save", "colour", "beep"
        std::string text;
        std::string title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    // Answers are taken in order; when a queue is empty the default answer
    // (messages), cancel (dialogs) or the current colour is given.
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> texts;
    std::deque<std::optional<std::string>> paths;
    std::deque<uint32_t> colours;

    std::vector<Shown> shown;
    int waitCursorDepth = 0;

    Answer message(const std::string& text, const std::string& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override {
        shown.push_back({"message", text, title, icon, buttons});
        return take(answers, defaultAnswer);
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string& title,
                                       const std::string& initial) override {
        shown.push_back({"askText", prompt + "\n" + initial, title});
        return take(texts, std::optional<std::string>());
    }
    std::optional<std::string> chooseOpenPath(const std::string& title, const std::string& filter,
                                              const std::string& initialPath) override {
        shown.push_back({"open", filter + "\n" + initialPath, title});
        return take(paths, std::optional<std::string>());
    }
    std::optional<std::string> chooseSavePath(const std::string& title, const std::string& filter,
                                              const std::string& initialPath,
                                              const std::string& defaultExtension) override {
        shown.push_back({"save", filter + "\n" + initialPath + "\n" + defaultExtension, title});
        return take(paths, std::optional<std::string>());
    }
    uint32_t chooseColour(uint32_t current) override {
        shown.push_back({"colour", std::to_string(current), ""});
        return take(colours, current);
    }
    void beep() override { shown.push_back({"beep", "", ""}); }
    void setWaitCursor(bool on) override { waitCursorDepth += on ? 1 : -1; }

    size_t count(const std::string& kind) const {
        size_t n = 0;
        for (const Shown& s : shown) n += s.kind == kind ? 1 : 0;
        return n;
    }

  private:
    template <typename T>
    static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

}  // namespace tcmap
