// A drawing is a function of its request: settings, map, tracks and language
// in; the map, its drawing tape, the statistics and the job's messages out.
// It touches no window and no state shared behind its back, so drawings may
// run on several threads at once; what a caller wants to show while it runs
// arrives through a DrawProgress.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/job_settings.h"
#include "i18n/language_pack.h"
#include "render/canvas/picture.h"
#include "render/canvas/picture_header.h"
#include "render/draw_mode.h"
#include "render/job_timings.h"
#include "render/layers/forecast_scene.h"
#include "track/track.h"

namespace tcmap {

class Canvas;
class DrawingTape;
class MapCache;

enum class RenderStyle { Wendrel = 0, Tcv = 1 };

// A track to draw: a file read at the job's file stage (an archive by its
// first line, an ATCF file by its name), or a track read before.
struct TrackInput {
    std::string path;                    // the file, or the name messages give a read track
    std::shared_ptr<const Track> track;  // null: read `path` at the file stage
};

struct DrawRequest {
    RenderStyle style = RenderStyle::Wendrel;
    DrawMode mode = DrawMode::Normal;
    // Regional: north latitude, west longitude, latitude and longitude extent,
    // as entered.
    std::vector<std::string> region;
    JobSettings settings;  // the style's settings
    std::string mapPath;   // the map picture
    // The land of the map picture as paths (the bundled map's vector world);
    // with the VectorLand setting a kept tape draws it in place of the picture.
    std::string vectorWorldPath;
    std::string gridDataPath;   // the grid lines
    std::string coneRadiiPath;  // the forecast cone's radii per basin and year
    std::vector<TrackInput> tracks;
    LanguagePack language{"", "en", "UTF-8", false};
    std::string textLanguage;  // language of the drawn text (for its shaping)
    // Decoded map pictures kept between drawings; null decodes the map anew.
    MapCache* mapCache = nullptr;
    // A map picture declaring more pixels than this is refused before it is
    // decoded (kDefaultMapPixelLimit unless the start-up options say).
    int64_t mapPixelLimit = kDefaultMapPixelLimit;
    bool keepTape = false;    // record the drawing, for a vector file
    bool keepTracks = false;  // keep the tracks drawn, for a GIS file
    // False for a GIS file, which takes the kept tracks and forecast areas and
    // no picture: the job ends once it knows its fixes, frame and statistics,
    // with an empty picture and the outcome Drawn.
    bool makePicture = true;
    // Drawing errors reported before this drawing: their count goes on.
    int64_t drawingErrorsBefore = 0;
    // Opens the canvas on the output picture (tests draw on a recording
    // canvas); empty: the Cairo canvas. A canvas whose last status is not 0
    // right after opening fails the job like a picture that cannot be made.
    std::function<std::shared_ptr<Canvas>(Picture& output)> openCanvas;
};

// What a message of the job is for. Progress lines and drawing errors are the
// job log; a warning is also what a batch run's failure report collects.
enum class MessageKind { Progress, Warning, DrawingError };

struct DrawMessage {
    MessageKind kind = MessageKind::Progress;
    std::string text;     // several lines when it holds line breaks
    uint32_t colour = 0;  // program colour 0x00BBGGRR
};

// What a caller shows while a drawing runs. Both calls come from the thread
// that draws, in the order the job makes them.
class DrawProgress {
  public:
    virtual ~DrawProgress() = default;
    // A line of the job log, as it is written.
    virtual void message(const DrawMessage& message) = 0;
    // The info line: the statistics so far and, when `message` is not null,
    // the latest message.
    virtual void infoLine(const StormStatistics& statistics, const std::string* message) = 0;
};

enum class DrawOutcome {
    Drawn,          // the map is in DrawResult::picture (unless none was asked for)
    MapNotLoaded,   // the map picture could not be loaded
    NoFix,          // no fix to draw and no frame
    PictureFailed,  // the output picture could not be made or painted
};

// A storm of the job and its statistics: a best-track file or archive storm.
struct StormSummary {
    std::string source;
    std::string stormId;
    std::string name;
    StormStatistics statistics;
    std::string basin;
    std::string firstTime;  // of its first and last fix
    std::string lastTime;
    size_t fixes = 0;
};

struct DrawResult {
    DrawOutcome outcome = DrawOutcome::NoFix;
    Picture picture;
    std::shared_ptr<const DrawingTape> tape;  // when asked for and the map was drawn
    StormStatistics total;                    // of every storm, as the info line shows it
    std::vector<StormSummary> storms;
    // When asked for: each track with a fix on the map, holding only the
    // fixes the map accepted (with their wind radii), in drawing order.
    std::vector<Track> tracks;
    // With the tracks: the forecast areas the map drew (cone, wind swath).
    ForecastScene forecastAreas;
    std::vector<DrawMessage> messages;  // every message, in order
    int64_t drawingErrors = 0;          // the count after this drawing
    JobTimings timings;                 // the stages the job reached

    bool drawn() const { return outcome == DrawOutcome::Drawn; }
};

// Runs the whole job on the calling thread.
DrawResult draw(const DrawRequest& request, DrawProgress& progress);

}  // namespace tcmap
