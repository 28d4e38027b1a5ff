// One chart of the report: a <figure> with a small inline SVG drawing of its
// series over ground time and a caption saying how they were drawn. Several
// stand side by side on a page and may share one time axis; they take their
// colours and fonts from the page's stylesheet, by class.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/charts/chart_axes.h"
#include "report/charts/chart_plot.h"
#include "report/model/time_series.h"

namespace hkcsv {

// What a pointer over a point shows, and where a click on it leads.
struct PointLink {
  std::string_view href;   // relative and percent-encoded already; empty: no link
  std::string_view label;  // UTF-8, shown as "LABEL: VALUE"
  double value;            // shown with six decimals
};

struct ChartSeriesView {
  std::string name;  // the data-CSV column name
  const TimeSeries* samples;
  // By a sample's seq: each point drawn gets a marker carrying its <title>,
  // and a link where it has an href. Null: the line alone.
  const std::vector<PointLink>* links = nullptr;
};

// The time axis of charts drawn side by side: one grid of columns, its ticks,
// and what they draw, written once for all the charts.
struct TimeAxis {
  TimeGrid grid;
  std::vector<TimeTick> ticks;
  std::string grid_lines;  // path data of the vertical grid lines
  std::string labels;      // <text> elements of the tick labels and dates
  std::string id;          // of the drawing the charts show by reference; empty: each chart draws them
};

// The time axis over every sample of `series` (null and empty ones left
// out), with a clock label's seconds always shown when `clock_with_seconds`;
// nothing when no series has a sample.
std::optional<TimeAxis> ChooseTimeAxis(const std::vector<const TimeSeries*>& series, bool clock_with_seconds);

// Draws the vertical grid lines, tick labels and title of `axis` once, in a
// drawing of no size of its own, for the charts that share it to show by
// reference (on a page of 34 charts, a tenth of its bytes); `axis` keeps the
// `id` of the drawing, unique on the page.
void AppendSharedTimeAxis(std::string& html, TimeAxis& axis, std::string id, std::string_view title);

struct ChartInput {
  std::string id;               // unique on the page
  std::string title;            // e.g. "Solar Current 1"
  std::string axis_title;       // y axis, with unit, e.g. "Solar Current [mA]"
  std::string time_axis_title;  // e.g. "Ground time (JST)"
  std::vector<ChartSeriesView> series;
  std::vector<ChartLimit> limits;
  std::uint64_t frames;  // how many frames (or `counted` things) the chart stands for
  // Join a sample that would stand alone in its segment to its neighbours
  // anyway, for charts whose segments hold one sample each (one per pass).
  bool connect_segments_of_one = false;
  // What `frames` counts, as the caption names it: one and many.
  const char* counted_one = "frame";
  const char* counted_many = "frames";
  // Shared with the charts beside it, and covering their samples; null: the
  // chart's own, from its series.
  const TimeAxis* time_axis = nullptr;
  // The id of a <marker> a line puts on each of its points while none of its
  // columns is reduced, so that every frame shows; empty: none.
  std::string point_marker{};
};

// Appends a <figure> holding an inline <svg> and a <figcaption> to `html`;
// a chart without any sample gets a figure saying "No frames to draw."
void AppendChart(std::string& html, const ChartInput& chart);

}  // namespace hkcsv
