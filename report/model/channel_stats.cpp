// The channels' statistics, taken in frame by frame.
#include "report/model/channel_stats.h"

#include <algorithm>
#include <bit>

namespace hkcsv {

namespace {

// Where a frame holds a new extreme of a channel: the first frame holds
// every one. The first frame holding an extreme keeps it.
void TakeExtremes(ChannelTally& tally, EngineeringValues values, const FrameAt& at) {
  const bool first = tally.count == 0;
  for (std::size_t channel = 0; channel < values.size(); ++channel) {
    const double value = values[channel];
    if (first || value < tally.min[channel]) {
      tally.min[channel] = value;
      tally.table[channel].min_at = at;
    }
    if (first || value > tally.max[channel]) {
      tally.max[channel] = value;
      tally.table[channel].max_at = at;
    }
  }
}

// Counts the values past a limit, of the channels that have limits.
void CountPastLimits(ChannelStatsTable& table, const ChannelBands& bands) {
  for (std::size_t channel = 0; channel < bands.size(); ++channel) {
    ChannelStats& stats = table[channel];
    if (bands[channel] == LimitBand::kRed && stats.red) ++*stats.red;
    if (bands[channel] == LimitBand::kYellow && stats.yellow) ++*stats.yellow;
  }
}

}  // namespace

bool HasLimits(const LimitTable* limits, std::size_t channel) {
  return limits && (*limits)[channel] != ChannelLimits{};
}

ChannelStatsTable EmptyStats(const LimitTable* limits) {
  ChannelStatsTable channels{};
  for (std::size_t channel = 0; channel < channels.size(); ++channel) {
    if (HasLimits(limits, channel)) {
      channels[channel].yellow = 0;
      channels[channel].red = 0;
    }
  }
  return channels;
}

std::optional<LimitBand> ClassifyFrame(const LimitTable* limits, EngineeringValues values, ChannelBands& bands) {
  bands = {};
  if (!limits) return std::nullopt;
  LimitBand worst = LimitBand::kInside;
  for (std::size_t channel = 0; channel < bands.size(); ++channel) {
    bands[channel] = Classify((*limits)[channel], values[channel]);
    worst = std::max(worst, bands[channel]);
  }
  return worst;
}

ChannelTally EmptyTally(const LimitTable* limits) {
  ChannelTally tally;
  tally.table = EmptyStats(limits);
  return tally;
}

void TakeFrameValues(ChannelTally& tally, EngineeringValues values, const ChannelBands& bands, const FrameAt& at) {
  // Most frames lie within every extreme so far and inside every limit: the
  // sums are all they change. So the loop takes every channel's lower and
  // higher value with no branch, gathering the bits in which they differ
  // from the extremes kept (the compiler runs it on several channels at
  // once); only where some differ are the extremes taken one by one.
  std::uint64_t changed = tally.count == 0 ? 1 : 0;
  for (std::size_t channel = 0; channel < values.size(); ++channel) {
    const double value = values[channel];
    tally.sum[channel] += value;
    const double lower = value < tally.min[channel] ? value : tally.min[channel];
    const double higher = value > tally.max[channel] ? value : tally.max[channel];
    changed |= std::bit_cast<std::uint64_t>(lower) ^ std::bit_cast<std::uint64_t>(tally.min[channel]);
    changed |= std::bit_cast<std::uint64_t>(higher) ^ std::bit_cast<std::uint64_t>(tally.max[channel]);
  }
  if (changed != 0) TakeExtremes(tally, values, at);
  ++tally.count;
  static_assert(static_cast<int>(LimitBand::kInside) == 0, "a band past a limit has a bit set");
  int past = 0;
  for (const LimitBand band : bands) past |= static_cast<int>(band);
  if (past != 0) CountPastLimits(tally.table, bands);
}

ChannelStatsTable TalliedStats(const ChannelTally& tally) {
  ChannelStatsTable table = tally.table;
  for (std::size_t channel = 0; channel < table.size(); ++channel) {
    table[channel].count = tally.count;
    table[channel].min = tally.min[channel];
    table[channel].max = tally.max[channel];
    table[channel].sum = tally.sum[channel];
  }
  return table;
}

}  // namespace hkcsv
