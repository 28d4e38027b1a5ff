// The plot of a chart, apart from its drawing: the layout in tenths of a user
// unit, the value axis that covers a chart's samples and limits, where a
// time and a value stand on the plot, and the points a series draws there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/charts/chart_axes.h"
#include "report/charts/svg_path.h"
#include "report/model/time_series.h"

namespace hkcsv {

// A limit line of a chart.
struct ChartLimit {
  std::string label;
  double value;
  bool red;  // a red limit, else a yellow one
};

// The plot area, in tenths of a user unit: about as many user units as the
// chart takes pixels with three side by side on a 1,280-pixel page, so that
// the stylesheet's 10-unit text reads as 10 px.

inline constexpr std::int64_t kPlotLeft = 580;  // room for the y tick labels and the axis title
inline constexpr std::int64_t kPlotWidth = 3260;
// Neighbouring grid columns stand three tenths apart or more, so no two
// share the x of a stroke.
static_assert(kPlotWidth >= 3 * kMaxColumns, "a few tenths for each grid column");
inline constexpr std::int64_t kPlotRight = kPlotLeft + kPlotWidth;
inline constexpr std::int64_t kPlotTop = 260;
inline constexpr std::int64_t kPlotHeight = 1600;
inline constexpr std::int64_t kPlotBottom = kPlotTop + kPlotHeight;
inline constexpr double kValueLimit = 1e38;  // limit values beyond this are not drawn

struct TimeExtent {
  double t_min, t_max;
  double widest;  // the widest column width among the series
};

// The earliest and the latest sample stand in the first and the last column.
void ExtendTime(TimeExtent& extent, const TimeSeries& series);

struct ValueExtent {
  double v_min, v_max;
};

void ExtendValues(ValueExtent& extent, const TimeSeries& series);

bool HasSamples(const TimeSeries* series);

struct Plot {
  const TimeGrid& grid;
  ValueTicks ticks;
  double y_low, y_high;  // the values of the lowest and the highest tick
};

// The value axis covers the samples and every limit drawn.
Plot ChoosePlot(const TimeGrid& grid, const ValueExtent& extent, const std::vector<ChartLimit>& limits);

// Where a time and a value stand, in tenths.
std::int64_t XOfTime(const TimeGrid& grid, double t);
std::int64_t YOfValue(const Plot& plot, double v);

// The kept samples of a series on the plot's grid in time order: those of a
// reduced column at its centre as one vertical stroke, the others at their
// own time. Sets `reduced` when such a column occurs.
std::vector<DrawPoint> SeriesPoints(const TimeSeries& series, const Plot& plot, bool& reduced);

}  // namespace hkcsv
