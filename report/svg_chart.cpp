#include "report/svg_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "report/chart_axes.h"
#include "report/html_text.h"
#include "report/svg_path.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// ---- Layout, in tenths of a user unit ----------------------------------------

constexpr std::int64_t kPlotLeft = 840;  // room for the y tick labels and the axis title
constexpr std::int64_t kPlotTop = 120;
constexpr std::int64_t kPlotWidth = 10000;
static_assert(kPlotWidth >= 10 * kMaxColumns, "a unit or more for each grid column");
constexpr std::int64_t kPlotHeight = 3000;
constexpr std::int64_t kPlotRight = kPlotLeft + kPlotWidth;
constexpr std::int64_t kPlotBottom = kPlotTop + kPlotHeight;
constexpr std::int64_t kViewWidth = kPlotRight + 400;
constexpr std::int64_t kLegendTop = kPlotBottom + 720;  // baseline of the legend's first row
constexpr std::int64_t kLegendRowHeight = 180;
constexpr std::int64_t kLegendEntryWidth = 2000;
constexpr std::int64_t kLegendPerRow = kPlotWidth / kLegendEntryWidth;
constexpr double kValueLimit = 1e38;  // limit values beyond this are not drawn

// The lengths of the frame (view box and plot area) print as whole units.
void AppendWholeUnits(std::string& out, std::int64_t tenths) { AppendSigned(out, tenths / 10); }

// name="value" with a coordinate in tenths.
void AppendAttribute(std::string& out, std::string_view name, std::int64_t tenths) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendTenths(out, tenths);
  out += '"';
}

// Okabe-Ito colours, without the yellow that limit lines use.
constexpr std::array<const char*, 7> kSeriesColours{"#0072B2", "#E69F00", "#009E73", "#D55E00",
                                                    "#CC79A7", "#56B4E9", "#000000"};

// ---- Plot geometry ------------------------------------------------------------

struct Extent {
  double t_min, t_max;
  double v_min, v_max;
  double widest;  // the widest column width among the series
};

void Extend(Extent& extent, const TimeSeries& series) {
  extent.widest = std::max(extent.widest, series.width);
  KeptSamples kept;
  for (const Column& column : series.columns) {
    const int count = KeptInTimeOrder(column, kept);
    for (int i = 0; i < count; ++i) {
      extent.t_min = std::min(extent.t_min, kept[i].t);
      extent.t_max = std::max(extent.t_max, kept[i].t);
      extent.v_min = std::min(extent.v_min, static_cast<double>(kept[i].v));
      extent.v_max = std::max(extent.v_max, static_cast<double>(kept[i].v));
    }
  }
}

struct Plot {
  TimeGrid grid;
  ValueTicks ticks;
  double y_low, y_high;  // the values of the lowest and the highest tick
};

// The value axis covers the samples and every limit drawn.
Plot ChoosePlot(const Extent& extent, const std::vector<ChartLimit>& limits) {
  double low = extent.v_min, high = extent.v_max;
  for (const ChartLimit& limit : limits) {
    if (!(std::fabs(limit.value) <= kValueLimit)) continue;
    low = std::min(low, limit.value);
    high = std::max(high, limit.value);
  }
  Plot plot{ChooseTimeGrid(extent.t_min, extent.t_max, extent.widest), ChooseValueTicks(low, high), 0, 0};
  plot.y_low = TickValue(plot.ticks, plot.ticks.first);
  plot.y_high = TickValue(plot.ticks, plot.ticks.last);
  return plot;
}

// Places of data are computed in units (exact for the layout's lengths, all
// whole units) and rounded to tenths once: the order of these operations
// decides which way a place halfway between two tenths rounds, and with it
// the page's bytes.
constexpr double Units(std::int64_t tenths) { return static_cast<double>(tenths) / 10; }
std::int64_t RoundToTenths(double units) { return std::llround(units * 10); }

double ColumnScale(const Plot& plot) { return Units(kPlotWidth) / static_cast<double>(plot.grid.columns); }

std::int64_t XOfTime(const Plot& plot, double t) {
  const double column = t / plot.grid.width - static_cast<double>(plot.grid.first_column);
  return RoundToTenths(Units(kPlotLeft) + column * ColumnScale(plot));
}

std::int64_t XOfColumnCentre(const Plot& plot, std::int64_t index) {
  const double column = static_cast<double>(index - plot.grid.first_column) + 0.5;
  return RoundToTenths(Units(kPlotLeft) + column * ColumnScale(plot));
}

std::int64_t YOfValue(const Plot& plot, double v) {
  return RoundToTenths(Units(kPlotTop) + (plot.y_high - v) / (plot.y_high - plot.y_low) * Units(kPlotHeight));
}

// ---- Series -------------------------------------------------------------------

// The kept samples of a series on the plot's grid in time order: those of a
// reduced column at its centre as one vertical stroke, the others at their
// own time. Sets `reduced` when such a column occurs.
std::vector<DrawPoint> SeriesPoints(const TimeSeries& series, const Plot& plot, bool& reduced) {
  TimeSeries grid = series;
  CoarsenSeries(grid, plot.grid.width);
  std::vector<DrawPoint> points;
  points.reserve(grid.columns.size() * kKeptPerColumn);
  KeptSamples kept;
  for (const Column& column : grid.columns) {
    const int count = KeptInTimeOrder(column, kept);
    const bool stroke = column.count > kKeptPerColumn;
    reduced = reduced || stroke;
    for (int i = 0; i < count; ++i) {
      const std::int64_t x = stroke ? XOfColumnCentre(plot, column.index) : XOfTime(plot, kept[i].t);
      points.push_back({x, YOfValue(plot, kept[i].v), kept[i].segment, stroke && i > 0});
    }
  }
  return points;
}

void AppendSeriesStyle(std::string& svg, std::size_t series) {
  svg += " class=\"series-";
  AppendUnsigned(svg, series);
  svg += "\" fill=\"none\" stroke=\"";
  svg += kSeriesColours[series % kSeriesColours.size()];
  svg += "\" stroke-width=\"1.5\" stroke-linejoin=\"round\"";
}

// ---- The figure ---------------------------------------------------------------

void AppendTextElement(std::string& svg, std::string_view css_class, std::int64_t x, std::int64_t y,
                       std::string_view anchor, std::string_view text) {
  svg += "<text class=\"";
  svg += css_class;
  svg += '"';
  AppendAttribute(svg, "x", x);
  AppendAttribute(svg, "y", y);
  if (!anchor.empty()) {
    svg += " text-anchor=\"";
    svg += anchor;
    svg += '"';
  }
  svg += '>';
  AppendHtmlText(svg, text);
  svg += "</text>\n";
}

void AppendGrid(std::string& svg, const Plot& plot, const std::vector<TimeTick>& time_ticks) {
  std::string d;
  for (std::int64_t k = plot.ticks.first; k <= plot.ticks.last; ++k) {
    const std::int64_t y = YOfValue(plot, TickValue(plot.ticks, k));
    d += 'M';
    AppendPoint(d, kPlotLeft, y);
    d += 'L';
    AppendPoint(d, kPlotRight, y);
  }
  for (const TimeTick& tick : time_ticks) {
    const std::int64_t x = XOfTime(plot, static_cast<double>(tick.t));
    d += 'M';
    AppendPoint(d, x, kPlotTop);
    d += 'L';
    AppendPoint(d, x, kPlotBottom);
  }
  svg += "<path class=\"grid\" fill=\"none\" stroke=\"#DDDDDD\" stroke-width=\"1\" d=\"";
  svg += d;
  svg += "\"/>\n";
}

void AppendAxes(std::string& svg, const ChartInput& chart, const Plot& plot, const std::vector<TimeTick>& time_ticks) {
  std::string label;
  for (std::int64_t k = plot.ticks.first; k <= plot.ticks.last; ++k) {
    label.clear();
    AppendTickLabel(label, plot.ticks, k);
    const std::int64_t y = YOfValue(plot, TickValue(plot.ticks, k));
    AppendTextElement(svg, "ytick", kPlotLeft - 60, y + 40, "end", label);
  }
  for (const TimeTick& tick : time_ticks) {
    const std::int64_t x = XOfTime(plot, static_cast<double>(tick.t));
    AppendTextElement(svg, "xtick", x, kPlotBottom + 160, "middle", tick.label);
    if (!tick.date.empty()) AppendTextElement(svg, "xdate", x, kPlotBottom + 300, "middle", tick.date);
  }
  AppendTextElement(svg, "axis-title", kPlotLeft + kPlotWidth / 2, kPlotBottom + 480, "middle", chart.time_axis_title);
  // Rotated a quarter turn: the x of the text runs up the left edge.
  svg += "<text class=\"axis-title\" transform=\"rotate(-90)\"";
  AppendAttribute(svg, "x", -(kPlotTop + kPlotHeight / 2));
  AppendAttribute(svg, "y", 160);
  svg += " text-anchor=\"middle\">";
  AppendHtmlText(svg, chart.axis_title);
  svg += "</text>\n";
}

void AppendLimits(std::string& svg, const ChartInput& chart, const Plot& plot) {
  for (const ChartLimit& limit : chart.limits) {
    if (!(std::fabs(limit.value) <= kValueLimit)) continue;
    const std::int64_t y = YOfValue(plot, limit.value);
    svg +=
        limit.red ? "<path class=\"limit-red\" stroke=\"#CC0000\"" : "<path class=\"limit-yellow\" stroke=\"#D4A000\"";
    svg += " stroke-width=\"1.5\" stroke-dasharray=\"6 4\" fill=\"none\" d=\"M";
    AppendPoint(svg, kPlotLeft, y);
    svg += 'L';
    AppendPoint(svg, kPlotRight, y);
    svg += "\"/>\n";
    svg += limit.red ? "<g fill=\"#A00000\">" : "<g fill=\"#7A5C00\">";
    AppendTextElement(svg, "limit-label", kPlotRight - 40, y - 30, "end", limit.label);
    svg += "</g>\n";
  }
}

void AppendLegend(std::string& svg, const ChartInput& chart) {
  for (std::size_t i = 0; i < chart.series.size(); ++i) {
    const std::int64_t x = kPlotLeft + static_cast<std::int64_t>(i % kLegendPerRow) * kLegendEntryWidth;
    const std::int64_t y = kLegendTop + static_cast<std::int64_t>(i / kLegendPerRow) * kLegendRowHeight;
    std::string d = "M";
    AppendPoint(d, x, y - 40);
    d += 'L';
    AppendPoint(d, x + 240, y - 40);
    AppendMarker(d, i, x + 120, y - 40);
    svg += "<path";
    AppendSeriesStyle(svg, i);
    svg += " d=\"";
    svg += d;
    svg += "\"/>\n";
    AppendTextElement(svg, "legend", x + 300, y, "", chart.series[i].name);
  }
}

void AppendCaption(std::string& html, const ChartInput& chart, const Plot* plot, bool reduced) {
  html += "<figcaption><strong>";
  AppendHtmlText(html, chart.title);
  html += "</strong>: ";
  if (plot == nullptr) {
    html += "No ";
    html += chart.counted_many;
    html += " to draw.</figcaption>\n";
    return;
  }
  AppendUnsigned(html, chart.frames);
  html += " ";
  html += chart.frames == 1 ? chart.counted_one : chart.counted_many;
  if (!reduced) {
    html += ", all drawn.</figcaption>\n";
    return;
  }
  html += "; drawn in ";
  AppendUnsigned(html, static_cast<std::uint64_t>(plot->grid.data_columns));
  html += " columns of ";
  AppendDuration(html, plot->grid.width);
  html += ", reduced to first, last, minimum and maximum where a column holds more than four.</figcaption>\n";
}

// The <svg> element's start, its title and the plot's frame.
void AppendSvgStart(std::string& html, const ChartInput& chart, std::string_view id) {
  const auto legend_rows = static_cast<std::int64_t>((chart.series.size() + kLegendPerRow - 1) / kLegendPerRow);
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ";
  AppendWholeUnits(html, kViewWidth);
  html += ' ';
  AppendWholeUnits(html, kLegendTop + legend_rows * kLegendRowHeight);
  html += "\" role=\"img\" aria-labelledby=\"";
  html += id;
  html += "-title\" font-family=\"sans-serif\" font-size=\"12\" fill=\"#222222\">\n<title id=\"";
  html += id;
  html += "-title\">";
  AppendHtmlText(html, chart.title);
  html += "</title>\n<rect class=\"plot\"";
  const std::pair<const char*, std::int64_t> frame[] = {
      {"x", kPlotLeft}, {"y", kPlotTop}, {"width", kPlotWidth}, {"height", kPlotHeight}};
  for (const auto& [name, tenths] : frame) {
    html += ' ';
    html += name;
    html += "=\"";
    AppendWholeUnits(html, tenths);
    html += '"';
  }
  html += " fill=\"#FFFFFF\" stroke=\"#999999\"/>\n";
}

}  // namespace

void AppendChart(std::string& html, const ChartInput& chart) {
  constexpr double kHuge = std::numeric_limits<double>::infinity();
  Extent extent{kHuge, -kHuge, kHuge, -kHuge, 0};
  bool any = false;
  for (const ChartSeriesView& view : chart.series) {
    if (view.samples == nullptr || view.samples->columns.empty()) continue;
    Extend(extent, *view.samples);
    any = true;
  }
  std::string id;
  AppendHtmlText(id, chart.id);
  html += "<figure class=\"chart\" id=\"";
  html += id;
  html += "\">\n";
  if (!any) {
    AppendCaption(html, chart, nullptr, false);
    html += "</figure>\n";
    return;
  }
  const Plot plot = ChoosePlot(extent, chart.limits);
  const TimeGrid& grid = plot.grid;
  const std::vector<TimeTick> time_ticks =
      ChooseTimeTicks(static_cast<double>(grid.first_column) * grid.width,
                      static_cast<double>(grid.first_column + grid.columns) * grid.width, 8, false);
  AppendSvgStart(html, chart, id);
  AppendGrid(html, plot, time_ticks);
  AppendLimits(html, chart, plot);
  bool reduced = false;
  for (std::size_t i = 0; i < chart.series.size(); ++i) {
    const TimeSeries* samples = chart.series[i].samples;
    if (samples == nullptr || samples->columns.empty()) continue;
    const std::string d = SeriesPathData(SeriesPoints(*samples, plot, reduced), i, chart.series.size(),
                                         chart.connect_segments_of_one, kPlotLeft);
    html += "<path";
    AppendSeriesStyle(html, i);
    html += " d=\"";
    html += d;
    html += "\"/>\n";
  }
  AppendAxes(html, chart, plot, time_ticks);
  AppendLegend(html, chart);
  html += "</svg>\n";
  AppendCaption(html, chart, &plot, reduced);
  html += "</figure>\n";
}

}  // namespace hkcsv
