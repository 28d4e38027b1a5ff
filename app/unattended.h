// What a run of hkreport that nobody watches checks once its pages are
// written: whether a pass that came since the last such run asks for a look
// (--fail-on), and whether the newest pass is too old (--max-age). Either
// makes the exit status 3.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/output/report.h"

namespace hkcsv {

inline constexpr int kLookStatus = 3;

// A pass dated more than this after the machine's clock is dated in the
// future: a finding of its own, and no pass to read the age of.
inline constexpr double kFutureSlack = 3600;

struct UnattendedChecks {
  std::optional<Level> fail_on;   // this level or worse
  std::optional<double> max_age;  // hours
};

// The pass's ground time as seconds since 1970 in UTC: read in its zone
// token where ZoneOffset knows it, else in the machine's local time.
double PassUtc(double ground_time, const std::string& zone);

// The lines that say what asks for a look, by the clock `now` (seconds since
// 1970, UTC), without "hkreport: ".
//
// With --fail-on, the passes judged are those the list of judged captures
// does not hold; where it has no section for the format yet, the format's
// newest pass by the clock only. Each gives "FM NAME: REASON" per reason at
// the level asked or worse, and with notices "FM NAME: dated N hours in the
// future" when it is.
//
// With --max-age, the latest dated pass that is not dated in the future
// gives "FM: no pass since TIME ZONE (N hours)" when it is older than the
// age asked; a format with none gives "FM: no dated pass", or "FM: no pass"
// when it has no capture at all, or "FM: no pass to check: its folder is
// missing".
//
// The newest pass by the clock is the latest dated pass that is not dated in
// the future, or the last capture listed after it that has no usable date
// (NewestByTime).
std::vector<std::string> UnattendedFindings(const std::vector<WeighedFormat>& formats, const UnattendedChecks& checks,
                                            double now);

}  // namespace hkcsv
