// What a draw job and the Save command may touch of the main window. The Qt
// window implements it by posting each call to the user-interface thread in
// order; tests record it. Every call may come from the draw job's thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tcmap {

// The panel's picture layout in which finished maps are shown.
inline constexpr int kMapPictureLayout = 2;

// Status-bar parts: 0 peak wind, 1 lowest pressure, 2 ACE, 3 message.
inline constexpr int kStatusParts = 4;

class MainView {
  public:
    virtual ~MainView() = default;

    // Remove the panel's picture and log lines; the background shows.
    virtual void clearPanel() = 0;
    virtual void setTextPosition(int x, int y) = 0;
    // Write a log line in a program colour (0x00BBGGRR). A text holding line
    // breaks (CR LF or LF) is written as several lines.
    virtual void writeLine(const std::string& text, uint32_t colour) = 0;

    // The panel's picture as encoded bytes (empty: no picture).
    virtual void setPanelPicture(std::vector<uint8_t> encoded) = 0;
    virtual std::vector<uint8_t> panelPicture() const = 0;
    virtual void setPictureLayout(int mode) = 0;
    virtual int pictureLayout() const = 0;

    virtual void setStatusPart(int part, const std::string& text) = 0;
    // The warnings of the job that just ended (skipped files, unreadable
    // records, drawing errors), kept where the user can read them after the
    // map has covered the log. An empty list clears them.
    virtual void setJobMessages(std::vector<std::string> warnings) = 0;
    // The intensity chart of the map's storms as an encoded picture, shown
    // beside the map; empty: none (no best track, or a job under way).
    virtual void setChartPicture(std::vector<uint8_t> encoded) = 0;
    // Enable or disable the File, Draw and Language menus.
    virtual void enableMenus(bool enabled) = 0;
    virtual void refreshTitle() = 0;
};

}  // namespace tcmap
