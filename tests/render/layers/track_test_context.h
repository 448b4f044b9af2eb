// A draw job's layer context for track-layer tests: a 360 x 180 map (a degree
// is a pixel) without margins, so output positions equal map positions, and
// a recording canvas.
#pragma once

#include <array>
#include <string>

#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/layer_context.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "track/track_model.h"

namespace tcmap {

inline OutputGeometry mapFrame360() {
    OutputGeometry frame;
    frame.mapWidth = 360;
    frame.mapHeight = 180;
    return frame;
}

struct TrackTestContext {
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    JobSettings settings;
    FixTable fixes;
    OutputGeometry frame = mapFrame360();
    RecordingCanvas canvas;
    CanvasPen pen;
    CanvasBrush brush;
    CanvasFont font;
    TextLayout layout;
    bool tcv = false;

    LayerInput input() { return LayerInput{settings, tcv, frame, fixes, {}, lang, ""}; }

    // A layer context drawing with this context's pen, brush, font and layout.
    LayerContext context() {
        LayerContext ctx(input(), canvas, log);
        ctx.pen = pen;
        ctx.brush = brush;
        ctx.font = font;
        ctx.layout = layout;
        return ctx;
    }

    // Appends a fix that continues to the next one.
    void add(double x, double y, int32_t wind, std::string time, std::string type = "",
             SystemClass cls = SystemClass::Tropical,
             TrackFileKind kind = TrackFileKind::BestTrackFile, std::string id = "WP012014",
             int32_t synoptic = 1) {
        fixes.seq.push_back(static_cast<int64_t>(fixes.size()));
        fixes.x.push_back(x);
        fixes.y.push_back(y);
        fixes.cls.push_back(static_cast<int32_t>(cls));
        fixes.type.push_back(std::move(type));
        fixes.time.push_back(std::move(time));
        fixes.stormId.push_back(std::move(id));
        fixes.kind.push_back(static_cast<int32_t>(kind));
        fixes.wind.push_back(wind);
        fixes.continues.push_back(1);
        fixes.synoptic.push_back(synoptic);
    }
    // The last fix added ends its file's track.
    void endTrack() { fixes.continues.back() = 0; }

    void useTcvStyle(double trackWidth = 2.0) {
        tcv = true;
        settings.trackWidth = trackWidth;
        settings.timeFormat = "%02d%02d%02dZ";
        settings.forecastFormat = "P+%dh\r\n%dkt";
    }
};

}  // namespace tcmap
