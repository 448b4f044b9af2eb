// How long each stage of a draw job took, for TCMAP_TIMINGS=1 and benchmarks.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string_view>

namespace tcmap {

enum class JobStage : size_t {
    Settings,
    MapLoad,
    Files,
    Frame,
    MapPainting,
    Layers,
    Output,
};

inline constexpr size_t kJobStageCount = 7;

// "settings", "map load", "files", "frame", "map painting", "layers", "output".
std::string_view jobStageName(JobStage stage);

class JobTimings {
  public:
    using Clock = std::chrono::steady_clock;

    // Ends the running stage (if any) and starts `stage`.
    void start(JobStage stage);
    // Ends the running stage.
    void stop();
    // Adds the duration of a stage measured elsewhere (the settings, read
    // before the job starts).
    void add(JobStage stage, Clock::duration duration);

    bool reached(JobStage stage) const { return reached_[index(stage)]; }
    Clock::duration duration(JobStage stage) const { return durations_[index(stage)]; }

    // One line per stage the job reached: "tcmap timing: files 12.345 ms".
    void print(std::ostream& out) const;

  private:
    static size_t index(JobStage stage) { return static_cast<size_t>(stage); }

    std::array<Clock::duration, kJobStageCount> durations_{};
    std::array<bool, kJobStageCount> reached_{};
    bool running_ = false;
    JobStage current_ = JobStage::Settings;
    Clock::time_point started_;
};

}  // namespace tcmap
