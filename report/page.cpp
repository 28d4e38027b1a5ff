#include "report/page.h"

#include <cstring>
#include <vector>

#include "platform/files.h"
#include "report/calendar.h"
#include "report/charts.h"
#include "report/html_text.h"
#include "report/page_style.h"
#include "report/tables.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// The points of the per-pass extremes charts, by pass index: each pass by
// its name and ground time.
std::vector<PassPoint> PassPointsOf(const FormatData& data) {
  std::vector<PassPoint> points;
  points.reserve(data.passes.size());
  for (const PassSummary& pass : data.passes) {
    points.push_back({"",
                      NarrowToUtf8(pass.name) + ", " + FormatGroundTime(pass.start),
                      {pass.min_bus_voltage, pass.max_battery_temp, pass.max_abs_gyro_rate}});
  }
  return points;
}

void AppendCharts(std::string& html, const FormatData& data, const LimitTable* limits) {
  const std::string prefix = ConstantsOf(data.format).id;
  html += "<h3>Trends</h3>\n";
  AppendTrendCharts(html, {prefix, &data.series, data.charted_frames, limits, &data.time_zones});
  html += "<h3>Per-pass extremes</h3>\n";
  const std::vector<PassPoint> points = PassPointsOf(data);
  AppendExtremeCharts(html, {prefix, &data.extremes, data.totals.charted, limits, &data.time_zones, &points});
}

}  // namespace

void AppendFormat(std::string& html, const FormatData& data, const LimitTable* limits) {
  const FormatConstants& constants = ConstantsOf(data.format);
  html += "<section id=\"";
  html += constants.id;
  html += "\">\n<h2>";
  html += constants.folder;
  html += ": ";
  html += constants.description;
  html += "</h2>\n<p>Folder: <code>";
  AppendNarrow(html, data.listing.folder);
  html += "</code></p>\n";
  if (data.listing.missing) {
    html += "<p>There is no such folder: nothing to report.</p>\n</section>\n";
    return;
  }
  if (data.listing.error != 0) {
    html += "<p class=\"problem\">Cannot list ";
    AppendNarrow(html, data.listing.folder);
    html += ": ";
    AppendNarrow(html, std::strerror(data.listing.error));
    html += "</p>\n</section>\n";
    return;
  }
  if (data.totals.files == 0) {
    html += "<p>No capture files in this folder.</p>\n</section>\n";
    return;
  }
  AppendSummary(html, data);
  AppendCharts(html, data, limits);
  AppendPassTable(html, data);
  AppendChannelTable(html, data);
  html += "</section>\n";
}

void AppendPageStart(std::string& html, const PageInputs& inputs) {
  html +=
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
      "<meta charset=\"utf-8\"/>\n<title>HK report</title>\n<style>";
  html += kPageStyle;
  html += "</style>\n</head>\n<body>\n<h1>HK report</h1>\n<p>Base directory: <code>";
  AppendNarrow(html, inputs.sample_root);
  html += "</code>";
  if (inputs.limits_file) {
    html += "<br/>Limits: <code>";
    AppendNarrow(html, *inputs.limits_file);
    html += "</code>";
  }
  html += "</p>\n";
}

void AppendPageEnd(std::string& html, std::uint64_t capture_files) {
  if (capture_files == 0) html += "<p>No capture files were found.</p>\n";
  html += "</body>\n</html>\n";
}

}  // namespace hkcsv
