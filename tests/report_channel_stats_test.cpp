// The channels' statistics taken in frame by frame: the first frame holding
// an extreme keeps it, a NaN is never one, and only channels with limits
// count the values past them.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "report/model/channel_stats.h"

using namespace hkcsv;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ChannelStats, TheFirstFrameHoldingAnExtremeKeepsIt) {
  // Four frames, one a pass, of channels 0 to 2; every other channel holds 7.
  // Channel 0 has limits, and is yellow in the second frame and red in the
  // fourth; channel 5, red there too, has none.
  struct Frame {
    double values[3];
    LimitBand band0, band5;
  };
  const Frame frames[] = {
      {{2.0, 0.0, 1.0}, LimitBand::kInside, LimitBand::kInside},
      {{1.0, -0.0, kNaN}, LimitBand::kYellow, LimitBand::kInside},
      {{1.0, 3.0, 0.5}, LimitBand::kInside, LimitBand::kInside},
      {{5.0, 3.0, 2.0}, LimitBand::kRed, LimitBand::kRed},
  };
  LimitTable limits{};
  limits[0][kRedHigh] = 4.5;
  ChannelTally tally = EmptyTally(&limits);
  for (std::size_t pass = 0; pass < std::size(frames); ++pass) {
    std::array<double, kEngineeringChannels> values;
    values.fill(7.0);
    std::copy(std::begin(frames[pass].values), std::end(frames[pass].values), values.begin());
    ChannelBands bands{};
    bands[0] = frames[pass].band0;
    bands[5] = frames[pass].band5;
    TakeFrameValues(tally, values, bands, {pass, 10.0 * static_cast<double>(pass)});
  }
  const ChannelStatsTable stats = TalliedStats(tally);
  struct Expected {
    double min, max, sum;
    std::size_t min_pass, max_pass;
  };
  // Channel 0: the later 1.0 and channel 1's later 3.0 tie, and keep the
  // first; -0.0 is no lower than 0.0. Channel 2: the NaN is neither extreme,
  // and makes the sum NaN.
  const Expected expected[] = {
      {1.0, 5.0, 9.0, 1, 3}, {0.0, 3.0, 6.0, 0, 2}, {0.5, 2.0, kNaN, 2, 3}, {7.0, 7.0, 28.0, 0, 0}};
  for (std::size_t channel = 0; channel < std::size(expected); ++channel) {
    const ChannelStats& s = stats[channel];
    const Expected& e = expected[channel];
    EXPECT_EQ(s.count, 4u) << channel;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s.min), std::bit_cast<std::uint64_t>(e.min)) << channel;
    EXPECT_EQ(s.max, e.max) << channel;
    if (std::isnan(e.sum)) {
      EXPECT_TRUE(std::isnan(s.sum)) << channel;
    } else {
      EXPECT_EQ(s.sum, e.sum) << channel;
    }
    EXPECT_EQ(s.min_at.pass, e.min_pass) << channel;
    EXPECT_EQ(s.min_at.ground_time, 10.0 * static_cast<double>(e.min_pass)) << channel;
    EXPECT_EQ(s.max_at.pass, e.max_pass) << channel;
  }
  EXPECT_EQ(stats[0].yellow, 1u);
  EXPECT_EQ(stats[0].red, 1u);
  EXPECT_EQ(stats[5].red, std::nullopt);
  EXPECT_EQ(stats[33].count, 4u);
}

}  // namespace
