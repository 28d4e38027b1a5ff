// The samples of one chart series in bounded memory: a grid of time columns
// whose width only ever doubles, each column keeping the count of its samples
// and at most four of them (first, last, minimum and maximum once it holds
// more than four). Merging columns gives exactly the column of all their
// samples, so the result does not depend on when the width doubled.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hkcsv {

struct Sample {
  double t;               // ground time, seconds since 1970
  float v;                // the value
  std::uint32_t seq;      // position in processing order; breaks every tie
  std::uint32_t segment;  // lines join only samples of one segment
  bool operator==(const Sample&) const = default;
};

// The samples a column keeps: all of them up to this many, else the slots below.
inline constexpr std::size_t kKeptPerColumn = 4;
using KeptSamples = std::array<Sample, kKeptPerColumn>;

// Slots of Column::kept once a column holds more than kKeptPerColumn samples.
inline constexpr int kKeptFirst = 0;  // earliest by t, then seq
inline constexpr int kKeptLast = 1;   // latest by t, then seq
inline constexpr int kKeptMin = 2;    // least by v, then t, then seq
inline constexpr int kKeptMax = 3;    // greatest by v, then t, then seq
static_assert(kKeptMax + 1 == kKeptPerColumn, "a slot for each kept sample");

struct Column {
  std::int64_t index;  // floor(t / width) of every sample in it
  std::uint64_t count;
  // With at most kKeptPerColumn samples: all of them by t then seq, the rest
  // of the slots value-initialised. Beyond: the slots kKeptFirst to kKeptMax.
  KeptSamples kept;
  bool operator==(const Column&) const = default;
};

inline constexpr double kFinestColumnWidth = 0.5;  // satellite time counts half seconds
// More columns than this and the width doubles. A series then stays under
// (kColumnBudget + 1) * sizeof(Column) = 143 KB, and a chart of at most 1,000
// columns still gets more than 500 of them from a continuous series.
inline constexpr std::size_t kColumnBudget = 1280;
// Samples later or earlier than this many seconds from 1970 are refused.
inline constexpr double kTimeLimit = 1e12;

struct TimeSeries {
  double width = kFinestColumnWidth;  // seconds, kFinestColumnWidth times a power of two
  std::vector<Column> columns;        // by index, no index twice
  std::uint64_t samples = 0;          // samples taken in
  bool operator==(const TimeSeries&) const = default;
};

// The column of time `t` on a grid of columns `width` seconds wide:
// floor(t / width), exact as the width is a power of two times a half second.
std::int64_t ColumnIndex(double t, double width);

// Empties the series for new samples, keeping its memory.
void ClearSeries(TimeSeries& series);

// Takes in one sample. Returns false, ignoring it, when its value is not
// finite or its time is not within kTimeLimit.
bool AddSample(TimeSeries& series, const Sample& sample);

// Merges neighbouring columns until the width is `width`. Returns false, and
// changes nothing, unless `width` is the series' width times a power of two.
bool CoarsenSeries(TimeSeries& series, double width);

// The kept samples of a column by t then seq, each once. Returns their number.
int KeptInTimeOrder(const Column& column, KeptSamples& out);

}  // namespace hkcsv
