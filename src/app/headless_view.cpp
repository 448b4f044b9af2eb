#include "app/headless_view.h"

#include <iostream>

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

HeadlessView::HeadlessView(std::ostream* echo, size_t lineLimit)
    : echo_(echo), lineLimit_(lineLimit == 0 ? 1 : lineLimit) {}

void HeadlessView::clearPanel() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    lineCount_ = 0;
    picture_.clear();
    textX_ = 0;
    textY_ = 0;
    ++clears_;
}

void HeadlessView::setTextPosition(int x, int y) {
    std::lock_guard lock(mutex_);
    textX_ = x;
    textY_ = y;
}

void HeadlessView::writeLine(const std::string& text, uint32_t colour) {
    std::vector<std::string> pieces = splitLogLines(text);
    std::lock_guard lock(mutex_);
    textColour_ = colour;
    for (std::string& piece : pieces) {
        if (echo_ != nullptr) *echo_ << piece << '\n';
        if (lines_.size() >= lineLimit_) lines_.pop_front();
        lines_.push_back(LogLine{std::move(piece), colour, textX_, textY_});
        ++lineCount_;
        textY_ += kLineHeight + kLineGap;
    }
    if (echo_ != nullptr) echo_->flush();
}

void HeadlessView::echoOnly(const std::string& text) {
    if (echo_ == nullptr) return;
    const std::vector<std::string> pieces = splitLogLines(text);
    std::lock_guard lock(mutex_);
    for (const std::string& piece : pieces) {
        if (!piece.empty()) *echo_ << piece << '\n';
    }
    echo_->flush();
}

void HeadlessView::setPanelPicture(std::vector<uint8_t> encoded) {
    std::lock_guard lock(mutex_);
    picture_ = std::move(encoded);
    ++pictureSets_;
}

std::vector<uint8_t> HeadlessView::panelPicture() const {
    std::lock_guard lock(mutex_);
    return picture_;
}

void HeadlessView::setPictureLayout(int mode) {
    std::lock_guard lock(mutex_);
    pictureLayout_ = mode;
}

int HeadlessView::pictureLayout() const {
    std::lock_guard lock(mutex_);
    return pictureLayout_;
}

void HeadlessView::setStatusPart(int part, const std::string& text) {
    if (part < 0 || part >= kStatusParts) return;
    std::lock_guard lock(mutex_);
    statusParts_[static_cast<size_t>(part)] = text;
}

void HeadlessView::enableMenus(bool enabled) {
    std::lock_guard lock(mutex_);
    menusEnabled_ = enabled;
}

void HeadlessView::refreshTitle() {
    std::lock_guard lock(mutex_);
    ++titleRefreshes_;
}

std::vector<LogLine> HeadlessView::lines() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::vector<std::string> HeadlessView::lineTexts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    texts.reserve(lines_.size());
    for (const LogLine& line : lines_) texts.push_back(line.text);
    return texts;
}

size_t HeadlessView::lineCount() const {
    std::lock_guard lock(mutex_);
    return lineCount_;
}

std::optional<LogLine> HeadlessView::lastLine() const {
    std::lock_guard lock(mutex_);
    if (lines_.empty()) return std::nullopt;
    return lines_.back();
}

std::optional<uint32_t> HeadlessView::textColour() const {
    std::lock_guard lock(mutex_);
    return textColour_;
}

std::array<int, 2> HeadlessView::textPosition() const {
    std::lock_guard lock(mutex_);
    return {textX_, textY_};
}

std::string HeadlessView::statusPart(int part) const {
    if (part < 0 || part >= kStatusParts) return {};
    std::lock_guard lock(mutex_);
    return statusParts_[static_cast<size_t>(part)];
}

bool HeadlessView::menusEnabled() const {
    std::lock_guard lock(mutex_);
    return menusEnabled_;
}

int HeadlessView::titleRefreshCount() const {
    std::lock_guard lock(mutex_);
    return titleRefreshes_;
}

int HeadlessView::clearCount() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

int HeadlessView::pictureSetCount() const {
    std::lock_guard lock(mutex_);
    return pictureSets_;
}

std::string HeadlessView::infoLine() const {
    std::lock_guard lock(mutex_);
    return statusParts_[0] + "  " + statusParts_[1] + "  " + statusParts_[2];
}

void HeadlessView::printInfoLine(std::ostream* out) const {
    std::ostream& stream = out != nullptr ? *out : std::cerr;
    const std::string line = infoLine();
    std::lock_guard lock(mutex_);  // keeps it apart from echoed log lines
    stream << line << '\n';
    stream.flush();
}

}  // namespace tcmap
