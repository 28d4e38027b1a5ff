// The checks of a run that nobody watches.
#include "app/unattended.h"

#include <cmath>
#include <ctime>

#include "report/model/calendar.h"
#include "text/number_format.h"

namespace hkcsv {

double PassUtc(double ground_time, const std::string& zone) {
  if (const std::optional<std::int64_t> offset = ZoneOffset(zone)) return ground_time - static_cast<double>(*offset);
  // The machine's own clock reads local time: as it would read this one.
  const auto whole = static_cast<std::int64_t>(std::floor(ground_time));
  const std::int64_t days = FloorDiv(whole, kSecondsPerDay);
  const std::int64_t second = whole - days * kSecondsPerDay;
  const CivilDate date = CivilFromDays(days);
  std::tm local{};
  local.tm_year = static_cast<int>(date.year - 1900);
  local.tm_mon = date.month - 1;
  local.tm_mday = date.day;
  local.tm_hour = static_cast<int>(second / 3600);
  local.tm_min = static_cast<int>(second / 60 % 60);
  local.tm_sec = static_cast<int>(second % 60);
  local.tm_isdst = -1;  // as the machine's rules have it on that day
  return static_cast<double>(std::mktime(&local)) + (ground_time - static_cast<double>(whole));
}

std::vector<std::string> UnattendedFindings(const std::vector<LatestPass>& latest, const UnattendedChecks& checks,
                                            double now) {
  std::vector<std::string> lines;
  for (const LatestPass& pass : latest) {
    const std::string format = ConstantsOf(pass.format).folder;
    if (checks.fail_on) {
      for (const Reason& reason : pass.why) {
        if (reason.level <= *checks.fail_on) lines.push_back(format + " " + pass.name + ": " + reason.text);
      }
    }
    if (!checks.max_age) continue;
    if (!pass.start) {
      lines.push_back(format + ": no dated pass");
      continue;
    }
    const double hours = (now - PassUtc(*pass.start, pass.zone)) / 3600;
    if (hours <= *checks.max_age) continue;
    std::string line = format + ": no pass since " + FormatGroundTime(*pass.start);
    if (!pass.zone.empty()) line += " " + pass.zone;
    line += " (";
    AppendCounted(line, static_cast<std::uint64_t>(hours), "hour", "hours");
    lines.push_back(line + ")");
  }
  return lines;
}

}  // namespace hkcsv
