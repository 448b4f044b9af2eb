// The one program-wide state record. `main` creates it and passes it by
// reference; tests make their own. Settings themselves are not cached here:
// consumers read Settings.ini when they need a value.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tcmap {

class DrawingTape;

struct AppState {
    // The user's folder, without a trailing separator: the folder of the
    // executable when the program runs portable, else the user's config
    // folder (config/program_folders.h). Settings.ini and Language.ini live
    // here; *.lang, GridData, fonts.conf and maps here when the user has their
    // own, else in dataFolder.
    std::string runFolder;
    // Read-only files that come with the program; "" means runFolder.
    std::string dataFolder;
    // The folder whose temp/ holds the scratch file; "" means runFolder.
    std::string scratchRoot;

    std::string settingsPath;             // runFolder/Settings.ini, or the batch settings file
    std::string tempFilePath;             // this run's scratch picture file
    std::vector<std::string> batchArgs;   // arguments after "~nogui"
    std::vector<std::string> trackFiles;  // track files of the next draw job
    std::string batchOutputPath;          // non-empty exactly in batch mode
    std::string lastDir;                  // last folder of the file chooser
    // Interactive mode: the command-line arguments, taken as track files at
    // the main window's first activation.
    std::vector<std::string> commandLineFiles;

    // Language fields, fixed at start-up (Language.ini).
    std::string langCharset = "UTF-8";
    bool langToBig5 = false;
    std::string langCode = "zh-cn";

    bool styleIsTcv = false;  // TCV render style active
    std::string mapPath;      // map picture of the Wendrel style
    std::string mapPath1;     // map picture of the TCV style

    std::string programVersion;
    bool idlePictureOn = true;
    int graphicsToken = 0;
    std::atomic<bool> jobRunning{false};

    // Messages a batch run collects for its failure report. Written by the
    // draw job's thread; guarded so a reader on another thread sees whole lines.
    // Each message is also passed to the echo, if one is set, as it arrives.
    void appendFailure(const std::string& text) {
        std::lock_guard lock(failureMutex_);
        failureLog_ += text;
        if (failureEcho_) failureEcho_(text);
    }
    // Batch mode shows the collected messages on the terminal in job order;
    // an empty function stops that.
    void setFailureEcho(std::function<void(const std::string&)> echo) {
        std::lock_guard lock(failureMutex_);
        failureEcho_ = std::move(echo);
    }
    std::string failureLog() const {
        std::lock_guard lock(failureMutex_);
        return failureLog_;
    }
    void clearFailureLog() {
        std::lock_guard lock(failureMutex_);
        failureLog_.clear();
    }

    // What the last finished job left for the Save command: the scratch file
    // to save from when the picture was too large to show, and the format the
    // output picture was stored in. Written by the job thread before it clears
    // jobRunning; Save is refused while a job runs.
    std::string largePicturePath;
    std::string outputFormatId;
    // Batch mode: the PNG encoding of the picture the last job stored in the
    // scratch file, made while it was stored, so the save need not decode the
    // scratch file again. Empty when there is none.
    std::vector<uint8_t> outputPng;
    // What the last finished job drew, replayable, so Save can write it as a
    // vector file without reading the track files again. Empty when the job
    // did not record (a batch run writing a PNG) or did not finish a map.
    std::shared_ptr<const DrawingTape> lastDrawing;

    std::vector<std::string> regionParts;  // region of a Regional job, as entered
    std::array<float, 2> dashPattern{3.0f, 3.0f};

    // File chooser: the mode its caller opens it in (append to trackFiles or
    // replace them), and whether the last one was confirmed. Callers take
    // that outcome from the chooser's own result, not from here.
    bool chooserAppend = false;
    bool chooserAccepted = false;
    std::atomic<int> searchState{0};
    // Subfolder search: the number of files found so far (read by the
    // chooser's status label while the search thread adds to it), and whether
    // the search thread runs.
    std::atomic<size_t> foundFileCount{0};
    std::atomic<bool> searchRunning{false};

    bool isBatch() const { return !batchOutputPath.empty(); }
    const std::string& scratchHome() const { return scratchRoot.empty() ? runFolder : scratchRoot; }

  private:
    mutable std::mutex failureMutex_;
    std::string failureLog_;
    std::function<void(const std::string&)> failureEcho_;
};

}  // namespace tcmap
