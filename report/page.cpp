#include "report/page.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "report/chart_groups.h"
#include "report/html_text.h"
#include "report/page_style.h"
#include "report/svg_chart.h"
#include "report/tables.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// "Ground time (JST)": the zones the headers name, as text for the chart to
// escape.
std::string TimeAxisTitle(const FormatData& data) {
  std::string title = "Ground time";
  if (data.time_zones.empty()) return title;
  title += " (";
  for (std::size_t i = 0; i < data.time_zones.size(); ++i) {
    if (i > 0) title += ", ";
    title += NarrowToUtf8(data.time_zones[i]);
  }
  return title + ")";
}

std::vector<ChartLimit> LimitsOf(const LimitTable* limits, const std::vector<int>& channels) {
  std::vector<ChartLimit> lines;
  if (!limits) return lines;
  for (int channel : channels) {
    const ChannelLimits& limit = (*limits)[static_cast<std::size_t>(channel)];
    const std::string name = kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + channel)].name;
    for (std::size_t side = 0; side < kLimitSides; ++side) {
      if (!limit[side]) continue;
      const std::string suffix = std::string(" ") + kLimitSideInfo[side].name;
      const bool red = kLimitSideInfo[side].red;
      // Channels that share a limit share its line: "Battery Temp1, Battery Temp2 red high".
      auto same = std::find_if(lines.begin(), lines.end(), [&](const ChartLimit& line) {
        return line.value == *limit[side] && line.red == red && line.label.ends_with(suffix);
      });
      if (same == lines.end()) {
        lines.push_back({name + suffix, *limit[side], red});
      } else {
        same->label.insert(same->label.size() - suffix.size(), ", " + name);
      }
    }
  }
  // Different limits at one value would draw their labels over each other:
  // one line, red if any of them is, with both labels.
  std::vector<ChartLimit> merged;
  for (const ChartLimit& line : lines) {
    auto same = std::find_if(merged.begin(), merged.end(), [&](const ChartLimit& m) { return m.value == line.value; });
    if (same == merged.end()) {
      merged.push_back(line);
    } else {
      same->label += "; " + line.label;
      same->red = same->red || line.red;
    }
  }
  return merged;
}

void AppendCharts(std::string& html, const FormatData& data, const LimitTable* limits) {
  const std::string time_title = TimeAxisTitle(data);
  const std::string prefix = ConstantsOf(data.format).id;
  int number = 0;
  html += "<h3>Trends</h3>\n";
  for (const ChartGroup& group : kChartGroups) {
    ChartInput chart;
    chart.id = prefix + "-chart-" + std::to_string(++number);
    chart.title = group.title;
    chart.axis_title = group.axis_title;
    chart.time_axis_title = time_title;
    for (int channel : group.channels) {
      chart.series.push_back({kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + channel)].name,
                              &data.series[static_cast<std::size_t>(channel)]});
    }
    chart.limits = LimitsOf(limits, group.channels);
    chart.frames = data.charted_frames;
    AppendChart(html, chart);
  }
  html += "<h3>Per-pass extremes</h3>\n";
  for (int i = 0; i < kPassExtremes; ++i) {
    const PassExtremeChart& extreme = kPassExtremeCharts[static_cast<std::size_t>(i)];
    ChartInput chart;
    chart.id = prefix + "-extremes-" + std::to_string(i + 1);
    chart.title = extreme.title;
    chart.axis_title = extreme.axis_title;
    chart.time_axis_title = time_title;
    chart.series.push_back({extreme.series_name, &data.extremes[static_cast<std::size_t>(i)]});
    chart.frames = data.totals.charted;
    chart.connect_segments_of_one = true;
    chart.counted_one = "pass";
    chart.counted_many = "passes";
    AppendChart(html, chart);
  }
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
