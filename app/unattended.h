// What a run of hkreport that nobody watches checks once its pages are
// written: whether the newest pass of a format asks for a look (--fail-on),
// and whether it is too old (--max-age). Either makes the exit status 3.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/output/report.h"

namespace hkcsv {

inline constexpr int kLookStatus = 3;

struct UnattendedChecks {
  std::optional<Level> fail_on;   // this level or worse
  std::optional<double> max_age;  // hours
};

// The pass's ground time as seconds since 1970 in UTC: read in its zone
// token where ZoneOffset knows it, else in the machine's local time.
double PassUtc(double ground_time, const std::string& zone);

// The lines that say why the newest passes of `latest` ask for a look, by
// the clock `now` (seconds since 1970, UTC), without "hkreport: ": "FM NAME:
// REASON" per reason at the level asked or worse, "FM: no pass since TIME
// ZONE (N hours)" for a format whose newest pass is older than the age
// asked, "FM: no dated pass" for one without any. Empty: nothing to look at.
std::vector<std::string> UnattendedFindings(const std::vector<LatestPass>& latest, const UnattendedChecks& checks,
                                            double now);

}  // namespace hkcsv
