// The axis choices of a trend chart, apart from its drawing: the round values
// and calendar times that get ticks, their labels, the grid of time columns a
// plot stands on and the text of a column's width. Plain structs and pure
// functions; the labels are the same bytes on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hkcsv {

// ---- Value axis -------------------------------------------------------------

// Ticks at k * multiplier * 10^exponent for k from `first` to `last`.
struct ValueTicks {
  std::int64_t first, last;
  int multiplier;  // 1, 2 or 5
  int exponent;
  bool operator==(const ValueTicks&) const = default;
};

// About five ticks at a round step (1, 2 or 5 times a power of ten), from the
// last tick at or below `low` to the first at or above `high` (low <= high).
// A range of one value is widened first, by a tenth of the value each way
// (by 1 each way around zero).
ValueTicks ChooseValueTicks(double low, double high);

// The value of tick k.
double TickValue(const ValueTicks& ticks, std::int64_t k);

// The label of tick k: plain decimals without trailing zeros ("-0.25",
// "1200"), or digits, 'e' and the exponent where plain decimals would take
// more than 9 zeros or 12 decimals ("2e-16").
void AppendTickLabel(std::string& out, const ValueTicks& ticks, std::int64_t k);

// ---- Time axis --------------------------------------------------------------

// No plot has more grid columns than this.
inline constexpr std::int64_t kMaxColumns = 1000;
// Seconds: a shorter time span, down to a single time, gets this much axis.
inline constexpr double kMinimumTimeSpan = 60;

// The time axis of a plot: columns of one width, numbered as ColumnIndex
// numbers them; the axis runs from first_column * width to
// (first_column + columns) * width.
struct TimeGrid {
  double width;               // seconds per grid column
  std::int64_t first_column;  // the grid column at the left edge
  std::int64_t columns;       // grid columns across the plot
  std::int64_t data_columns;  // of them, from the first sample's to the last sample's
  bool operator==(const TimeGrid&) const = default;
};

// The grid for samples from `t_min` to `t_max` whose series have columns at
// most `widest` seconds wide: the finest width, `widest` times a power of two,
// that spans them in at most kMaxColumns columns. A span shorter than
// kMinimumTimeSpan is widened around the samples to that (at most
// kMaxColumns columns).
TimeGrid ChooseTimeGrid(double t_min, double t_max, double widest);

struct TimeTick {
  std::int64_t t;     // seconds since 1970
  std::string label;  // "HH:MM:SS", "HH:MM", "YYYY-MM-DD", "YYYY-MM" or "YYYY"
  std::string date;   // under clock labels, on the first and where the day changes
  bool operator==(const TimeTick&) const = default;
};

// The ticks within [from, to] seconds at the finest calendar step of which
// the span holds at most `max_steps`: 1 s to 30 s, 1 min to 12 h, 1 or 2
// days, weeks from Monday, 1 to 6 months, then 1, 2 or 5 times a power of ten
// years, up to 50,000 years whatever the span. Clock labels show seconds
// below a step of a minute, or always `with_seconds`.
std::vector<TimeTick> ChooseTimeTicks(double from, double to, int max_steps, bool with_seconds);

// The text of a column width, half a second times a power of two: "0.5 s",
// "4 min 16 s", "1 d 2 h" (whole units, the zero ones left out).
void AppendDuration(std::string& out, double seconds);

// ---- Labels -----------------------------------------------------------------

// Positions for labels wanted at `wanted` (in any order) that keep every two
// at least `gap` apart: labels that would come closer move apart, as little
// as they can (each run of touching labels centred on where its labels want
// to be), keeping their order, and within [low, high] as far as they fit
// there (from `low` on when they do not). Returned in the order of `wanted`.
std::vector<std::int64_t> SpreadLabels(const std::vector<std::int64_t>& wanted, std::int64_t gap, std::int64_t low,
                                       std::int64_t high);

}  // namespace hkcsv
