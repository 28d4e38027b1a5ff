// The channels' statistics, taken in frame by frame.
#include "report/model/channel_stats.h"

#include <algorithm>

namespace hkcsv {

namespace {

// Counts a value past a limit, where the channel has limits.
void CountPastLimit(ChannelStats& stats, LimitBand band) {
  if (band == LimitBand::kRed && stats.red) ++*stats.red;
  if (band == LimitBand::kYellow && stats.yellow) ++*stats.yellow;
}

void TakeValue(ChannelStats& stats, double value, LimitBand band, const FrameAt& at) {
  // The first value is both extremes; after it, mostly neither.
  if (stats.count == 0) [[unlikely]] {
    stats.min = value;
    stats.max = value;
    stats.min_at = at;
    stats.max_at = at;
  } else {
    if (value < stats.min) [[unlikely]] {
      stats.min = value;
      stats.min_at = at;
    }
    if (value > stats.max) [[unlikely]] {
      stats.max = value;
      stats.max_at = at;
    }
  }
  ++stats.count;
  stats.sum += value;
  if (band != LimitBand::kInside) [[unlikely]]
    CountPastLimit(stats, band);
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

void TakeFrameValues(ChannelStatsTable& channels, EngineeringValues values, const ChannelBands& bands,
                     const FrameAt& at) {
  for (std::size_t channel = 0; channel < channels.size(); ++channel) {
    TakeValue(channels[channel], values[channel], bands[channel], at);
  }
}

}  // namespace hkcsv
