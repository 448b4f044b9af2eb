#include "support/recording_view.h"

#include "app/batch_log.h"
#include "render/job_log.h"

namespace tcmap {

RecordingView::RecordingView(size_t lineLimit) : lineLimit_(lineLimit == 0 ? 1 : lineLimit) {}

void RecordingView::clearPanel() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    lineCount_ = 0;
    picture_.clear();
    textX_ = 0;
    textY_ = 0;
    ++clears_;
}

void RecordingView::setTextPosition(int x, int y) {
    std::lock_guard lock(mutex_);
    textX_ = x;
    textY_ = y;
}

void RecordingView::writeLine(const std::string& text, uint32_t colour) {
    std::vector<std::string> pieces = splitLogLines(text);
    std::lock_guard lock(mutex_);
    textColour_ = colour;
    for (std::string& piece : pieces) {
        if (lines_.size() >= lineLimit_) lines_.pop_front();
        lines_.push_back(LogLine{std::move(piece), colour, textX_, textY_});
        ++lineCount_;
        textY_ += kLineHeight + kLineGap;
    }
}

void RecordingView::setPanelPicture(std::vector<uint8_t> encoded) {
    std::lock_guard lock(mutex_);
    picture_ = std::move(encoded);
    ++pictureSets_;
}

std::vector<uint8_t> RecordingView::panelPicture() const {
    std::lock_guard lock(mutex_);
    return picture_;
}

void RecordingView::setPictureLayout(int mode) {
    std::lock_guard lock(mutex_);
    pictureLayout_ = mode;
}

int RecordingView::pictureLayout() const {
    std::lock_guard lock(mutex_);
    return pictureLayout_;
}

void RecordingView::setStatusPart(int part, const std::string& text) {
    if (part < 0 || part >= kStatusParts) return;
    std::lock_guard lock(mutex_);
    statusParts_[static_cast<size_t>(part)] = text;
}

void RecordingView::setJobMessages(std::vector<std::string> warnings) {
    std::lock_guard lock(mutex_);
    jobMessages_ = std::move(warnings);
}

void RecordingView::setChartPicture(std::vector<uint8_t> encoded) {
    std::lock_guard lock(mutex_);
    chart_ = std::move(encoded);
}

std::vector<uint8_t> RecordingView::chartPicture() const {
    std::lock_guard lock(mutex_);
    return chart_;
}

void RecordingView::enableMenus(bool enabled) {
    std::lock_guard lock(mutex_);
    menusEnabled_ = enabled;
}

void RecordingView::refreshTitle() {
    std::lock_guard lock(mutex_);
    ++titleRefreshes_;
}

std::vector<LogLine> RecordingView::lines() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::vector<std::string> RecordingView::lineTexts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    texts.reserve(lines_.size());
    for (const LogLine& line : lines_) texts.push_back(line.text);
    return texts;
}

size_t RecordingView::lineCount() const {
    std::lock_guard lock(mutex_);
    return lineCount_;
}

std::optional<LogLine> RecordingView::lastLine() const {
    std::lock_guard lock(mutex_);
    if (lines_.empty()) return std::nullopt;
    return lines_.back();
}

std::optional<uint32_t> RecordingView::textColour() const {
    std::lock_guard lock(mutex_);
    return textColour_;
}

std::array<int, 2> RecordingView::textPosition() const {
    std::lock_guard lock(mutex_);
    return {textX_, textY_};
}

std::string RecordingView::statusPart(int part) const {
    if (part < 0 || part >= kStatusParts) return {};
    std::lock_guard lock(mutex_);
    return statusParts_[static_cast<size_t>(part)];
}

std::vector<std::string> RecordingView::jobMessages() const {
    std::lock_guard lock(mutex_);
    return jobMessages_;
}

bool RecordingView::menusEnabled() const {
    std::lock_guard lock(mutex_);
    return menusEnabled_;
}

int RecordingView::titleRefreshCount() const {
    std::lock_guard lock(mutex_);
    return titleRefreshes_;
}

int RecordingView::clearCount() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

int RecordingView::pictureSetCount() const {
    std::lock_guard lock(mutex_);
    return pictureSets_;
}

std::string RecordingView::infoLine() const {
    std::lock_guard lock(mutex_);
    return statusParts_[0] + "  " + statusParts_[1] + "  " + statusParts_[2];
}

void ProgressRecorder::message(const DrawMessage& message) {
    {
        std::lock_guard lock(messagesMutex_);
        messages_.push_back(message);
    }
    writeLine(message.text, message.colour);
}

void ProgressRecorder::infoLine(const StormStatistics& statistics, const std::string* message) {
    setStatusPart(0, peakWindText(statistics));
    setStatusPart(1, lowestPressureText(statistics));
    setStatusPart(2, aceText(statistics));
    if (message != nullptr) setStatusPart(3, *message);
}

std::vector<DrawMessage> ProgressRecorder::messages() const {
    std::lock_guard lock(messagesMutex_);
    return messages_;
}

std::vector<std::string> ProgressRecorder::textsOf(MessageKind kind) const {
    std::vector<std::string> texts;
    for (const DrawMessage& message : messages()) {
        if (message.kind == kind) texts.push_back(message.text);
    }
    return texts;
}

}  // namespace tcmap
