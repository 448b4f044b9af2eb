#include "render/job_timings.h"

#include <ostream>

#include "base/text_rules.h"

namespace tcmap {

std::string_view jobStageName(JobStage stage) {
    switch (stage) {
        case JobStage::Settings:
            return "settings";
        case JobStage::MapLoad:
            return "map load";
        case JobStage::Files:
            return "files";
        case JobStage::Frame:
            return "frame";
        case JobStage::MapPainting:
            return "map painting";
        case JobStage::Layers:
            return "layers";
        case JobStage::Output:
            return "output";
    }
    return "?";
}

void JobTimings::start(JobStage stage) {
    stop();
    current_ = stage;
    reached_[index(stage)] = true;
    running_ = true;
    started_ = Clock::now();
}

void JobTimings::stop() {
    if (!running_) return;
    durations_[index(current_)] += Clock::now() - started_;
    running_ = false;
}

void JobTimings::add(JobStage stage, Clock::duration duration) {
    reached_[index(stage)] = true;
    durations_[index(stage)] += duration;
}

void JobTimings::print(std::ostream& out) const {
    for (size_t i = 0; i < kJobStageCount; ++i) {
        if (!reached_[i]) continue;
        const double ms = std::chrono::duration<double, std::milli>(durations_[i]).count();
        out << "tcmap timing: " << jobStageName(static_cast<JobStage>(i)) << ' ' << formatG(ms, 9)
            << " ms\n";
    }
    out.flush();
}

}  // namespace tcmap
