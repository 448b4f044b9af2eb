#include "app/draw_command.h"

#include <cstring>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/batch_log.h"
#include "app/batch_output_check.h"
#include "app/chart_output.h"
#include "app/command_options.h"
#include "app/command_setup.h"
#include "app/draw_setup.h"
#include "app/gis_format.h"
#include "app/gis_writer.h"
#include "app/map_file.h"
#include "app/map_name_pattern.h"
#include "app/settings_warnings.h"
#include "app/storm_maps.h"
#include "app/storm_report.h"
#include "base/file_io.h"
#include "base/output_file.h"
#include "render/canvas/font_aliases.h"
#include "render/canvas/vector_output.h"
#include "render/job_log.h"

namespace tcmap {

namespace {

constexpr const char* kUsage =
    "usage: tcmap draw [options] FILES... -o OUT\n"
    "       tcmap draw [options] FILES... --each PATTERN [--index FILE] [-j N] [--shard I/N]\n"
    "Run 'tcmap draw --help' for the options.";

// The combinations of options a run cannot take, as a message.
std::string checkCombination(const CommandOptions& o) {
    if (o.inputs.empty()) return "no track files given";
    if (o.output.empty() == o.eachPattern.empty()) {
        return o.output.empty() ? "give -o FILE for one map, or --each PATTERN for a map per storm"
                                : "-o and --each exclude each other";
    }
    if (o.eachPattern.empty()) {
        if (!o.indexFile.empty()) return "--index needs --each";
        if (o.jobs != 0) return "--jobs needs --each";
        if (o.shard.count != 1) return "--shard needs --each";
    } else if (std::string error = checkMapNamePattern(o.eachPattern); !error.empty()) {
        return error;
    }
    if (!o.statsFile.empty() && o.statsFormat.empty()) return "--stats-file needs --stats";
    if (o.output == "-" && !o.statsFormat.empty() && o.statsFile.empty()) {
        return "-o - and --stats both write to standard output; give --stats-file FILE";
    }
    return {};
}

ReportFormat formatOfName(const std::string& name) {
    return name.ends_with(".json") || name.ends_with(".JSON") ? ReportFormat::Json
                                                              : ReportFormat::Csv;
}

// Statistics to standard output or their file; false (and why) when the
// file could not be written.
bool writeStats(const CommandOptions& o, const std::vector<ReportRow>& rows, std::ostream& out,
                std::ostream& err) {
    if (o.statsFormat.empty()) return true;
    const ReportFormat format = o.statsFormat == "json" ? ReportFormat::Json : ReportFormat::Csv;
    const std::string text = formatReport(rows, format, {false, true});
    if (o.statsFile.empty()) {
        out << text;
        out.flush();
        return true;
    }
    int error = 0;
    if (writeOutputFile(o.statsFile, text, &error)) return true;
    err << "tcmap draw: --stats-file " << o.statsFile
        << ": cannot write it: " << std::strerror(error) << "\n";
    return false;
}

int drawOneMap(const CommandOptions& o, const CommandSetup& setup, MapCache* cache,
               std::ostream& out, std::ostream& err) {
    if (const auto refusal = checkBatchOutput(o.output, o.inputs, o.settingsFile)) {
        err << "tcmap draw: " << refusal->message << "\n";
        return 2;
    }
    DrawRequest request = commandDrawRequest(setup);
    request.tracks = trackFileInputs(o.inputs);
    request.mapCache = cache;
    request.keepTape = vectorFormatOf(o.output) != VectorFormat::None;
    request.keepTracks = isGisOutput(o.output);
    request.makePicture = !request.keepTracks;
    BatchLog log(err);
    std::optional<GisWriterWarmUp> gdalWarmUp;
    if (request.keepTracks) gdalWarmUp.emplace();
    const DrawResult result = draw(request, log);
    err << infoLineText(result.total) << '\n';
    std::vector<ReportRow> rows;
    for (const StormSummary& storm : result.storms) {
        StormFacts facts;
        facts.id = storm.stormId;
        facts.name = storm.name;
        facts.basin = storm.basin;
        facts.firstTime = storm.firstTime;
        facts.lastTime = storm.lastTime;
        facts.fixes = storm.fixes;
        facts.statistics = storm.statistics;
        rows.push_back({facts, {}, {}});
    }
    const bool statsWritten = writeStats(o, rows, out, err);
    if (const std::string failure = writeMapFile(result, o.output, request.language);
        !failure.empty()) {
        err << "tcmap draw: no map written to " << (o.output == "-" ? "standard output" : o.output)
            << ": " << failure << "\n";
        return 1;
    }
    if (const std::string& chart = request.settings.annotations.chartOutput; !chart.empty()) {
        if (const std::string failure = writeChartFile(chart, o.inputs, request);
            !failure.empty()) {
            err << "tcmap draw: no chart written to " << chart << ": " << failure << "\n";
            return 1;
        }
    }
    return statsWritten ? 0 : 1;
}

// The progress of a run of many maps: a bar redrawn in place on a terminal,
// else one line per map.
class MapProgress {
  public:
    MapProgress(std::ostream& err, size_t total, bool terminal)
        : err_(err), total_(total), terminal_(terminal) {}

    void operator()(size_t done, const ReportRow& row) {
        const bool ok = row.status == "ok";
        if (!terminal_) {
            err_ << "[" << done << "/" << total_ << "] " << row.file << ": " << row.status << "\n";
            return;
        }
        if (!ok) err_ << "\r\033[K" << row.file << ": " << row.status << "\n";
        constexpr size_t kWidth = 30;
        const size_t filled = total_ == 0 ? kWidth : done * kWidth / total_;
        err_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
             << done << "/" << total_ << " " << row.storm.id << "\033[K";
        if (done == total_) err_ << "\n";
        err_.flush();
    }

  private:
    std::ostream& err_;
    size_t total_;
    bool terminal_;
};

int drawEachStorm(const CommandOptions& o, const CommandSetup& setup, const CommandContext& context,
                  std::ostream& out, std::ostream& err) {
    DrawRequest base = commandDrawRequest(setup);
    base.mapCache = context.mapCache;
    const JobSettings& s = base.settings;
    const StormCatalog catalog = readStormCatalog(
        o.inputs, ArchiveSelection(s.archiveYears, s.archiveBasins, s.archiveStorms));
    for (const std::string& problem : catalog.problems) err << "tcmap draw: " << problem << "\n";
    const std::vector<CatalogStorm> storms = shardOf(catalog.storms, o.shard.index, o.shard.count);

    // Every name is known before the first map is drawn.
    std::vector<StormMapJob> jobs;
    std::map<std::string, std::string> owners;
    for (const CatalogStorm& storm : storms) {
        const StormFacts facts = stormFacts(*storm.track);
        const std::string path = expandMapName(o.eachPattern, facts);
        const std::string who = facts.id + " " + facts.name + " (" + storm.track->source + ")";
        if (const auto [it, added] = owners.emplace(path, who); !added) {
            err << "tcmap draw: --each " << o.eachPattern << ": " << it->second << " and " << who
                << " both map to " << path
                << "; add {id} or {year} to the pattern to tell them apart\n";
            return 2;
        }
        jobs.push_back({storm, path});
    }
    const size_t threads = o.jobs != 0 ? o.jobs : context.cores;
    err << "tcmap draw: " << jobs.size() << " maps on " << std::min(threads, jobs.size())
        << " threads\n";
    MapProgress progress(err, jobs.size(), context.progressOnTerminal);
    const std::vector<ReportRow> rows = drawStormMaps(jobs, base, threads, std::ref(progress));

    bool allWritten = catalog.problems.empty();
    size_t failed = 0;
    for (const ReportRow& row : rows) failed += row.status == "ok" ? 0 : 1;
    if (failed > 0) {
        err << "tcmap draw: " << failed << " of " << rows.size() << " maps failed\n";
        allWritten = false;
    }
    if (!o.indexFile.empty()) {
        int error = 0;
        const std::string index = formatReport(rows, formatOfName(o.indexFile), {true, false});
        if (!writeOutputFile(o.indexFile, index, &error)) {
            err << "tcmap draw: --index " << o.indexFile
                << ": cannot write it: " << std::strerror(error) << "\n";
            allWritten = false;
        }
    }
    if (!writeStats(o, rows, out, err)) allWritten = false;
    return allWritten ? 0 : 1;
}

}  // namespace

int runDrawCommand(const CommandContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
    const ParsedCommand parsed = parseCommandOptions(CommandName::Draw, args);
    if (parsed.kind == ParsedCommand::Kind::Help) {
        out << parsed.text;
        return 0;
    }
    if (parsed.kind == ParsedCommand::Kind::Usage) {
        err << parsed.text << "\n" << kUsage << "\n";
        return 2;
    }
    const CommandOptions& options = parsed.options;
    if (std::string error = checkCombination(options); !error.empty()) {
        err << "tcmap draw: " << error << "\n" << kUsage << "\n";
        return 2;
    }
    auto settled = settleCommand(options, CommandName::Draw, context.paths, context.messageLocale);
    if (auto* error = std::get_if<std::string>(&settled)) {
        err << "tcmap draw: " << *error << "\n";
        return 2;
    }
    const CommandSetup& setup = std::get<CommandSetup>(settled);
    if (!options.settingsFile.empty()) {
        printBatchSettingsWarnings(options.settingsFile, options.settingsFile,
                                   LanguagePack(setup.paths, setup.language), err);
    }
    // Before any text is laid out: the font families the program asks for
    // by name resolve to installed ones.
    loadFontAliases(folderOf(setup.paths.programFile("fonts.conf")));
    if (!options.output.empty()) return drawOneMap(options, setup, context.mapCache, out, err);
    return drawEachStorm(options, setup, context, out, err);
}

}  // namespace tcmap
