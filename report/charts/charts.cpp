// The chart sections of a page: trend charts per channel and the per-pass extremes.
#include "report/charts/charts.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "hk/hk_columns.h"
#include "platform/files.h"
#include "report/charts/chart_groups.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::size_t kShownZones = 3;
constexpr std::size_t kZoneBytes = 16;

std::vector<const TimeSeries*> SeriesOf(std::span<const TimeSeries> series) {
  std::vector<const TimeSeries*> pointers;
  pointers.reserve(series.size());
  for (const TimeSeries& one : series) pointers.push_back(&one);
  return pointers;
}

// The dot a line puts on each of its points, defined once for the charts of
// a call (in a drawing of no size of its own); the stylesheet colours it as
// a lone series.
void AppendPointMarker(std::string& html, const std::string& id) {
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"defs\" aria-hidden=\"true\"><defs><marker id=\"";
  AppendHtmlText(html, id);
  html +=
      "\" viewBox=\"-2 -2 4 4\" markerWidth=\"3\" markerHeight=\"3\"><circle "
      "r=\"1.5\"/></marker></defs></svg>\n";
}

std::string ChartId(const std::string& prefix, const char* kind, std::size_t number) {
  std::string id = prefix;
  id += kind;
  AppendUnsigned(id, number);
  return id;
}

}  // namespace

std::string TimeAxisTitle(const std::vector<std::string>& time_zones) {
  std::string title = "Ground time";
  if (time_zones.empty()) return title;
  title += " (";
  for (std::size_t i = 0; i < time_zones.size() && i < kShownZones; ++i) {
    if (i > 0) title += ", ";
    const std::string zone = NarrowToUtf8(time_zones[i]);
    title.append(zone, 0, Utf8Prefix(zone, kZoneBytes));
  }
  if (time_zones.size() > kShownZones) {
    title += " and ";
    AppendUnsigned(title, time_zones.size() - kShownZones);
    title += " more";
  }
  return title + ")";
}

std::vector<ChartLimit> LimitLines(const LimitTable* limits, std::span<const int> channels, bool magnitude) {
  std::vector<ChartLimit> lines;
  if (!limits) return lines;
  const bool named = channels.size() > 1;
  // One entry per value and kind of limit, naming its channels.
  struct Entry {
    std::string names;
    std::string_view kind;  // "red high", or "red" for a magnitude
    const char* last_name;
    double value;
    bool red;
  };
  std::vector<Entry> entries;
  for (int channel : channels) {
    const ChannelLimits& limit = (*limits)[static_cast<std::size_t>(channel)];
    const char* name = kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + channel)].name;
    for (std::size_t side = 0; side < kLimitSides; ++side) {
      if (!limit[side]) continue;
      const LimitSideInfo& info = kLimitSideInfo[side];
      // A magnitude has no side: those of red low and red high are both red.
      const std::string_view kind = magnitude ? (info.red ? "red" : "yellow") : info.name;
      const double value = magnitude ? std::fabs(*limit[side]) : *limit[side];
      auto same = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry& entry) { return entry.value == value && entry.kind == kind; });
      if (same == entries.end()) {
        entries.push_back({named ? name : "", kind, name, value, info.red});
      } else if (same->last_name != name) {
        same->names += ", ";
        same->names += name;
        same->last_name = name;
      }
    }
  }
  // Different limits at one value would draw their labels over each other:
  // one line, red if any of them is, with both labels.
  for (const Entry& entry : entries) {
    std::string label = entry.names;
    if (!label.empty()) label += ' ';
    label += entry.kind;
    auto same =
        std::find_if(lines.begin(), lines.end(), [&](const ChartLimit& line) { return line.value == entry.value; });
    if (same == lines.end()) {
      lines.push_back({std::move(label), entry.value, entry.red});
    } else {
      same->label += "; " + label;
      same->red = same->red || entry.red;
    }
  }
  return lines;
}

void AppendTrendCharts(std::string& html, const TrendCharts& charts) {
  const std::array<TimeSeries, kEngineeringChannels>& series = *charts.series;
  std::optional<TimeAxis> axis = ChooseTimeAxis(SeriesOf(series), charts.clock_with_seconds);
  if (!axis) {
    html += "<p>No frames to draw.</p>\n";
    return;
  }
  std::string marker;
  if (charts.mark_every_sample) {
    marker = charts.id_prefix + "-dot";
    AppendPointMarker(html, marker);
  }
  const std::string time_title = TimeAxisTitle(*charts.time_zones);
  AppendSharedTimeAxis(html, *axis, charts.id_prefix + "-time-axis", time_title);
  for (const ChartGroup& group : kChartGroups) {
    html += "<h4>";
    html += group.title;
    html += "</h4>\n<div class=\"charts\">\n";
    for (int slot = group.first_slot; slot < group.first_slot + group.slots; ++slot) {
      const int channel = ChannelOf(slot);
      const auto index = static_cast<std::size_t>(channel);
      const char* name = kHkColumns[static_cast<std::size_t>(slot)].name;
      ChartInput chart{ChartId(charts.id_prefix, "-chart-", index + 1),
                       name,
                       group.axis_title,
                       time_title,
                       {{name, &series[index]}},
                       LimitLines(charts.limits, {&channel, 1}, false),
                       charts.frames};
      chart.time_axis = &*axis;
      chart.point_marker = marker;
      AppendChart(html, chart);
    }
    html += "</div>\n";
  }
}

void AppendExtremeCharts(std::string& html, const ExtremeCharts& charts) {
  const std::array<TimeSeries, kPassExtremes>& series = *charts.series;
  std::optional<TimeAxis> axis = ChooseTimeAxis(SeriesOf(series), false);
  const std::string time_title = TimeAxisTitle(*charts.time_zones);
  if (axis) AppendSharedTimeAxis(html, *axis, charts.id_prefix + "-extremes-time-axis", time_title);
  std::vector<PointLink> links;
  html += "<div class=\"charts\">\n";
  for (std::size_t i = 0; i < kPassExtremes; ++i) {
    const PassExtremeChart& extreme = kPassExtremeCharts[i];
    links.clear();
    if (charts.points != nullptr) {
      for (const PassPoint& point : *charts.points) links.push_back({point.href, point.label, point.values[i]});
    }
    ChartInput chart{ChartId(charts.id_prefix, "-extremes-", i + 1),
                     extreme.title,
                     extreme.axis_title,
                     time_title,
                     {{extreme.series_name, &series[i], charts.points != nullptr ? &links : nullptr}},
                     LimitLines(charts.limits, extreme.limit_channels, extreme.magnitude),
                     charts.passes,
                     true,
                     "pass",
                     "passes"};
    chart.time_axis = axis ? &*axis : nullptr;
    AppendChart(html, chart);
  }
  html += "</div>\n";
}

}  // namespace hkcsv
