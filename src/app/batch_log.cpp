#include "app/batch_log.h"

#include <ostream>

namespace tcmap {

std::vector<std::string> splitLogLines(const std::string& text) {
    std::vector<std::string> result;
    size_t start = 0;
    while (true) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string::npos) break;
        size_t end = lf;
        if (end > start && text[end - 1] == '\r') --end;
        result.emplace_back(text, start, end - start);
        start = lf + 1;
    }
    if (start < text.size() || result.empty()) result.emplace_back(text, start);
    return result;
}

namespace {

void echo(std::ostream& err, const std::string& text, bool skipEmpty) {
    for (const std::string& line : splitLogLines(text)) {
        if (skipEmpty && line.empty()) continue;
        err << line << '\n';
    }
    err.flush();
}

}  // namespace

void BatchLog::message(const DrawMessage& message) {
    if (message.kind == MessageKind::Warning) {
        addFailure(message.text + "\r\n");
        return;
    }
    echo(err_, message.text, false);
}

void BatchLog::addFailure(const std::string& text) {
    failureLog_ += text;
    echo(err_, text, true);
}

}  // namespace tcmap
