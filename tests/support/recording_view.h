// A main view without a window, for tests: it keeps what a job and the
// window's commands show (log lines with colours and positions, status-bar
// parts, the panel's picture, the menus' state). All calls are thread-safe:
// the draw job writes while another thread reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/main_view.h"
#include "render/draw.h"

namespace tcmap {

struct LogLine {
    std::string text;
    uint32_t colour = 0;  // program colour 0x00BBGGRR
    int x = 0;
    int y = 0;
};

class RecordingView : public MainView {
  public:
    // Height of one log line; each line moves the text position down by this
    // plus kLineGap pixels.
    static constexpr int kLineHeight = 16;
    static constexpr int kLineGap = 2;
    // Log lines kept; older ones are dropped (lineCount() still counts them).
    static constexpr size_t kDefaultLineLimit = 100000;

    explicit RecordingView(size_t lineLimit = kDefaultLineLimit);

    void clearPanel() override;
    void setTextPosition(int x, int y) override;
    void writeLine(const std::string& text, uint32_t colour) override;
    void setPanelPicture(std::vector<uint8_t> encoded) override;
    std::vector<uint8_t> panelPicture() const override;
    void setPictureLayout(int mode) override;
    int pictureLayout() const override;
    void setStatusPart(int part, const std::string& text) override;
    void setJobMessages(std::vector<std::string> warnings) override;
    void setChartPicture(std::vector<uint8_t> encoded) override;
    void enableMenus(bool enabled) override;
    void refreshTitle() override;

    // What was recorded.
    std::vector<LogLine> lines() const;
    std::vector<std::string> lineTexts() const;
    size_t lineCount() const;  // lines written since the last clear, dropped ones included
    std::optional<LogLine> lastLine() const;
    // Colour of the most recent line; none before the first line.
    std::optional<uint32_t> textColour() const;
    std::array<int, 2> textPosition() const;
    std::string statusPart(int part) const;
    std::vector<std::string> jobMessages() const;
    std::vector<uint8_t> chartPicture() const;
    bool menusEnabled() const;
    int titleRefreshCount() const;
    int clearCount() const;
    int pictureSetCount() const;

    // The info line (status parts 0 to 2) as one line, e.g.
    // "VMAX: 125kts  MSLP: 950mb  ACE: 12.5".
    std::string infoLine() const;

  private:
    mutable std::mutex mutex_;
    size_t lineLimit_;
    std::deque<LogLine> lines_;
    size_t lineCount_ = 0;
    std::optional<uint32_t> textColour_;
    int textX_ = 0;
    int textY_ = 0;
    std::vector<uint8_t> picture_;
    int pictureLayout_ = 0;
    std::array<std::string, kStatusParts> statusParts_;
    std::vector<std::string> jobMessages_;
    std::vector<uint8_t> chart_;
    bool menusEnabled_ = true;
    int titleRefreshes_ = 0;
    int clears_ = 0;
    int pictureSets_ = 0;
};

// The progress of a drawing as the window would show it: log lines into the
// recorded panel, the info line into the status-bar parts (statistics in 0
// to 2, the message in 3); the kinds of the messages are kept too.
class ProgressRecorder : public RecordingView, public DrawProgress {
  public:
    void message(const DrawMessage& message) override;
    void infoLine(const StormStatistics& statistics, const std::string* message) override;

    // Every message as it came, its kind included.
    std::vector<DrawMessage> messages() const;
    // The texts of the messages of one kind.
    std::vector<std::string> textsOf(MessageKind kind) const;

  private:
    mutable std::mutex messagesMutex_;
    std::vector<DrawMessage> messages_;
};

}  // namespace tcmap
