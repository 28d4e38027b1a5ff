// The statistics of the engineering channels over a set of frames (every
// frame of a format, or of one pass): count, extremes and where they were
// taken, mean, and the samples past each channel's limits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "capture/decoded_frame.h"
#include "report/model/limits.h"

namespace hkcsv {

// Where a value was taken: the pass (index into FormatRecord::passes) and the
// frame's ground time, none when its pass has no date.
struct FrameAt {
  std::size_t pass = 0;
  std::optional<double> ground_time;
};

struct ChannelStats {
  std::uint64_t count = 0;
  double min = 0.0;
  double max = 0.0;
  double sum = 0.0;  // in processing order
  FrameAt min_at;    // the first frame holding the extreme
  FrameAt max_at;
  // Samples past a yellow limit and not past a red one, and past a red one;
  // none when the channel has no limits.
  std::optional<std::uint64_t> yellow;
  std::optional<std::uint64_t> red;
};

using ChannelStatsTable = std::array<ChannelStats, kEngineeringChannels>;
using ChannelBands = std::array<LimitBand, kEngineeringChannels>;

// Whether a channel has any limit; then its values are classed by them.
bool HasLimits(const LimitTable* limits, std::size_t channel);

// Statistics of no frame yet: counts past limits (0) for the channels that
// have limits, none for the others.
ChannelStatsTable EmptyStats(const LimitTable* limits);

// Classes each value of a frame by its channel's limits into `bands` (all
// inside without limits) and returns the worst; none without limits.
std::optional<LimitBand> ClassifyFrame(const LimitTable* limits, EngineeringValues values, ChannelBands& bands);

// The statistics of a set of frames while they are taken in: what every
// frame changes, the sums and the extremes, for all channels side by side (a
// frame within every extreme so far then costs a few instructions a
// channel), and the rest in a table.
struct ChannelTally {
  ChannelStatsTable table{};  // where the extremes were taken, and the counts past limits
  std::uint64_t count = 0;    // frames, each a value of every channel
  std::array<double, kEngineeringChannels> sum{};
  std::array<double, kEngineeringChannels> min{};
  std::array<double, kEngineeringChannels> max{};
};

// A tally of no frame yet, with counts past limits as EmptyStats has them.
ChannelTally EmptyTally(const LimitTable* limits);

// Takes in the values of one frame, classed as `bands`, taken at `at`.
void TakeFrameValues(ChannelTally& tally, EngineeringValues values, const ChannelBands& bands, const FrameAt& at);

// The statistics of the frames taken in.
ChannelStatsTable TalliedStats(const ChannelTally& tally);

}  // namespace hkcsv
