#include "report/svg_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "report/calendar.h"
#include "report/html_text.h"
#include "report/page_text.h"

namespace {

// ---- Text -----------------------------------------------------------------

// Coordinates are handled in tenths of a user unit: rounded once, printed
// with one decimal by integer arithmetic, so every platform gives one text.
std::int64_t Tenths(double value) { return std::llround(value * 10); }

void AppendTenths(std::string& out, std::int64_t tenths) {
  if (tenths < 0) out += '-';
  const std::uint64_t magnitude = tenths < 0 ? 0 - static_cast<std::uint64_t>(tenths) : tenths;
  AppendCount(out, magnitude / 10);
  out += '.';
  out += static_cast<char>('0' + magnitude % 10);
}

void AppendPoint(std::string& out, std::int64_t x, std::int64_t y) {
  AppendTenths(out, x);
  out += ' ';
  AppendTenths(out, y);
}

// name="value" with a coordinate in tenths.
void AppendAttribute(std::string& out, std::string_view name, std::int64_t tenths) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendTenths(out, tenths);
  out += '"';
}

// ---- Layout ---------------------------------------------------------------

constexpr int kPlotLeft = 84;  // room for the y tick labels and the axis title
constexpr int kPlotTop = 12;
constexpr int kPlotHeight = 300;
constexpr int kPlotBottom = kPlotTop + kPlotHeight;
constexpr int kViewWidth = kPlotLeft + kPlotWidth + 40;
constexpr int kLegendTop = kPlotBottom + 72;  // baseline of the legend's first row
constexpr int kLegendRowHeight = 18;
constexpr int kLegendEntryWidth = 200;
constexpr int kLegendPerRow = kPlotWidth / kLegendEntryWidth;
constexpr double kMinimumTimeSpan = 60;  // seconds: one time alone gets a minute of axis
constexpr int kMarkerSpacing = 800;      // tenths: a marker every ~80 units along a line
constexpr double kValueLimit = 1e38;     // limit values beyond this are not drawn

// Okabe-Ito colours, without the yellow that limit lines use.
constexpr std::array<const char*, 7> kSeriesColours{"#0072B2", "#E69F00", "#009E73", "#D55E00",
                                                    "#CC79A7", "#56B4E9", "#000000"};

struct MarkerStep {
  char command;  // 'M', 'L' or 'Z'
  int dx, dy;    // tenths from the marked point
};
using Marker = std::array<MarkerStep, 5>;  // unused steps have command 0
// Square, triangle, diamond, plus, cross, triangle pointing down.
constexpr std::array<Marker, 6> kMarkers{{
    {{{'M', -30, -30}, {'L', 30, -30}, {'L', 30, 30}, {'L', -30, 30}, {'Z', 0, 0}}},
    {{{'M', 0, -40}, {'L', 35, 25}, {'L', -35, 25}, {'Z', 0, 0}, {0, 0, 0}}},
    {{{'M', 0, -40}, {'L', 40, 0}, {'L', 0, 40}, {'L', -40, 0}, {'Z', 0, 0}}},
    {{{'M', -40, 0}, {'L', 40, 0}, {'M', 0, -40}, {'L', 0, 40}, {0, 0, 0}}},
    {{{'M', -30, -30}, {'L', 30, 30}, {'M', -30, 30}, {'L', 30, -30}, {0, 0, 0}}},
    {{{'M', 0, 40}, {'L', 35, -25}, {'L', -35, -25}, {'Z', 0, 0}, {0, 0, 0}}},
}};

void AppendMarker(std::string& d, std::size_t series, std::int64_t x, std::int64_t y) {
  for (const MarkerStep& step : kMarkers[series % kMarkers.size()]) {
    if (step.command == 0) break;
    d += step.command;
    if (step.command != 'Z') AppendPoint(d, x + step.dx, y + step.dy);
  }
}

// ---- Value axis -----------------------------------------------------------

// 10^exponent; the same sequence of operations, so the same double, everywhere.
double PowerOfTen(int exponent) {
  double power = 1;
  for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) power *= 10;
  return exponent < 0 ? 1 / power : power;
}

// Ticks at k * multiplier * 10^exponent for k from `first` to `last`.
struct ValueTicks {
  std::int64_t first, last;
  int multiplier;  // 1, 2 or 5
  int exponent;
};

// `value` in units of 10^exponent.
double Scaled(double value, int exponent) {
  return exponent >= 0 ? value / PowerOfTen(exponent) : value * PowerOfTen(-exponent);
}

double TickValue(const ValueTicks& ticks, std::int64_t k) {
  const auto units = static_cast<double>(k * ticks.multiplier);
  return ticks.exponent >= 0 ? units * PowerOfTen(ticks.exponent) : units / PowerOfTen(-ticks.exponent);
}

// About five ticks at a round step covering [low, high], low < high.
ValueTicks ChooseValueTicks(double low, double high) {
  const double raw = (high - low) / 5;
  int exponent = 0;
  while (PowerOfTen(exponent) > raw) --exponent;
  while (PowerOfTen(exponent + 1) <= raw) ++exponent;
  int multiplier = 10;
  for (int m : {1, 2, 5}) {
    if (m * PowerOfTen(exponent) >= raw) {
      multiplier = m;
      break;
    }
  }
  if (multiplier == 10) {
    multiplier = 1;
    ++exponent;
  }
  return {static_cast<std::int64_t>(std::floor(Scaled(low, exponent) / multiplier)),
          static_cast<std::int64_t>(std::ceil(Scaled(high, exponent) / multiplier)), multiplier, exponent};
}

// k * multiplier * 10^exponent in plain decimals, without trailing zeros.
void AppendTickValue(std::string& out, const ValueTicks& ticks, std::int64_t k) {
  std::int64_t units = k * ticks.multiplier;
  int exponent = ticks.exponent;
  while (units != 0 && units % 10 == 0 && exponent < 0) {
    units /= 10;
    ++exponent;
  }
  if (units == 0) {
    out += '0';
    return;
  }
  if (units < 0) out += '-';
  std::string digits;
  AppendCount(digits, units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units));
  if (exponent >= 0 && exponent <= 9) {
    out += digits;
    out.append(static_cast<std::size_t>(exponent), '0');
  } else if (exponent < 0 && exponent >= -12) {
    const auto decimals = static_cast<std::size_t>(-exponent);
    if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
    out.append(digits, 0, digits.size() - decimals);
    out += '.';
    out.append(digits, digits.size() - decimals);
  } else {
    out += digits;
    out += 'e';
    AppendSigned(out, exponent);
  }
}

// ---- Time axis ------------------------------------------------------------

enum class StepKind { kSeconds, kMinutes, kDays, kMonths, kYears };

struct TimeStep {
  StepKind kind;
  std::int64_t amount;  // seconds for kSeconds, kMinutes and kDays; else months or years
  std::int64_t offset;  // seconds: weeks start on Monday 1970-01-05
};

constexpr TimeStep kTimeSteps[] = {
    {StepKind::kSeconds, 1, 0},     {StepKind::kSeconds, 2, 0},        {StepKind::kSeconds, 5, 0},
    {StepKind::kSeconds, 10, 0},    {StepKind::kSeconds, 15, 0},       {StepKind::kSeconds, 30, 0},
    {StepKind::kMinutes, 60, 0},    {StepKind::kMinutes, 120, 0},      {StepKind::kMinutes, 300, 0},
    {StepKind::kMinutes, 600, 0},   {StepKind::kMinutes, 900, 0},      {StepKind::kMinutes, 1800, 0},
    {StepKind::kMinutes, 3600, 0},  {StepKind::kMinutes, 7200, 0},     {StepKind::kMinutes, 10800, 0},
    {StepKind::kMinutes, 21600, 0}, {StepKind::kMinutes, 43200, 0},    {StepKind::kDays, 86400, 0},
    {StepKind::kDays, 172800, 0},   {StepKind::kDays, 604800, 345600}, {StepKind::kMonths, 1, 0},
    {StepKind::kMonths, 2, 0},      {StepKind::kMonths, 3, 0},         {StepKind::kMonths, 6, 0},
    {StepKind::kYears, 1, 0},       {StepKind::kYears, 2, 0},          {StepKind::kYears, 5, 0},
    {StepKind::kYears, 10, 0},      {StepKind::kYears, 20, 0},         {StepKind::kYears, 50, 0},
    {StepKind::kYears, 100, 0},     {StepKind::kYears, 200, 0},        {StepKind::kYears, 500, 0},
    {StepKind::kYears, 1000, 0},    {StepKind::kYears, 2000, 0},       {StepKind::kYears, 5000, 0},
    {StepKind::kYears, 10000, 0},   {StepKind::kYears, 20000, 0},      {StepKind::kYears, 50000, 0},
};
constexpr double kMaxTimeTicks = 8;

double StepSeconds(const TimeStep& step) {
  if (step.kind == StepKind::kMonths) return static_cast<double>(step.amount) * 2629746;  // mean Gregorian month
  if (step.kind == StepKind::kYears) return static_cast<double>(step.amount) * 31556952;
  return static_cast<double>(step.amount);
}

struct TimeTick {
  std::int64_t t;
  std::string label;
  std::string date;  // a second line under clock labels where the day changes
};

// Calendar-aligned ticks within [from, to] seconds.
std::vector<TimeTick> ChooseTimeTicks(double from, double to) {
  const TimeStep* step = &kTimeSteps[std::size(kTimeSteps) - 1];
  for (const TimeStep& candidate : kTimeSteps) {
    if ((to - from) / StepSeconds(candidate) <= kMaxTimeTicks) {
      step = &candidate;
      break;
    }
  }
  std::vector<std::int64_t> times;
  if (step->kind == StepKind::kMonths || step->kind == StepKind::kYears) {
    const std::int64_t months = step->kind == StepKind::kMonths ? step->amount : step->amount * 12;
    const CivilDate start = CivilFromDays(static_cast<std::int64_t>(std::floor(from / kSecondsPerDay)));
    std::int64_t month_index = start.year * 12 + start.month - 1;
    month_index = -FloorDiv(-month_index, months) * months;  // up to a whole step
    for (;; month_index += months) {
      const std::int64_t year = FloorDiv(month_index, 12);
      const auto month = static_cast<int>(month_index - year * 12 + 1);
      const std::int64_t t = DaysFromCivil({year, month, 1}) * kSecondsPerDay;
      if (static_cast<double>(t) > to) break;
      if (static_cast<double>(t) >= from) times.push_back(t);
    }
  } else {
    const auto amount = static_cast<double>(step->amount);
    const auto offset = static_cast<double>(step->offset);
    const auto first = static_cast<std::int64_t>(std::ceil((from - offset) / amount));
    const auto last = static_cast<std::int64_t>(std::floor((to - offset) / amount));
    for (std::int64_t k = first; k <= last; ++k) times.push_back(k * step->amount + step->offset);
  }
  std::vector<TimeTick> ticks;
  std::int64_t previous_day = 0;
  for (std::int64_t t : times) {
    const std::int64_t day = FloorDiv(t, kSecondsPerDay);
    TimeTick tick{t, {}, {}};
    switch (step->kind) {
      case StepKind::kSeconds:
      case StepKind::kMinutes:
        AppendClock(tick.label, t - day * kSecondsPerDay, step->kind == StepKind::kSeconds);
        if (ticks.empty() || day != previous_day) AppendCivilDate(tick.date, CivilFromDays(day));
        break;
      case StepKind::kDays:
        AppendCivilDate(tick.label, CivilFromDays(day));
        break;
      case StepKind::kMonths:
        AppendCivilDate(tick.label, CivilFromDays(day));
        tick.label.resize(tick.label.size() - 3);  // without "-DD"
        break;
      case StepKind::kYears:
        AppendCivilDate(tick.label, CivilFromDays(day));
        tick.label.resize(tick.label.size() - 6);  // without "-MM-DD"
        break;
    }
    previous_day = day;
    ticks.push_back(std::move(tick));
  }
  return ticks;
}

// "2 min 8 s" of a column width (half a second times a power of two).
void AppendDuration(std::string& out, double seconds) {
  if (seconds < 1) {
    out += "0.5 s";
    return;
  }
  auto whole = static_cast<std::uint64_t>(seconds);
  const std::pair<std::uint64_t, const char*> units[] = {{86400, " d"}, {3600, " h"}, {60, " min"}, {1, " s"}};
  bool first = true;
  for (const auto& [size, name] : units) {
    if (whole < size) continue;
    if (!first) out += ' ';
    AppendCount(out, whole / size);
    out += name;
    whole %= size;
    first = false;
  }
}

// ---- Plot geometry --------------------------------------------------------

struct Extent {
  double t_min, t_max;
  double v_min, v_max;
  double widest;  // the widest column width among the series
};

void Extend(Extent& extent, const TimeSeries& series) {
  extent.widest = std::max(extent.widest, series.width);
  std::array<Sample, 4> kept;
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
  double width;               // seconds per grid column
  std::int64_t first_column;  // the grid column at the left edge
  std::int64_t columns;       // grid columns across the plot
  std::int64_t data_columns;  // of them, from the first to the last sample
  ValueTicks ticks;
  double y_low, y_high;
};

std::int64_t GridColumn(double t, double width) { return static_cast<std::int64_t>(std::floor(t / width)); }

Plot ChoosePlot(const Extent& extent, const std::vector<ChartLimit>& limits) {
  Plot plot{};
  plot.width = extent.widest;
  while (GridColumn(extent.t_max, plot.width) - GridColumn(extent.t_min, plot.width) + 1 > kPlotWidth) {
    plot.width *= 2;
  }
  plot.first_column = GridColumn(extent.t_min, plot.width);
  plot.data_columns = GridColumn(extent.t_max, plot.width) - plot.first_column + 1;
  plot.columns = plot.data_columns;
  if (static_cast<double>(plot.columns) * plot.width < kMinimumTimeSpan) {
    const auto wanted =
        std::min<std::int64_t>(kPlotWidth, static_cast<std::int64_t>(std::ceil(kMinimumTimeSpan / plot.width)));
    plot.first_column -= (wanted - plot.columns) / 2;
    plot.columns = wanted;
  }
  double low = extent.v_min, high = extent.v_max;
  for (const ChartLimit& limit : limits) {
    if (!(std::fabs(limit.value) <= kValueLimit)) continue;
    low = std::min(low, limit.value);
    high = std::max(high, limit.value);
  }
  if (low == high) {
    const double pad = low == 0 ? 1 : std::fabs(low) / 10;
    low -= pad;
    high += pad;
  }
  plot.ticks = ChooseValueTicks(low, high);
  plot.y_low = TickValue(plot.ticks, plot.ticks.first);
  plot.y_high = TickValue(plot.ticks, plot.ticks.last);
  return plot;
}

double ColumnScale(const Plot& plot) { return static_cast<double>(kPlotWidth) / static_cast<double>(plot.columns); }

std::int64_t XOfTime(const Plot& plot, double t) {
  return Tenths(kPlotLeft + (t / plot.width - static_cast<double>(plot.first_column)) * ColumnScale(plot));
}

std::int64_t XOfColumnCentre(const Plot& plot, std::int64_t index) {
  return Tenths(kPlotLeft + (static_cast<double>(index - plot.first_column) + 0.5) * ColumnScale(plot));
}

std::int64_t YOfValue(const Plot& plot, double v) {
  return Tenths(kPlotTop + (plot.y_high - v) / (plot.y_high - plot.y_low) * kPlotHeight);
}

// ---- Series ---------------------------------------------------------------

struct DrawPoint {
  std::int64_t x, y;  // tenths
  std::uint32_t segment;
  bool in_stroke;  // joined to the previous point within one reduced column
};

// The kept samples of a series on the plot's grid in time order: those of a
// column of more than four samples at its centre as one vertical stroke, the
// others at their own time. Sets `reduced` when such a column occurs.
std::vector<DrawPoint> SeriesPoints(const TimeSeries& series, const Plot& plot, bool& reduced) {
  TimeSeries grid = series;
  CoarsenSeries(grid, plot.width);
  std::vector<DrawPoint> points;
  points.reserve(grid.columns.size() * 4);
  std::array<Sample, 4> kept;
  for (const Column& column : grid.columns) {
    const int count = KeptInTimeOrder(column, kept);
    const bool stroke = column.count > 4;
    reduced = reduced || stroke;
    for (int i = 0; i < count; ++i) {
      const std::int64_t x = stroke ? XOfColumnCentre(plot, column.index) : XOfTime(plot, kept[i].t);
      points.push_back({x, YOfValue(plot, kept[i].v), kept[i].segment, stroke && i > 0});
    }
  }
  return points;
}

// Whether point i continues the line of point i - 1.
struct Joins {
  const std::vector<DrawPoint>& points;
  bool connect_single;

  bool SameLine(std::size_t i) const {
    return i > 0 && (points[i].in_stroke || points[i].segment == points[i - 1].segment);
  }
  bool Alone(std::size_t i) const { return !SameLine(i) && !(i + 1 < points.size() && SameLine(i + 1)); }
  bool Joined(std::size_t i) const { return SameLine(i) || (connect_single && i > 0 && (Alone(i - 1) || Alone(i))); }
};

// The path data of one series: its line, lifted at every change of segment,
// then its markers: every ~80 units along the line, offset per series so the
// markers of different series do not stack, and on every sample left alone.
std::string SeriesPathData(const std::vector<DrawPoint>& points, std::size_t series, std::size_t series_count,
                           bool connect_single) {
  const Joins joins{points, connect_single};
  std::string d;
  d.reserve(points.size() * 14);
  std::vector<std::pair<std::int64_t, std::int64_t>> marks;
  std::int64_t next_mark = kPlotLeft * 10 + 200 + static_cast<std::int64_t>(series * kMarkerSpacing / series_count);
  std::size_t subpath_start = 0;
  int subpath_points = 0;
  DrawPoint last{};
  const auto end_subpath = [&] {
    if (subpath_points != 1) return;
    d.resize(subpath_start);  // a lone point draws nothing; its marker shows it
    if (marks.empty() || marks.back() != std::pair{last.x, last.y}) marks.emplace_back(last.x, last.y);
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    const DrawPoint& point = points[i];
    if (joins.Joined(i)) {
      if (point.x == last.x && point.y == last.y) continue;
      d += 'L';
      ++subpath_points;
    } else {
      end_subpath();
      subpath_start = d.size();
      d += 'M';
      subpath_points = 1;
    }
    AppendPoint(d, point.x, point.y);
    last = point;
    if (point.x >= next_mark) {
      marks.emplace_back(point.x, point.y);
      next_mark = point.x + kMarkerSpacing;
    }
  }
  end_subpath();
  for (const auto& [x, y] : marks) AppendMarker(d, series, x, y);
  return d;
}

void AppendSeriesStyle(std::string& svg, std::size_t series) {
  svg += " class=\"series-";
  AppendCount(svg, series);
  svg += "\" fill=\"none\" stroke=\"";
  svg += kSeriesColours[series % kSeriesColours.size()];
  svg += "\" stroke-width=\"1.5\" stroke-linejoin=\"round\"";
}

// ---- The figure -----------------------------------------------------------

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
    AppendPoint(d, kPlotLeft * 10, y);
    d += 'L';
    AppendPoint(d, (kPlotLeft + kPlotWidth) * 10, y);
  }
  for (const TimeTick& tick : time_ticks) {
    const std::int64_t x = XOfTime(plot, static_cast<double>(tick.t));
    d += 'M';
    AppendPoint(d, x, kPlotTop * 10);
    d += 'L';
    AppendPoint(d, x, kPlotBottom * 10);
  }
  svg += "<path class=\"grid\" fill=\"none\" stroke=\"#DDDDDD\" stroke-width=\"1\" d=\"";
  svg += d;
  svg += "\"/>\n";
}

void AppendAxes(std::string& svg, const ChartInput& chart, const Plot& plot, const std::vector<TimeTick>& time_ticks) {
  std::string label;
  for (std::int64_t k = plot.ticks.first; k <= plot.ticks.last; ++k) {
    label.clear();
    AppendTickValue(label, plot.ticks, k);
    const std::int64_t y = YOfValue(plot, TickValue(plot.ticks, k));
    AppendTextElement(svg, "ytick", (kPlotLeft - 6) * 10, y + 40, "end", label);
  }
  for (const TimeTick& tick : time_ticks) {
    const std::int64_t x = XOfTime(plot, static_cast<double>(tick.t));
    AppendTextElement(svg, "xtick", x, (kPlotBottom + 16) * 10, "middle", tick.label);
    if (!tick.date.empty()) AppendTextElement(svg, "xdate", x, (kPlotBottom + 30) * 10, "middle", tick.date);
  }
  AppendTextElement(svg, "axis-title", (kPlotLeft + kPlotWidth / 2) * 10, (kPlotBottom + 48) * 10, "middle",
                    chart.time_axis_title);
  // Rotated a quarter turn: the x of the text runs up the left edge.
  svg += "<text class=\"axis-title\" transform=\"rotate(-90)\"";
  AppendAttribute(svg, "x", -(kPlotTop + kPlotHeight / 2) * 10);
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
    AppendPoint(svg, kPlotLeft * 10, y);
    svg += 'L';
    AppendPoint(svg, (kPlotLeft + kPlotWidth) * 10, y);
    svg += "\"/>\n";
    svg += limit.red ? "<g fill=\"#A00000\">" : "<g fill=\"#7A5C00\">";
    AppendTextElement(svg, "limit-label", (kPlotLeft + kPlotWidth - 4) * 10, y - 30, "end", limit.label);
    svg += "</g>\n";
  }
}

void AppendLegend(std::string& svg, const ChartInput& chart) {
  for (std::size_t i = 0; i < chart.series.size(); ++i) {
    const std::int64_t x = (kPlotLeft + static_cast<std::int64_t>(i % kLegendPerRow) * kLegendEntryWidth) * 10;
    const std::int64_t y = (kLegendTop + static_cast<std::int64_t>(i / kLegendPerRow) * kLegendRowHeight) * 10;
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
  AppendCount(html, chart.frames);
  html += " ";
  html += chart.frames == 1 ? chart.counted_one : chart.counted_many;
  if (!reduced) {
    html += ", all drawn.</figcaption>\n";
    return;
  }
  html += "; drawn in ";
  AppendCount(html, static_cast<std::uint64_t>(plot->data_columns));
  html += " columns of ";
  AppendDuration(html, plot->width);
  html += ", reduced to first, last, minimum and maximum where a column holds more than four.</figcaption>\n";
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
  html += "<figure class=\"chart\" id=\"";
  AppendHtmlText(html, chart.id);
  html += "\">\n";
  if (!any) {
    AppendCaption(html, chart, nullptr, false);
    html += "</figure>\n";
    return;
  }
  const Plot plot = ChoosePlot(extent, chart.limits);
  const std::vector<TimeTick> time_ticks =
      ChooseTimeTicks(static_cast<double>(plot.first_column) * plot.width,
                      static_cast<double>(plot.first_column + plot.columns) * plot.width);
  const auto legend_rows = static_cast<int>((chart.series.size() + kLegendPerRow - 1) / kLegendPerRow);
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ";
  AppendCount(html, kViewWidth);
  html += ' ';
  AppendCount(html, static_cast<std::uint64_t>(kLegendTop + legend_rows * kLegendRowHeight));
  html += "\" role=\"img\" aria-labelledby=\"";
  AppendHtmlText(html, chart.id);
  html += "-title\" font-family=\"sans-serif\" font-size=\"12\" fill=\"#222222\">\n<title id=\"";
  AppendHtmlText(html, chart.id);
  html += "-title\">";
  AppendHtmlText(html, chart.title);
  html += "</title>\n<rect class=\"plot\" x=\"";
  AppendCount(html, kPlotLeft);
  html += "\" y=\"";
  AppendCount(html, kPlotTop);
  html += "\" width=\"";
  AppendCount(html, kPlotWidth);
  html += "\" height=\"";
  AppendCount(html, kPlotHeight);
  html += "\" fill=\"#FFFFFF\" stroke=\"#999999\"/>\n";
  AppendGrid(html, plot, time_ticks);
  AppendLimits(html, chart, plot);
  bool reduced = false;
  for (std::size_t i = 0; i < chart.series.size(); ++i) {
    const TimeSeries* samples = chart.series[i].samples;
    if (samples == nullptr || samples->columns.empty()) continue;
    const std::string d =
        SeriesPathData(SeriesPoints(*samples, plot, reduced), i, chart.series.size(), chart.connect_segments_of_one);
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
