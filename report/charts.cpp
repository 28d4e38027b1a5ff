#include "report/charts.h"

#include <algorithm>

#include "platform/files.h"
#include "report/chart_groups.h"
#include "report/svg_chart.h"

namespace hkcsv {

namespace {

std::string TimeAxisTitle(const std::vector<std::string>* zones) {
  std::string title = "Ground time";
  if (!zones || zones->empty()) return title;
  title += " (";
  for (std::size_t i = 0; i < zones->size(); ++i) {
    if (i > 0) title += ", ";
    title += NarrowToUtf8((*zones)[i]);
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

}  // namespace

void AppendTrendCharts(std::string& html, const TrendCharts& charts) {
  const std::string time_title = TimeAxisTitle(charts.time_zones);
  int number = 0;
  for (const ChartGroup& group : kChartGroups) {
    ChartInput chart;
    chart.id = charts.id_prefix + "-chart-" + std::to_string(++number);
    chart.title = group.title;
    chart.axis_title = group.axis_title;
    chart.time_axis_title = time_title;
    for (int channel : group.channels) {
      chart.series.push_back({kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + channel)].name,
                              &(*charts.series)[static_cast<std::size_t>(channel)]});
    }
    chart.limits = LimitsOf(charts.limits, group.channels);
    chart.frames = charts.frames;
    AppendChart(html, chart);
  }
}

void AppendExtremeCharts(std::string& html, const ExtremeCharts& charts) {
  const std::string time_title = TimeAxisTitle(charts.time_zones);
  for (int i = 0; i < kPassExtremes; ++i) {
    const PassExtremeChart& extreme = kPassExtremeCharts[static_cast<std::size_t>(i)];
    ChartInput chart;
    chart.id = charts.id_prefix + "-extremes-" + std::to_string(i + 1);
    chart.title = extreme.title;
    chart.axis_title = extreme.axis_title;
    chart.time_axis_title = time_title;
    chart.series.push_back({extreme.series_name, &(*charts.series)[static_cast<std::size_t>(i)]});
    chart.frames = charts.passes;
    chart.connect_segments_of_one = true;
    chart.counted_one = "pass";
    chart.counted_many = "passes";
    AppendChart(html, chart);
  }
}

}  // namespace hkcsv
