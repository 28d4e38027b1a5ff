// Ground time as plain calendar time: parsed from headers, printed on pages.
#include "text/calendar.h"

#include <chrono>
#include <cmath>

#include "text/number_format.h"

namespace hkcsv {

namespace {

// std::chrono's years end at 32767, but the Gregorian calendar repeats every
// 400 years (146097 days): a date is converted within the 400 years from 1970
// and moved by whole cycles, so charts reaching far from 1970 still get dates.
constexpr std::int64_t kCycleYears = 400;
constexpr std::int64_t kCycleDays = 146097;
constexpr std::int64_t kFirstYearOfCycle = 1970;

std::chrono::year_month_day ChronoDate(std::int64_t year, int month, int day) {
  return {std::chrono::year{static_cast<int>(year)}, std::chrono::month{static_cast<unsigned>(month)},
          std::chrono::day{static_cast<unsigned>(day)}};
}

// Reads exactly `count` digits of `text` from `pos`.
bool ReadDigits(std::string_view text, std::size_t pos, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::int64_t DaysFromCivil(CivilDate date) {
  const std::int64_t cycles = FloorDiv(date.year - kFirstYearOfCycle, kCycleYears);
  const std::chrono::sys_days day{ChronoDate(date.year - cycles * kCycleYears, date.month, date.day)};
  return day.time_since_epoch().count() + cycles * kCycleDays;
}

CivilDate CivilFromDays(std::int64_t days) {
  const std::int64_t cycles = FloorDiv(days, kCycleDays);
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{days - cycles * kCycleDays}}};
  return {static_cast<int>(date.year()) + cycles * kCycleYears, static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day()))};
}

bool ParseGroundTime(std::string_view date, std::string_view time, double& seconds) {
  if (date.size() != 10 || date[4] != '/' || date[7] != '/') return false;
  if (time.size() != 8 || time[2] != ':' || time[5] != ':') return false;
  int year, month, day, hour, minute, second;
  if (!ReadDigits(date, 0, 4, year) || !ReadDigits(date, 5, 2, month) || !ReadDigits(date, 8, 2, day)) return false;
  if (!ReadDigits(time, 0, 2, hour) || !ReadDigits(time, 3, 2, minute) || !ReadDigits(time, 6, 2, second)) {
    return false;
  }
  const std::chrono::year_month_day civil = ChronoDate(year, month, day);
  if (year < 1 || !civil.ok() || hour > 23 || minute > 59 || second > 59) return false;
  const std::chrono::sys_seconds whole = std::chrono::sys_days{civil} + std::chrono::hours{hour} +
                                         std::chrono::minutes{minute} + std::chrono::seconds{second};
  seconds = static_cast<double>(whole.time_since_epoch().count());
  return true;
}

std::string FormatGroundTime(double seconds) {
  if (!(std::fabs(seconds) <= 1e15)) return "invalid time";
  const std::chrono::seconds whole{static_cast<std::int64_t>(std::floor(seconds))};
  const std::chrono::days days = std::chrono::floor<std::chrono::days>(whole);
  std::string text;
  AppendCivilDate(text, CivilFromDays(days.count()));
  text += ' ';
  AppendClock(text, (whole - days).count(), true);
  return text;
}

std::optional<std::int64_t> ZoneOffset(std::string_view zone) {
  if (zone == "UTC" || zone == "GMT" || zone == "Z") return 0;
  if (zone == "JST") return 9 * 3600;
  const auto digit = [&zone](std::size_t at) { return zone[at] >= '0' && zone[at] <= '9'; };
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' || !digit(1) || !digit(2) || !digit(4) ||
      !digit(5)) {
    return std::nullopt;
  }
  const int hours = (zone[1] - '0') * 10 + (zone[2] - '0');
  const int minutes = (zone[4] - '0') * 10 + (zone[5] - '0');
  if (hours > 14 || minutes > 59) return std::nullopt;
  const std::int64_t offset = hours * 3600 + minutes * 60;
  return zone[0] == '-' ? -offset : offset;
}

void AppendYear(std::string& out, std::int64_t year) {
  if (year < 0) out += '-';
  AppendZeroPadded(out, year < 0 ? 0 - static_cast<std::uint64_t>(year) : static_cast<std::uint64_t>(year), 4);
}

void AppendCivilDate(std::string& out, CivilDate date) {
  AppendYear(out, date.year);
  out += '-';
  AppendZeroPadded(out, static_cast<std::uint64_t>(date.month), 2);
  out += '-';
  AppendZeroPadded(out, static_cast<std::uint64_t>(date.day), 2);
}

void AppendClock(std::string& out, std::int64_t second_of_day, bool with_seconds) {
  const std::chrono::hh_mm_ss clock{std::chrono::seconds{second_of_day}};
  AppendZeroPadded(out, static_cast<std::uint64_t>(clock.hours().count()), 2);
  out += ':';
  AppendZeroPadded(out, static_cast<std::uint64_t>(clock.minutes().count()), 2);
  if (with_seconds) {
    out += ':';
    AppendZeroPadded(out, static_cast<std::uint64_t>(clock.seconds().count()), 2);
  }
}

}  // namespace hkcsv
