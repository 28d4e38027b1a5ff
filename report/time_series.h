// The samples of one chart series in bounded memory: a grid of time columns
// whose width only ever doubles, each column keeping the count of its samples
// and at most four of them (first, last, minimum and maximum once it holds
// more than four). Reducing in pieces and merging gives exactly the result of
// reducing everything at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct Sample {
  double t;               // ground time, seconds since 1970
  float v;                // the value
  std::uint32_t seq;      // position in processing order; breaks every tie
  std::uint32_t segment;  // lines join only samples of one segment
  bool operator==(const Sample&) const = default;
};

// Slots of Column::kept once a column holds more than four samples.
inline constexpr int kKeptFirst = 0;  // earliest by t, then seq
inline constexpr int kKeptLast = 1;   // latest by t, then seq
inline constexpr int kKeptMin = 2;    // least by v, then t, then seq
inline constexpr int kKeptMax = 3;    // greatest by v, then t, then seq

struct Column {
  std::int64_t index;  // floor(t / width) of every sample in it
  std::uint64_t count;
  // With at most four samples: all of them by t then seq, the rest of the
  // slots value-initialised. Beyond four: the slots kKeptFirst to kKeptMax.
  std::array<Sample, 4> kept;
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

// Takes in one sample. Returns false, ignoring it, when its value is not
// finite or its time is not within kTimeLimit.
bool AddSample(TimeSeries& series, const Sample& sample);

// Takes in every sample of `from`: afterwards `into` is what reducing the
// samples of both at once would have given.
void MergeSeries(TimeSeries& into, const TimeSeries& from);

// Merges neighbouring columns until the width is `width`. Returns false, and
// changes nothing, unless `width` is the series' width times a power of two.
bool CoarsenSeries(TimeSeries& series, double width);

// The kept samples of a column by t then seq, each once. Returns their number.
int KeptInTimeOrder(const Column& column, std::array<Sample, 4>& out);
