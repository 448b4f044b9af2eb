#include "gui/window_session.h"

#include "app/window_job.h"

namespace tcmap {

void runSessionJob(WindowSession& session, MainView& view, DrawMode mode) {
    const WindowJob job{session.paths,        session.language,     session.style,
                        session.tempFilePath, session.trackFiles,   session.regionParts,
                        session.mapCache,     session.printTimings, session.jobRunning,
                        session.lastMap,      session.drawingErrors};
    runWindowJob(job, view, mode);
}

}  // namespace tcmap
