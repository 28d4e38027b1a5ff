// One chart as a figure of inline SVG: frame, grid, ticks, limit lines, series and caption.
#include "report/charts/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "report/charts/chart_plot.h"
#include "report/charts/svg_path.h"
#include "report/charts/svg_text.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// The rest of the figure around the plot, in tenths of a user unit.
constexpr std::int64_t kViewWidth = 4000;
constexpr std::int64_t kTitleBaseline = 160;
constexpr std::int64_t kAxesBottom = kPlotBottom + 440;  // below the time axis title
constexpr std::int64_t kLegendRowHeight = 150;
constexpr std::int64_t kLegendEntryWidth = 1080;
constexpr std::int64_t kLegendPerRow = kPlotWidth / kLegendEntryWidth;
constexpr std::int64_t kLabelGap = 110;  // a line of 10-unit text
constexpr int kMaxTimeSteps = 5;         // a clock or date label needs a fifth of the plot
// Where a chart has more points with a title than a pointer can tell apart,
// only the lowest and the highest of each stretch of kLinkStretch across keep
// theirs, and the last point: a stray value stays a pointer away. A stretch
// is half a marker wide.
constexpr std::size_t kLinkedPointsMost = 300;
constexpr std::int64_t kLinkStretch = 40;  // tenths
constexpr std::size_t kSeriesClasses = 7;  // series-0 to series-6, each a colour of the stylesheet

// ---- The figure ---------------------------------------------------------------

// The vertical grid lines and tick labels of a time axis.
void DrawTimeAxis(TimeAxis& axis) {
  for (const TimeTick& tick : axis.ticks) {
    const std::int64_t x = XOfTime(axis.grid, static_cast<double>(tick.t));
    AppendStep(axis.grid_lines, 'M', x, kPlotTop);
    axis.grid_lines += 'V';
    AppendTenths(axis.grid_lines, kPlotBottom);
    AppendTextElement(axis.labels, "xtick", x, kPlotBottom + 130, tick.label);
    if (!tick.date.empty()) AppendTextElement(axis.labels, "xdate", x, kPlotBottom + 250, tick.date);
  }
}

void AppendGrid(std::string& svg, const Plot& plot, const TimeAxis& axis) {
  svg += "<path class=\"grid\" d=\"";
  for (std::int64_t k = plot.ticks.first; k <= plot.ticks.last; ++k) {
    const std::int64_t y = YOfValue(plot, TickValue(plot.ticks, k));
    AppendStep(svg, 'M', kPlotLeft, y);
    svg += 'H';
    AppendTenths(svg, kPlotRight);
  }
  if (axis.id.empty()) svg += axis.grid_lines;
  svg += "\"/>\n";
  if (!axis.id.empty()) {
    svg += "<use href=\"#";
    AppendHtmlText(svg, axis.id);
    svg += "\"/>\n";
  }
}

void AppendTimeTitle(std::string& svg, std::string_view title) {
  AppendFittedText(svg, "axis-title", kPlotLeft + kPlotWidth / 2, kPlotBottom + 390, title, kViewWidth - 200);
}

void AppendAxes(std::string& svg, const ChartInput& chart, const Plot& plot, const TimeAxis& axis) {
  std::string label;
  for (std::int64_t k = plot.ticks.first; k <= plot.ticks.last; ++k) {
    label.clear();
    AppendTickLabel(label, plot.ticks, k);
    const std::int64_t y = YOfValue(plot, TickValue(plot.ticks, k));
    AppendTextElement(svg, "ytick", kPlotLeft - 50, y + 35, label);
  }
  if (axis.id.empty()) {
    svg += axis.labels;
    AppendTimeTitle(svg, chart.time_axis_title);
  }
  // Rotated a quarter turn: the x of the text runs up the left edge.
  svg += "<text class=\"axis-title\" transform=\"rotate(-90)\"";
  AppendAttribute(svg, "x", -(kPlotTop + kPlotHeight / 2));
  AppendAttribute(svg, "y", 110);
  svg += '>';
  AppendHtmlText(svg, chart.axis_title);
  svg += "</text>\n";
}

// The limits drawn: each a dashed line across the plot, under the series,
// and a label at its right end just above it, over them; labels that would
// touch move apart.
struct LimitMarks {
  std::vector<const ChartLimit*> limits;
  std::vector<std::int64_t> ys;
  std::vector<std::int64_t> label_baselines;
};

LimitMarks PlaceLimits(const std::vector<ChartLimit>& limits, const Plot& plot) {
  LimitMarks marks;
  for (const ChartLimit& limit : limits) {
    if (!(std::fabs(limit.value) <= kValueLimit)) continue;
    marks.limits.push_back(&limit);
    marks.ys.push_back(YOfValue(plot, limit.value));
  }
  std::vector<std::int64_t> wanted = marks.ys;
  for (std::int64_t& y : wanted) y -= 30;
  marks.label_baselines = SpreadLabels(wanted, kLabelGap, kPlotTop + 100, kPlotBottom - 30);
  return marks;
}

const char* LimitClass(const ChartLimit& limit) { return limit.red ? "limit-red" : "limit-yellow"; }

void AppendLimitLines(std::string& svg, const LimitMarks& marks) {
  for (std::size_t i = 0; i < marks.limits.size(); ++i) {
    svg += "<path class=\"";
    svg += LimitClass(*marks.limits[i]);
    svg += "\" d=\"";
    AppendStep(svg, 'M', kPlotLeft, marks.ys[i]);
    svg += 'H';
    AppendTenths(svg, kPlotRight);
    svg += "\"/>\n";
  }
}

void AppendLimitLabels(std::string& svg, const LimitMarks& marks) {
  for (std::size_t i = 0; i < marks.limits.size(); ++i) {
    AppendTextElement(svg, LimitClass(*marks.limits[i]), kPlotRight - 40, marks.label_baselines[i],
                      marks.limits[i]->label);
  }
}

// Which points keep their title and link: all of them, or where there are
// more than kLinkedPointsMost, those above.
std::vector<bool> TitledPoints(const std::vector<DrawPoint>& points, std::size_t links) {
  std::vector<bool> titled(points.size());
  std::size_t count = 0;
  for (std::size_t i = 0; i < points.size(); ++i) count += titled[i] = points[i].seq < links;
  if (count <= kLinkedPointsMost) return titled;
  std::size_t low = points.size(), high = points.size();  // of the current stretch
  const auto keep = [&] {
    for (const std::size_t i : {low, high}) {
      if (i < points.size()) titled[i] = true;
    }
  };
  std::vector<bool> candidates = std::move(titled);
  titled.assign(points.size(), false);
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!candidates[i]) continue;
    if (low < points.size() && points[i].x / kLinkStretch != points[low].x / kLinkStretch) {
      keep();
      low = high = points.size();
    }
    if (low == points.size() || points[i].y > points[low].y) low = i;  // y grows downwards
    if (high == points.size() || points[i].y < points[high].y) high = i;
  }
  keep();
  for (std::size_t i = points.size(); i-- > 0;) {
    if (candidates[i]) {
      titled[i] = true;
      break;
    }
  }
  return titled;
}

// "LABEL: VALUE" over each point with a link entry that keeps its title,
// inside a link where it has an href; the points share their look through
// their group's class.
void AppendPointLinks(std::string& svg, const std::vector<DrawPoint>& points, const std::vector<PointLink>& links) {
  const std::vector<bool> titled = TitledPoints(points, links.size());
  svg += "<g class=\"pt\">\n";
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!titled[i]) continue;
    const DrawPoint& point = points[i];
    const PointLink& link = links[point.seq];
    if (!link.href.empty()) {
      svg += "<a href=\"";
      AppendHtmlText(svg, link.href);
      svg += "\">";
    }
    svg += "<circle";
    AppendAttribute(svg, "cx", point.x);
    AppendAttribute(svg, "cy", point.y);
    svg += " r=\"4\"><title>";
    AppendHtmlText(svg, link.label);
    svg += ": ";
    AppendFixed(svg, link.value);
    svg += "</title></circle>";
    svg += link.href.empty() ? "\n" : "</a>\n";
  }
  svg += "</g>\n";
}

void AppendSeries(std::string& svg, const ChartInput& chart, const Plot& plot, bool& reduced) {
  for (std::size_t i = 0; i < chart.series.size(); ++i) {
    const ChartSeriesView& view = chart.series[i];
    if (!HasSamples(view.samples)) continue;
    bool series_reduced = false;
    const std::vector<DrawPoint> points = SeriesPoints(*view.samples, plot, series_reduced);
    reduced = reduced || series_reduced;
    const bool marked = !chart.point_marker.empty() && !series_reduced;
    svg += "<path class=\"series-";
    AppendUnsigned(svg, i % kSeriesClasses);
    svg += '"';
    if (marked) {
      for (const char* end : {"start", "mid", "end"}) {
        svg += " marker-";
        svg += end;
        svg += "=\"url(#";
        AppendHtmlText(svg, chart.point_marker);
        svg += ")\"";
      }
    }
    svg += " d=\"";
    // Points with a link or a dot of their own need no marker when alone.
    const bool mark_lone = view.links == nullptr && !marked;
    AppendSeriesPath(svg, points, {i, chart.series.size(), chart.connect_segments_of_one, mark_lone, kPlotLeft});
    svg += "\"/>\n";
    if (view.links != nullptr) AppendPointLinks(svg, points, *view.links);
  }
}

void AppendLegend(std::string& svg, const ChartInput& chart) {
  for (std::size_t i = 0; i < chart.series.size(); ++i) {
    const std::int64_t x = kPlotLeft + static_cast<std::int64_t>(i % kLegendPerRow) * kLegendEntryWidth;
    const std::int64_t y = kAxesBottom + 100 + static_cast<std::int64_t>(i / kLegendPerRow) * kLegendRowHeight;
    svg += "<path class=\"series-";
    AppendUnsigned(svg, i % kSeriesClasses);
    svg += "\" d=\"";
    AppendStep(svg, 'M', x, y - 35);
    svg += 'H';
    AppendTenths(svg, x + 200);
    AppendMarker(svg, i, x + 100, y - 35);
    svg += "\"/>\n";
    AppendTextElement(svg, "legend", x + 250, y, chart.series[i].name);
  }
}

void AppendCaption(std::string& html, const ChartInput& chart, const TimeGrid* grid, bool reduced) {
  html += "<figcaption><strong>";
  AppendHtmlText(html, chart.title);
  html += "</strong>: ";
  if (grid == nullptr) {
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
  AppendUnsigned(html, static_cast<std::uint64_t>(grid->data_columns));
  html += " columns of ";
  AppendDuration(html, grid->width);
  html += ", reduced to first, last, minimum and maximum where a column holds more than four.</figcaption>\n";
}

// The <svg> element's start, its titles and the plot's frame; a legend
// names the series of a chart that has more than one.
void AppendSvgStart(std::string& html, const ChartInput& chart, std::string_view id) {
  const auto series = static_cast<std::int64_t>(chart.series.size());
  const std::int64_t legend_rows = series > 1 ? (series + kLegendPerRow - 1) / kLegendPerRow : 0;
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" viewBox=\"0 0 ";
  AppendWholeUnits(html, kViewWidth);
  html += ' ';
  AppendWholeUnits(html, kAxesBottom + (legend_rows > 0 ? 50 : 0) + legend_rows * kLegendRowHeight);
  html += "\" role=\"img\" aria-labelledby=\"";
  html += id;
  html += "-title\">\n<title id=\"";
  html += id;
  html += "-title\">";
  AppendHtmlText(html, chart.title);
  html += "</title>\n";
  AppendTextElement(html, "chart-title", kPlotLeft, kTitleBaseline, chart.title);
  html += "<rect class=\"plot\"";
  const std::pair<const char*, std::int64_t> frame[] = {
      {"x", kPlotLeft}, {"y", kPlotTop}, {"width", kPlotWidth}, {"height", kPlotHeight}};
  for (const auto& [name, tenths] : frame) {
    html += ' ';
    html += name;
    html += "=\"";
    AppendWholeUnits(html, tenths);
    html += '"';
  }
  html += "/>\n";
}

}  // namespace

std::optional<TimeAxis> ChooseTimeAxis(const std::vector<const TimeSeries*>& series, bool clock_with_seconds) {
  constexpr double kHuge = std::numeric_limits<double>::infinity();
  TimeExtent extent{kHuge, -kHuge, 0};
  bool any = false;
  for (const TimeSeries* one : series) {
    if (!HasSamples(one)) continue;
    ExtendTime(extent, *one);
    any = true;
  }
  if (!any) return std::nullopt;
  TimeAxis axis{ChooseTimeGrid(extent.t_min, extent.t_max, extent.widest), {}, {}, {}, {}};
  const TimeGrid& grid = axis.grid;
  axis.ticks = ChooseTimeTicks(static_cast<double>(grid.first_column) * grid.width,
                               static_cast<double>(grid.first_column + grid.columns) * grid.width, kMaxTimeSteps,
                               clock_with_seconds);
  DrawTimeAxis(axis);
  return axis;
}

void AppendSharedTimeAxis(std::string& html, TimeAxis& axis, std::string id, std::string_view title) {
  axis.id = std::move(id);
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"defs\" aria-hidden=\"true\"><defs><g id=\"";
  AppendHtmlText(html, axis.id);
  html += "\">\n<path class=\"grid\" d=\"";
  html += axis.grid_lines;
  html += "\"/>\n";
  html += axis.labels;
  AppendTimeTitle(html, title);
  html += "</g></defs></svg>\n";
}

void AppendChart(std::string& html, const ChartInput& chart) {
  constexpr double kHuge = std::numeric_limits<double>::infinity();
  ValueExtent values{kHuge, -kHuge};
  std::vector<const TimeSeries*> drawn;
  for (const ChartSeriesView& view : chart.series) {
    if (!HasSamples(view.samples)) continue;
    ExtendValues(values, *view.samples);
    drawn.push_back(view.samples);
  }
  std::string id;
  AppendHtmlText(id, chart.id);
  html += "<figure class=\"chart\" id=\"";
  html += id;
  html += "\">\n";
  if (drawn.empty()) {
    AppendCaption(html, chart, nullptr, false);
    html += "</figure>\n";
    return;
  }
  std::optional<TimeAxis> own;
  if (chart.time_axis == nullptr) own = ChooseTimeAxis(drawn, false);
  const TimeAxis& axis = chart.time_axis != nullptr ? *chart.time_axis : *own;
  const Plot plot = ChoosePlot(axis.grid, values, chart.limits);
  AppendSvgStart(html, chart, id);
  AppendGrid(html, plot, axis);
  const LimitMarks limits = PlaceLimits(chart.limits, plot);
  AppendLimitLines(html, limits);
  bool reduced = false;
  AppendSeries(html, chart, plot, reduced);
  AppendLimitLabels(html, limits);
  AppendAxes(html, chart, plot, axis);
  if (chart.series.size() > 1) AppendLegend(html, chart);
  html += "</svg>\n";
  AppendCaption(html, chart, &axis.grid, reduced);
  html += "</figure>\n";
}

}  // namespace hkcsv
