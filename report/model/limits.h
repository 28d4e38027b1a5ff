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

namespace hkcsv {

// The four limits of a channel, in the order of a limits file line, which is
// ascending where they are given.
enum LimitSide { kRedLow, kYellowLow, kYellowHigh, kRedHigh, kLimitSides };

struct LimitSideInfo {
  const char* name;  // as messages and chart labels name it
  bool red;          // a red limit, else a yellow one
  bool low;          // a value below it is beyond it, else a value above it
};

inline constexpr std::array<LimitSideInfo, kLimitSides> kLimitSideInfo{{
    {"red low", true, true},
    {"yellow low", false, true},
    {"yellow high", false, false},
    {"red high", true, false},
}};

// By LimitSide; a limit left out is empty.
using ChannelLimits = std::array<std::optional<double>, kLimitSides>;

// By engineering channel: entry i belongs to kHkColumns[kFirstEngineeringSlot + i].
using LimitTable = std::array<ChannelLimits, kEngineeringChannels>;

// The limits given with --limits: the file as named, and what it holds.
struct OperatingLimits {
  std::string file;
  LimitTable table{};
};

enum class LimitBand { kInside, kYellow, kRed };

// "ok", "yellow" or "red": as the export's state column and the pages'
// classes name a band.
const char* LimitBandName(LimitBand band);

// Red when strictly beyond a red limit, otherwise yellow when strictly beyond
// a yellow limit; a value equal to a limit is inside it. A NaN is inside,
// since it is beyond no limit.
LimitBand Classify(const ChannelLimits& limits, double value);

// Parses the text of a limits file into `limits`, which holds only the good
// lines afterwards (channels on no good line have no limits). Appends one
// message "FILE:LINE: what is wrong" per bad line to `errors`,
// without a line end. Returns true when there is none.
bool ParseLimits(std::string_view text, std::string_view file_name, LimitTable& limits,
                 std::vector<std::string>& errors);

// Reads the file `path` and parses it. A file that cannot be opened or read
// gives the one message "FILE: REASON" and leaves `limits` empty.
bool ReadLimits(const std::string& path, LimitTable& limits, std::vector<std::string>& errors);

}  // namespace hkcsv
