// What a reason for a look asks of the operator, and the reason itself: the
// levels with their words both ways, as the pages' classes and the command
// line (--fail-on) name them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hkcsv {

enum class Level {
  kAlarm,   // the satellite or the station needs a look
  kNotice,  // reception and data quality
};

// The levels' words, worst first.
inline constexpr std::array<std::string_view, 2> kLevelNames{"alarm", "notice"};

// "alarm" or "notice".
inline std::string_view LevelName(Level level) { return kLevelNames[static_cast<std::size_t>(level)]; }

// The level a word names; none for any other word.
inline std::optional<Level> LevelNamed(std::string_view name) {
  for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
    if (kLevelNames[i] == name) return static_cast<Level>(i);
  }
  return std::nullopt;
}

struct Reason {
  Level level;
  std::string text;
  bool operator==(const Reason&) const = default;
};

// The worst level of the reasons; none when there are none.
inline std::optional<Level> WorstLevel(const std::vector<Reason>& why) {
  std::optional<Level> worst;
  for (const Reason& reason : why) {
    if (!worst || reason.level < *worst) worst = reason.level;
  }
  return worst;
}

}  // namespace hkcsv
