// The checks of a run that nobody watches.
#include "app/unattended.h"

#include <cmath>
#include <ctime>

#include "report/model/pass_order.h"
#include "text/calendar.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// "FM: no pass since 2019-12-31 08:19:06 JST (52 hours)".
std::string TooOld(const std::string& format, const WeighedPass& pass, double hours) {
  std::string line = format + ": no pass since " + FormatGroundTime(*pass.start);
  if (!pass.zone.empty()) line += " " + pass.zone;
  line += " (";
  AppendCounted(line, static_cast<std::uint64_t>(hours), "hour", "hours");
  return line + ")";
}

void CheckFormat(const WeighedFormat& format, const UnattendedChecks& checks, double now,
                 std::vector<std::string>& lines) {
  const std::string name = ConstantsOf(format.format).folder;
  if (format.folder_missing) {
    if (checks.max_age) lines.push_back(name + ": no pass to check: its folder is missing");
    return;
  }
  // Each pass by the clock: its time in UTC where it is dated and not in the future.
  std::vector<PassTime> times;
  std::vector<double> ahead;  // seconds after the clock; 0 for passes not dated in the future
  std::optional<std::size_t> latest_dated;
  for (const WeighedPass& pass : format.passes) {
    const std::optional<double> utc = pass.start ? std::optional(PassUtc(*pass.start, pass.zone)) : std::nullopt;
    const bool future = utc && *utc - now > kFutureSlack;
    ahead.push_back(future ? *utc - now : 0);
    times.push_back({future ? std::nullopt : utc, true});
    if (times.back().time && (!latest_dated || *times.back().time >= *times[*latest_dated].time)) {
      latest_dated = times.size() - 1;
    }
  }
  if (checks.fail_on) {
    std::vector<bool> judged(format.passes.size(), false);
    if (format.judged_before) {
      for (std::size_t i = 0; i < judged.size(); ++i) judged[i] = !format.passes[i].judged;
    } else if (const std::optional<std::size_t> newest = NewestByTime(times)) {
      judged[*newest] = true;
    }
    for (std::size_t i = 0; i < judged.size(); ++i) {
      if (!judged[i]) continue;
      const WeighedPass& pass = format.passes[i];
      for (const Reason& reason : pass.why) {
        if (reason.level <= *checks.fail_on) lines.push_back(name + " " + pass.name + ": " + reason.text);
      }
      if (ahead[i] > 0 && *checks.fail_on == Level::kNotice) {
        std::string line = name + " " + pass.name + ": dated ";
        AppendCounted(line, static_cast<std::uint64_t>(ahead[i] / 3600), "hour", "hours");
        lines.push_back(line + " in the future");
      }
    }
  }
  if (!checks.max_age) return;
  if (!latest_dated) {
    lines.push_back(name + (format.passes.empty() ? ": no pass" : ": no dated pass"));
    return;
  }
  const double hours = (now - *times[*latest_dated].time) / 3600;
  if (hours > *checks.max_age) lines.push_back(TooOld(name, format.passes[*latest_dated], hours));
}

}  // namespace

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

std::vector<std::string> UnattendedFindings(const std::vector<WeighedFormat>& formats, const UnattendedChecks& checks,
                                            double now) {
  std::vector<std::string> lines;
  for (const WeighedFormat& format : formats) CheckFormat(format, checks, now, lines);
  return lines;
}

}  // namespace hkcsv
