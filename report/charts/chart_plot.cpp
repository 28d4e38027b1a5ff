// The plot of a chart: layout, value axis, and where samples stand on it.
#include "report/charts/chart_plot.h"

#include <algorithm>
#include <cmath>

namespace hkcsv {

namespace {

// Places of data are computed in units (exact for the layout's lengths, all
// whole units) and rounded to tenths once: the order of these operations
// decides which way a place halfway between two tenths rounds, and with it
// the page's bytes.
constexpr double Units(std::int64_t tenths) { return static_cast<double>(tenths) / 10; }
std::int64_t RoundToTenths(double units) { return std::llround(units * 10); }

double ColumnScale(const TimeGrid& grid) { return Units(kPlotWidth) / static_cast<double>(grid.columns); }

// Whether a column of `width` seconds would hold more than kKeptPerColumn
// samples of the series. Unless one does, the series draws the same on the
// coarser grid as it stands, every sample at its own time.
bool CoarseningReduces(const TimeSeries& series, double width) {
  std::int64_t index = 0;
  std::uint64_t count = 0;
  for (const Column& column : series.columns) {
    const std::int64_t coarse = ColumnIndex(column.kept[0].t, width);  // a sample of the column however reduced
    count = count > 0 && coarse == index ? count + column.count : column.count;
    index = coarse;
    if (count > kKeptPerColumn) return true;
  }
  return false;
}

// Where the centre of a grid column stands, in tenths.
std::int64_t XOfColumnCentre(const TimeGrid& grid, std::int64_t index) {
  const double column = static_cast<double>(index - grid.first_column) + 0.5;
  return RoundToTenths(Units(kPlotLeft) + column * ColumnScale(grid));
}

}  // namespace

void ExtendTime(TimeExtent& extent, const TimeSeries& series) {
  extent.widest = std::max(extent.widest, series.width);
  KeptSamples kept;
  KeptInTimeOrder(series.columns.front(), kept);
  extent.t_min = std::min(extent.t_min, kept[0].t);
  const int count = KeptInTimeOrder(series.columns.back(), kept);
  extent.t_max = std::max(extent.t_max, kept[static_cast<std::size_t>(count - 1)].t);
}

void ExtendValues(ValueExtent& extent, const TimeSeries& series) {
  for (const Column& column : series.columns) {
    // The samples it keeps, in any order.
    const std::size_t known = std::min<std::uint64_t>(column.count, kKeptPerColumn);
    for (std::size_t i = 0; i < known; ++i) {
      extent.v_min = std::min(extent.v_min, static_cast<double>(column.kept[i].v));
      extent.v_max = std::max(extent.v_max, static_cast<double>(column.kept[i].v));
    }
  }
}

bool HasSamples(const TimeSeries* series) { return series != nullptr && !series->columns.empty(); }

Plot ChoosePlot(const TimeGrid& grid, const ValueExtent& extent, const std::vector<ChartLimit>& limits) {
  double low = extent.v_min, high = extent.v_max;
  for (const ChartLimit& limit : limits) {
    if (!(std::fabs(limit.value) <= kValueLimit)) continue;
    low = std::min(low, limit.value);
    high = std::max(high, limit.value);
  }
  Plot plot{grid, ChooseValueTicks(low, high), 0, 0};
  plot.y_low = TickValue(plot.ticks, plot.ticks.first);
  plot.y_high = TickValue(plot.ticks, plot.ticks.last);
  return plot;
}

std::int64_t XOfTime(const TimeGrid& grid, double t) {
  const double column = t / grid.width - static_cast<double>(grid.first_column);
  return RoundToTenths(Units(kPlotLeft) + column * ColumnScale(grid));
}

std::int64_t YOfValue(const Plot& plot, double v) {
  return RoundToTenths(Units(kPlotTop) + (plot.y_high - v) / (plot.y_high - plot.y_low) * Units(kPlotHeight));
}

std::vector<DrawPoint> SeriesPoints(const TimeSeries& series, const Plot& plot, bool& reduced) {
  const TimeSeries* source = &series;
  TimeSeries coarse;
  if (series.width != plot.grid.width && CoarseningReduces(series, plot.grid.width)) {
    coarse = series;
    CoarsenSeries(coarse, plot.grid.width);
    source = &coarse;
  }
  std::vector<DrawPoint> points;
  points.reserve(source->columns.size() * kKeptPerColumn);
  KeptSamples kept;
  for (const Column& column : source->columns) {
    const int count = KeptInTimeOrder(column, kept);
    const bool stroke = column.count > kKeptPerColumn;
    reduced = reduced || stroke;
    for (int i = 0; i < count; ++i) {
      const std::int64_t x = stroke ? XOfColumnCentre(plot.grid, column.index) : XOfTime(plot.grid, kept[i].t);
      points.push_back({x, YOfValue(plot, kept[i].v), kept[i].segment, kept[i].seq, stroke && i > 0});
    }
  }
  return points;
}

}  // namespace hkcsv
