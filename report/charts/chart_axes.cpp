// The axis choices of a chart: round value ticks, calendar time ticks, the time grid.
#include "report/charts/chart_axes.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "report/model/time_series.h"
#include "text/calendar.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// ---- Value axis -------------------------------------------------------------

// 10^exponent; the same sequence of operations, so the same double, everywhere.
double PowerOfTen(int exponent) {
  double power = 1;
  for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) power *= 10;
  return exponent < 0 ? 1 / power : power;
}

// `value` in units of 10^exponent.
double Scaled(double value, int exponent) {
  return exponent >= 0 ? value / PowerOfTen(exponent) : value * PowerOfTen(-exponent);
}

// ---- Time axis --------------------------------------------------------------

// Steps of whole seconds, finest first: clock labels with seconds below a
// minute and without them below a day, then dates.
constexpr std::int64_t kSecondSteps[] = {1,   2,    5,    10,   15,    30,    60,    120,   300,    600,
                                         900, 1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800, 604800};
constexpr std::int64_t kWeek = 7 * kSecondsPerDay;
constexpr std::int64_t kFirstMonday = 4 * kSecondsPerDay;  // 1970-01-05: weeks start on it
// Steps of whole months, finest first: month labels below a year, then years.
constexpr std::int64_t kMonthSteps[] = {1,    2,    3,    6,     12,    24,    60,     120,    240,   600,
                                        1200, 2400, 6000, 12000, 24000, 60000, 120000, 240000, 600000};
constexpr double kMeanMonth = 2629746;  // seconds: a mean Gregorian month

enum class LabelKind { kClockWithSeconds, kClock, kDate, kMonth, kYear };

// The ticks at `times`, labelled as `kind` says.
std::vector<TimeTick> LabelTicks(const std::vector<std::int64_t>& times, LabelKind kind) {
  std::vector<TimeTick> ticks;
  std::int64_t previous_day = 0;
  for (std::int64_t t : times) {
    const std::int64_t day = FloorDiv(t, kSecondsPerDay);
    TimeTick tick{t, {}, {}};
    if (kind == LabelKind::kClockWithSeconds || kind == LabelKind::kClock) {
      AppendClock(tick.label, t - day * kSecondsPerDay, kind == LabelKind::kClockWithSeconds);
      if (ticks.empty() || day != previous_day) AppendCivilDate(tick.date, CivilFromDays(day));
    } else {
      AppendCivilDate(tick.label, CivilFromDays(day));
      if (kind == LabelKind::kMonth) tick.label.resize(tick.label.size() - 3);  // without "-DD"
      if (kind == LabelKind::kYear) tick.label.resize(tick.label.size() - 6);   // without "-MM-DD"
    }
    previous_day = day;
    ticks.push_back(std::move(tick));
  }
  return ticks;
}

// Every `step` seconds, counted from 1970 (from the first Monday for weeks).
std::vector<TimeTick> TicksOfSeconds(double from, double to, std::int64_t step, bool with_seconds) {
  const std::int64_t offset = step == kWeek ? kFirstMonday : 0;
  const auto first =
      static_cast<std::int64_t>(std::ceil((from - static_cast<double>(offset)) / static_cast<double>(step)));
  const auto last =
      static_cast<std::int64_t>(std::floor((to - static_cast<double>(offset)) / static_cast<double>(step)));
  std::vector<std::int64_t> times;
  for (std::int64_t k = first; k <= last; ++k) times.push_back(k * step + offset);
  const LabelKind kind = step < 60 || (with_seconds && step < kSecondsPerDay) ? LabelKind::kClockWithSeconds
                         : step < kSecondsPerDay                              ? LabelKind::kClock
                                                                              : LabelKind::kDate;
  return LabelTicks(times, kind);
}

// The first of every `step` months, counted from January of year 0.
std::vector<TimeTick> TicksOfMonths(double from, double to, std::int64_t step) {
  const CivilDate start = CivilFromDays(static_cast<std::int64_t>(std::floor(from / kSecondsPerDay)));
  std::int64_t month_index = start.year * 12 + start.month - 1;
  month_index = -FloorDiv(-month_index, step) * step;  // up to a whole step
  std::vector<std::int64_t> times;
  for (;; month_index += step) {
    const std::int64_t year = FloorDiv(month_index, 12);
    const auto month = static_cast<int>(month_index - year * 12 + 1);
    const std::int64_t t = DaysFromCivil({year, month, 1}) * kSecondsPerDay;
    if (static_cast<double>(t) > to) break;
    if (static_cast<double>(t) >= from) times.push_back(t);
  }
  return LabelTicks(times, step < 12 ? LabelKind::kMonth : LabelKind::kYear);
}

}  // namespace

ValueTicks ChooseValueTicks(double low, double high) {
  if (low == high) {
    const double pad = low == 0 ? 1 : std::fabs(low) / 10;
    low -= pad;
    high += pad;
  }
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

double TickValue(const ValueTicks& ticks, std::int64_t k) {
  const auto units = static_cast<double>(k * ticks.multiplier);
  return ticks.exponent >= 0 ? units * PowerOfTen(ticks.exponent) : units / PowerOfTen(-ticks.exponent);
}

void AppendTickLabel(std::string& out, const ValueTicks& ticks, std::int64_t k) {
  std::int64_t units = k * ticks.multiplier;
  int exponent = ticks.exponent;
  while (units != 0 && units % 10 == 0 && exponent < 0) {
    units /= 10;
    ++exponent;
  }
  if (units == 0) {
    out += '0';
  } else if (exponent >= 0 && exponent <= 9) {
    AppendSigned(out, units);
    out.append(static_cast<std::size_t>(exponent), '0');
  } else if (exponent < 0 && exponent >= -12) {
    // The digits of the magnitude with at least one before the point.
    const auto decimals = static_cast<std::size_t>(-exponent);
    std::string digits;
    AppendZeroPadded(digits, static_cast<std::uint64_t>(units < 0 ? -units : units), decimals + 1);
    if (units < 0) out += '-';
    out.append(digits, 0, digits.size() - decimals);
    out += '.';
    out.append(digits, digits.size() - decimals);
  } else {
    AppendSigned(out, units);
    out += 'e';
    AppendSigned(out, exponent);
  }
}

TimeGrid ChooseTimeGrid(double t_min, double t_max, double widest) {
  TimeGrid grid{widest, 0, 0, 0};
  while (ColumnIndex(t_max, grid.width) - ColumnIndex(t_min, grid.width) + 1 > kMaxColumns) grid.width *= 2;
  grid.first_column = ColumnIndex(t_min, grid.width);
  grid.data_columns = ColumnIndex(t_max, grid.width) - grid.first_column + 1;
  grid.columns = grid.data_columns;
  if (static_cast<double>(grid.columns) * grid.width < kMinimumTimeSpan) {
    const auto wanted =
        std::min<std::int64_t>(kMaxColumns, static_cast<std::int64_t>(std::ceil(kMinimumTimeSpan / grid.width)));
    grid.first_column -= (wanted - grid.columns) / 2;
    grid.columns = wanted;
  }
  return grid;
}

std::vector<TimeTick> ChooseTimeTicks(double from, double to, int max_steps, bool with_seconds) {
  const auto most = static_cast<double>(max_steps);
  for (std::int64_t step : kSecondSteps) {
    if ((to - from) / static_cast<double>(step) <= most) return TicksOfSeconds(from, to, step, with_seconds);
  }
  for (std::int64_t step : kMonthSteps) {
    if ((to - from) / (static_cast<double>(step) * kMeanMonth) <= most) return TicksOfMonths(from, to, step);
  }
  return TicksOfMonths(from, to, kMonthSteps[std::size(kMonthSteps) - 1]);
}

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
    AppendUnsigned(out, whole / size);
    out += name;
    whole %= size;
    first = false;
  }
}

std::vector<std::int64_t> SpreadLabels(const std::vector<std::int64_t>& wanted, std::int64_t gap, std::int64_t low,
                                       std::int64_t high) {
  std::vector<std::size_t> order(wanted.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });
  // Runs of labels gap apart, in order. A run stands where the mean of its
  // labels' wanted positions, each less its offset in the run, puts it.
  struct Run {
    std::size_t first, count;
    std::int64_t sum;  // of wanted position less offset in the run
    std::int64_t start;
  };
  std::vector<Run> runs;
  for (std::size_t k = 0; k < order.size(); ++k) {
    runs.push_back({k, 1, wanted[order[k]], 0});
    for (;;) {
      Run& run = runs.back();
      const auto count = static_cast<std::int64_t>(run.count);
      const std::int64_t mean = FloorDiv(2 * run.sum + count, 2 * count);  // rounded to nearest
      run.start = std::max(low, std::min(mean, high - (count - 1) * gap));
      if (runs.size() < 2) break;
      Run& before = runs[runs.size() - 2];
      if (before.start + static_cast<std::int64_t>(before.count) * gap <= run.start) break;
      before.sum += run.sum - static_cast<std::int64_t>(before.count) * count * gap;
      before.count += run.count;
      runs.pop_back();
    }
  }
  std::vector<std::int64_t> positions(wanted.size());
  for (const Run& run : runs) {
    for (std::size_t i = 0; i < run.count; ++i) {
      positions[order[run.first + i]] = run.start + static_cast<std::int64_t>(i) * gap;
    }
  }
  return positions;
}

}  // namespace hkcsv
