// The bounded column reduction of a chart series, against columns computed
// from all of their samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "report/model/time_series.h"

using namespace hkcsv;

namespace {

// A column as the rules define it, computed from all of its samples.
Column ReferenceColumn(std::int64_t index, std::vector<Sample> samples) {
  const auto by_time = [](const Sample& a, const Sample& b) { return std::tie(a.t, a.seq) < std::tie(b.t, b.seq); };
  const auto by_value = [](const Sample& a, const Sample& b) {
    return std::tie(a.v, a.t, a.seq) < std::tie(b.v, b.t, b.seq);
  };
  std::sort(samples.begin(), samples.end(), by_time);
  Column column{index, samples.size(), {}};
  if (samples.size() <= kKeptPerColumn) {
    std::copy(samples.begin(), samples.end(), column.kept.begin());
  } else {
    column.kept = {samples.front(), samples.back(), *std::min_element(samples.begin(), samples.end(), by_value),
                   *std::max_element(samples.begin(), samples.end(), by_value)};
  }
  return column;
}

std::vector<Column> ReferenceColumns(const std::vector<Sample>& samples, double width) {
  std::map<std::int64_t, std::vector<Sample>> groups;
  for (const Sample& sample : samples)
    groups[static_cast<std::int64_t>(std::floor(sample.t / width))].push_back(sample);
  std::vector<Column> columns;
  for (const auto& [index, group] : groups) columns.push_back(ReferenceColumn(index, group));
  return columns;
}

TimeSeries Reduce(const std::vector<Sample>& samples) {
  TimeSeries series;
  for (const Sample& sample : samples) EXPECT_TRUE(AddSample(series, sample));
  return series;
}

TEST(TimeSeries, ColumnKeepsFirstLastMinimumAndMaximum) {
  struct Case {
    const char* what;
    std::vector<Sample> samples;           // all in column 20 of width 0.5
    std::array<int, kKeptPerColumn> kept;  // positions in `samples` of the kept ones, -1 for an empty slot
  };
  const Case cases[] = {
      {"first, last, min, max",
       {{10.0, 5, 0, 0}, {10.1, 1, 1, 0}, {10.2, 9, 2, 0}, {10.3, 3, 3, 0}, {10.4, 7, 4, 0}},
       {0, 4, 1, 2}},
      {"out of time order",
       {{10.4, 7, 0, 0}, {10.0, 5, 1, 0}, {10.2, 9, 2, 0}, {10.1, 1, 3, 0}, {10.3, 3, 4, 0}},
       {1, 0, 3, 2}},
      {"equal values: earliest minimum, latest maximum",
       {{10.0, 2, 0, 0}, {10.1, 2, 1, 0}, {10.2, 2, 2, 0}, {10.3, 2, 3, 0}, {10.4, 2, 4, 0}, {10.45, 2, 5, 0}},
       {0, 5, 0, 5}},
      {"equal times: seq decides",
       {{10.0, 3, 0, 0}, {10.0, 1, 1, 0}, {10.0, 5, 2, 0}, {10.0, 2, 3, 0}, {10.0, 4, 4, 0}},
       {0, 4, 1, 2}},
      {"four kept in time order", {{10.3, 1, 0, 0}, {10.1, 2, 1, 0}, {10.2, 3, 2, 1}, {10.0, 4, 3, 1}}, {3, 1, 2, 0}},
      {"one", {{10.2, 1, 0, 7}}, {0, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    const TimeSeries series = Reduce(c.samples);
    ASSERT_EQ(series.columns.size(), 1u) << c.what;
    Column expected{20, c.samples.size(), {}};
    for (std::size_t slot = 0; slot < kKeptPerColumn; ++slot) {
      if (c.kept[slot] >= 0) expected.kept[slot] = c.samples[c.kept[slot]];
    }
    EXPECT_EQ(series.columns[0], expected) << c.what;
  }
}

TEST(TimeSeries, RefusesSamplesWithoutFiniteTimeAndValue) {
  TimeSeries series;
  EXPECT_FALSE(AddSample(series, {std::nan(""), 1, 0, 0}));
  EXPECT_FALSE(AddSample(series, {1e13, 1, 0, 0}));
  EXPECT_FALSE(AddSample(series, {1, std::numeric_limits<float>::infinity(), 0, 0}));
  EXPECT_EQ(series, TimeSeries{});
}

// Capture files in shuffled order, each with restarts and gaps: a processing
// order that is not time order.
std::vector<Sample> RandomPasses(std::uint32_t seed, int files, int per_file) {
  std::mt19937 random(seed);
  std::vector<int> order(files);
  for (int i = 0; i < files; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  std::vector<Sample> samples;
  std::uint32_t segment = 0;
  for (int file : order) {
    double t = 1.5e9 + file * 86400.0;
    ++segment;
    for (int i = 0; i < per_file; ++i) {
      if (random() % 500 == 0) ++segment;
      t += 0.5 * (random() % 24);
      const float v = static_cast<float>(static_cast<int>(random() % 2001) - 1000) / 8;
      samples.push_back({t, v, static_cast<std::uint32_t>(samples.size()), segment});
    }
  }
  return samples;
}

TEST(TimeSeries, WidthDoublesOnlyAsFarAsTheBudgetNeeds) {
  const std::vector<Sample> samples = RandomPasses(7, 3, 20000);
  const TimeSeries series = Reduce(samples);
  EXPECT_GT(series.width, kFinestColumnWidth);
  EXPECT_LE(series.columns.size(), kColumnBudget);
  EXPECT_GT(ReferenceColumns(samples, series.width / 2).size(), kColumnBudget);
  EXPECT_EQ(series.columns, ReferenceColumns(samples, series.width));
  EXPECT_EQ(series.samples, samples.size());

  TimeSeries coarse = series;
  EXPECT_FALSE(CoarsenSeries(coarse, series.width * 3));
  EXPECT_FALSE(CoarsenSeries(coarse, series.width / 2));
  EXPECT_EQ(coarse, series);
  ASSERT_TRUE(CoarsenSeries(coarse, series.width * 64));
  EXPECT_EQ(coarse.columns, ReferenceColumns(samples, series.width * 64));
}

TEST(TimeSeries, MemoryStaysBoundedForMillionsOfSamples) {
  TimeSeries series;
  for (std::uint32_t i = 0; i < 3000000; ++i) {
    // Every tenth sample from a file of the previous day.
    const double t = i % 10 == 0 ? 1e9 - i : 1e9 + 0.5 * i;
    AddSample(series, {t, static_cast<float>(i % 977), i, i % 10 == 0 ? 0u : 1u});
  }
  EXPECT_EQ(series.samples, 3000000u);
  EXPECT_LE(series.columns.capacity() * sizeof(Column), 150u * 1024);
}

}  // namespace
