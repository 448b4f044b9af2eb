#include "app/list_command.h"

#include <ostream>

#include "app/command_options.h"
#include "app/command_setup.h"
#include "app/storm_catalog.h"
#include "app/storm_report.h"
#include "config/job_settings.h"

namespace tcmap {

int runListCommand(const CommandContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
    const ParsedCommand parsed = parseCommandOptions(CommandName::List, args);
    if (parsed.kind == ParsedCommand::Kind::Help) {
        out << parsed.text;
        return 0;
    }
    if (parsed.kind == ParsedCommand::Kind::Usage) {
        err << parsed.text << "\nRun 'tcmap list --help' for the options.\n";
        return 2;
    }
    const CommandOptions& options = parsed.options;
    if (options.inputs.empty()) {
        err << "tcmap list: no track files given; usage: tcmap list [options] FILES...\n";
        return 2;
    }
    auto settled = settleCommand(options, CommandName::List, context.paths, context.messageLocale);
    if (auto* error = std::get_if<std::string>(&settled)) {
        err << "tcmap list: " << *error << "\n";
        return 2;
    }
    const CommandSetup& setup = std::get<CommandSetup>(settled);
    const JobSettings settings = readJobSettings(setup.settings, setup.style.tcv);
    // Only the facts of each storm are kept, never its whole track.
    std::vector<ReportRow> rows;
    const std::vector<std::string> problems = visitStormCatalog(
        options.inputs,
        ArchiveSelection(settings.archiveYears, settings.archiveBasins, settings.archiveStorms),
        [&](size_t, Track&& track) {
            rows.push_back({stormFacts(track), {}, {}});
        });
    for (const std::string& problem : problems) err << "tcmap list: " << problem << "\n";

    const ReportFormat format = options.listFormat == "json"  ? ReportFormat::Json
                                : options.listFormat == "csv" ? ReportFormat::Csv
                                                              : ReportFormat::Table;
    out << formatReport(rows, format, {});
    out.flush();
    return problems.empty() ? 0 : 1;
}

}  // namespace tcmap
