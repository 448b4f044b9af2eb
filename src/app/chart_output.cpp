#include "app/chart_output.h"

#include "app/map_file.h"
#include "app/storm_catalog.h"
#include "render/canvas/vector_output.h"
#include "render/intensity_chart.h"

namespace tcmap {

std::string writeChartFile(const std::string& path, const std::vector<std::string>& inputs,
                           const DrawRequest& request) {
    const JobSettings& s = request.settings;
    const StormCatalog catalog = readStormCatalog(
        inputs, ArchiveSelection(s.archiveYears, s.archiveBasins, s.archiveStorms));
    ChartRequest chart;
    for (const CatalogStorm& storm : catalog.storms) chart.tracks.push_back(storm.track);
    chart.language = request.language;
    chart.textLanguage = request.textLanguage;
    chart.tcv = request.style == RenderStyle::Tcv;
    chart.newColour = s.newColour;
    chart.keepTape = vectorFormatOf(path) != VectorFormat::None;
    const DrawResult result = drawIntensityChart(chart);
    return writeMapFile(result, path, request.language);
}

}  // namespace tcmap
