// The chart sections of a page: the trend charts of a format or of one pass,
// and the per-pass extremes of a format.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "hk/hk_columns.h"
#include "report/limits.h"
#include "report/report_data.h"
#include "report/time_series.h"

namespace hkcsv {

struct TrendCharts {
  std::string id_prefix;  // unique on the page, e.g. "fm" or "pass"
  const std::array<TimeSeries, kEngineeringChannels>* series;
  std::uint64_t frames;                        // the frames the charts stand for
  const LimitTable* limits;                    // null without limits
  const std::vector<std::string>* time_zones;  // zone tokens as the headers give them, each once
  bool clock_with_seconds = false;             // every clock label HH:MM:SS
  bool mark_every_sample = false;              // each frame its own point while the plot is not reduced
};

void AppendTrendCharts(std::string& html, const TrendCharts& charts);

struct PassPoint {
  std::string href;   // the pass page, relative and percent-encoded; empty: no link
  std::string label;  // "NAME, YYYY-MM-DD HH:MM:SS", UTF-8
  std::array<double, kPassExtremes> values;
};

struct ExtremeCharts {
  std::string id_prefix;
  const std::array<TimeSeries, kPassExtremes>* series;  // a sample's seq is its pass's index
  std::uint64_t passes;
  const LimitTable* limits;
  const std::vector<std::string>* time_zones;
  const std::vector<PassPoint>* points;  // by pass index
};

void AppendExtremeCharts(std::string& html, const ExtremeCharts& charts);

}  // namespace hkcsv
