// One trend chart of the report: a <figure> with an inline SVG drawing of its
// series over ground time and a caption saying how they were drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/time_series.h"

namespace hkcsv {

struct ChartLimit {
  std::string label;
  double value;
  bool red;  // a red limit, else a yellow one
};

struct ChartSeriesView {
  std::string name;  // the data-CSV column name
  const TimeSeries* samples;
};

struct ChartInput {
  std::string id;               // unique on the page
  std::string title;            // e.g. "Solar currents"
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
};

// Appends a <figure> holding an inline <svg> and a <figcaption> to `html`;
// a chart without any sample gets a figure saying "No frames to draw."
void AppendChart(std::string& html, const ChartInput& chart);

}  // namespace hkcsv
