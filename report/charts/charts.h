// The chart sections of a page: the trend charts of a format or of one pass,
// a small chart per channel under its group's heading, all on one time axis,
// and the per-pass extremes charts, whose points link to their passes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "report/charts/svg_chart.h"
#include "report/model/format_record.h"
#include "report/model/limits.h"
#include "report/model/time_series.h"

namespace hkcsv {

struct TrendCharts {
  std::string id_prefix;                                       // unique on the page, e.g. "fm" or "pass"
  const std::array<TimeSeries, kEngineeringChannels>* series;  // channel i: kHkColumns[kFirstEngineeringSlot + i]
  std::uint64_t frames;                                        // the frames the charts stand for (captions)
  const LimitTable* limits;                                    // null without --limits
  const std::vector<std::string>* time_zones;  // zone tokens as the headers give them (narrow text), each once
  bool clock_with_seconds = false;             // pass pages: every clock label HH:MM:SS
  bool mark_every_sample = false;  // pass pages: each frame its own visible point while the plot is not reduced
};

// The trend charts of a format or of one pass: under each group's heading
// (kChartGroups, as <h4>), one small chart per channel in a grid, all sharing
// one time axis; a single "No frames to draw." when no channel has a sample.
void AppendTrendCharts(std::string& html, const TrendCharts& charts);

struct PassPoint {
  std::string href;                          // the pass page, relative and percent-encoded already; empty: no link
  std::string label;                         // "pass_20190110_0915.txt, 2019-01-10 09:15:30" (UTF-8)
  std::array<double, kPassExtremes> values;  // the exact extremes of the pass
};

struct ExtremeCharts {
  std::string id_prefix;
  const std::array<TimeSeries, kPassExtremes>* series;  // a sample's seq is its pass's index
  std::uint64_t passes;                                 // passes with frames on the charts (captions)
  const LimitTable* limits;
  const std::vector<std::string>* time_zones;
  const std::vector<PassPoint>* points;  // by pass index
};

// The per-pass extremes charts, side by side on one time axis: each point
// links to its pass and carries a <title> "LABEL: VALUE" (value with six
// decimals), so a pointer shows it and a click opens the pass; no script.
void AppendExtremeCharts(std::string& html, const ExtremeCharts& charts);

// "Ground time (JST)": the title of a time axis, naming at most three of the
// zones the headers give (narrow text), each cut to 16 bytes of UTF-8 at a
// character's start, then "and N more" for the others.
std::string TimeAxisTitle(const std::vector<std::string>& time_zones);

// The limit lines of a chart of `channels`: one per value, red where any
// limit at it is, labelled with the side of each limit at it, and with the
// channels' names when there are several ("Battery Temp1, Battery Temp2 red
// high"). A chart of absolute values (`magnitude`) draws the limits'
// magnitudes, labelled by colour alone.
std::vector<ChartLimit> LimitLines(const LimitTable* limits, std::span<const int> channels, bool magnitude);

}  // namespace hkcsv
