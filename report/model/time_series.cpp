// Chart series in bounded memory: columns that keep first, last, lowest and highest.
#include "report/model/time_series.h"

#include <algorithm>
#include <cmath>

namespace hkcsv {

namespace {

bool TimeBefore(const Sample& a, const Sample& b) { return a.t < b.t || (a.t == b.t && a.seq < b.seq); }

bool ValueBefore(const Sample& a, const Sample& b) {
  if (a.v != b.v) return a.v < b.v;
  return TimeBefore(a, b);
}

// Sorts the few samples of a column by t then seq (insertion sort: at most
// those of two columns).
void SortByTime(Sample* begin, Sample* end) {
  for (Sample* i = begin; i != end; ++i) {
    for (Sample* j = i; j != begin && TimeBefore(*j, j[-1]); --j) std::swap(*j, j[-1]);
  }
}

// The samples a column still knows about: all of them up to kKeptPerColumn, else the slots.
int Known(const Column& column) {
  return static_cast<int>(column.count <= kKeptPerColumn ? column.count : kKeptPerColumn);
}

// `into` becomes the column of the samples of both (same index).
void MergeColumns(Column& into, const Column& from) {
  std::array<Sample, 2 * kKeptPerColumn> candidates;
  const int into_known = Known(into);
  const int from_known = Known(from);
  std::copy_n(into.kept.begin(), into_known, candidates.begin());
  std::copy_n(from.kept.begin(), from_known, candidates.begin() + into_known);
  Sample* const end = candidates.data() + into_known + from_known;
  into.count += from.count;
  into.kept = {};
  if (into.count <= kKeptPerColumn) {
    // Both kept all of theirs, so every sample is a candidate.
    SortByTime(candidates.data(), end);
    std::copy(candidates.data(), end, into.kept.begin());
    return;
  }
  // Every extreme of the union is an extreme of one side, so it is among the candidates.
  into.kept[kKeptFirst] = *std::min_element(candidates.data(), end, TimeBefore);
  into.kept[kKeptLast] = *std::max_element(candidates.data(), end, TimeBefore);
  into.kept[kKeptMin] = *std::min_element(candidates.data(), end, ValueBefore);
  into.kept[kKeptMax] = *std::max_element(candidates.data(), end, ValueBefore);
}

// MergeColumns of a column and one more sample, without the candidates'
// copies: the usual case, a sample that falls in a column already reduced.
void AddToColumn(Column& column, const Sample& sample) {
  if (column.count >= kKeptPerColumn) {
    if (column.count == kKeptPerColumn) {  // one sample too many: from all kept to the slots
      Column single{column.index, 1, {}};
      single.kept[0] = sample;
      MergeColumns(column, single);
      return;
    }
    ++column.count;
    KeptSamples& kept = column.kept;
    if (TimeBefore(sample, kept[kKeptFirst])) kept[kKeptFirst] = sample;
    if (TimeBefore(kept[kKeptLast], sample)) kept[kKeptLast] = sample;
    if (ValueBefore(sample, kept[kKeptMin])) kept[kKeptMin] = sample;
    if (ValueBefore(kept[kKeptMax], sample)) kept[kKeptMax] = sample;
    return;
  }
  // Up to kKeptPerColumn: kept in time order.
  std::size_t at = column.count++;
  for (; at > 0 && TimeBefore(sample, column.kept[at - 1]); --at) column.kept[at] = column.kept[at - 1];
  column.kept[at] = sample;
}

// Doubles the width `shift` times, merging the columns that come together.
void ShiftColumns(TimeSeries& series, int shift) {
  std::vector<Column>& columns = series.columns;
  std::size_t written = 0;
  for (std::size_t read = 0; read < columns.size(); ++read) {
    Column column = columns[read];
    column.index >>= shift;  // floor(index / 2^shift)
    if (written > 0 && columns[written - 1].index == column.index) {
      MergeColumns(columns[written - 1], column);
    } else {
      columns[written++] = column;
    }
  }
  columns.resize(written);
  series.width = std::ldexp(series.width, shift);
}

// How many doublings lead from `from` to `to`, or -1 when none does.
int DoublingsBetween(double from, double to) {
  for (int shift = 0; shift < 64; ++shift) {
    const double width = std::ldexp(from, shift);
    if (width == to) return shift;
    if (width > to) break;
  }
  return -1;
}

}  // namespace

// Exact: the width is a power of two, so the division only moves the exponent.
std::int64_t ColumnIndex(double t, double width) { return static_cast<std::int64_t>(std::floor(t / width)); }

void ClearSeries(TimeSeries& series) {
  series.width = kFinestColumnWidth;
  series.columns.clear();
  series.samples = 0;
}

bool AddSample(TimeSeries& series, const Sample& sample) {
  if (!(std::fabs(sample.t) <= kTimeLimit) || !std::isfinite(sample.v)) return false;
  std::vector<Column>& columns = series.columns;
  const std::int64_t index = ColumnIndex(sample.t, series.width);
  ++series.samples;
  // Samples mostly come in time order: try the last column before searching.
  if (!columns.empty() && columns.back().index == index) {
    AddToColumn(columns.back(), sample);
    return true;
  }
  std::size_t position = columns.size();
  if (!columns.empty() && columns.back().index > index) {
    const auto found = std::lower_bound(columns.begin(), columns.end(), index,
                                        [](const Column& column, std::int64_t i) { return column.index < i; });
    position = static_cast<std::size_t>(found - columns.begin());
    if (found->index == index) {
      AddToColumn(*found, sample);
      return true;
    }
  }
  Column single{index, 1, {}};
  single.kept[0] = sample;
  // Grow by hand so the capacity never passes what the budget allows.
  if (columns.size() == columns.capacity()) {
    columns.reserve(std::min(std::max<std::size_t>(16, 2 * columns.capacity()), kColumnBudget + 1));
  }
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(position), single);
  while (columns.size() > kColumnBudget) ShiftColumns(series, 1);
  return true;
}

bool CoarsenSeries(TimeSeries& series, double width) {
  const int shift = DoublingsBetween(series.width, width);
  if (shift < 0) return false;
  if (shift > 0) ShiftColumns(series, shift);
  return true;
}

int KeptInTimeOrder(const Column& column, KeptSamples& out) {
  const int known = Known(column);
  std::copy_n(column.kept.begin(), known, out.begin());
  if (column.count <= kKeptPerColumn) return known;
  SortByTime(out.data(), out.data() + out.size());
  // The same sample can fill two slots (the first can be the minimum).
  return static_cast<int>(std::unique(out.begin(), out.end()) - out.begin());
}

}  // namespace hkcsv
