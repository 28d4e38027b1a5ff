// The operating limits of the engineering channels, read from the limits file
// given with --limits: one line per channel, red and yellow limits on each
// side, any of them left out.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hk/hk_columns.h"

struct ChannelLimits {
  std::optional<double> red_low, yellow_low, yellow_high, red_high;
};

// By engineering channel: entry i belongs to kHkColumns[kFirstEngineeringSlot + i].
using LimitTable = std::array<ChannelLimits, kEngineeringChannels>;

enum class LimitBand { kInside, kYellow, kRed };

// Red when strictly beyond a red limit, otherwise yellow when strictly beyond
// a yellow limit; a value equal to a limit is inside it. A NaN is inside,
// since it is beyond no limit.
LimitBand Classify(const ChannelLimits& limits, double value);

// True when at least one of the four limits is given.
bool HasLimits(const ChannelLimits& limits);

// Parses the text of a limits file into `limits`, which holds only the good
// lines afterwards (channels on no good line have no limits). Appends one
// message "hkreport: FILE:LINE: what is wrong" per bad line to `errors`,
// without a line end. Returns true when there is none.
bool ParseLimits(std::string_view text, std::string_view file_name, LimitTable& limits,
                 std::vector<std::string>& errors);

// Reads the file `path` and parses it. A file that cannot be opened or read
// gives the one message "hkreport: FILE: REASON" and leaves `limits` empty.
bool ReadLimits(const std::string& path, LimitTable& limits, std::vector<std::string>& errors);
