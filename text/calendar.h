// Ground time of the report: seconds since 1970-01-01 00:00:00 as plain
// calendar time (proleptic Gregorian, no time zones, no daylight saving).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hkcsv {

struct CivilDate {
  std::int64_t year;
  int month;  // 1 to 12
  int day;    // 1 to 31
};

inline constexpr std::int64_t kSecondsPerDay = 86400;

// 10000-01-01 00:00:00: ground time stays before it, in years of four digits.
inline constexpr double kEndOfCalendar = 253402300800.0;

// Floor division for a positive divisor: rounds toward minus infinity, as
// the days and months before 1970 need.
constexpr std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// Days since 1970-01-01 (negative before it) of a valid date, and back; the
// years may lie far outside 0001 to 9999, where a chart's time axis can reach.
std::int64_t DaysFromCivil(CivilDate date);
CivilDate CivilFromDays(std::int64_t days);

// Parses a pass header's date "YYYY/MM/DD" and time "HH:MM:SS" strictly:
// exactly these digit counts and separators, year 0001 to 9999, month 1-12,
// day within the month, hour 0-23, minute and second 0-59, nothing before or
// after. Returns false (leaving `seconds` alone) when either does not parse.
bool ParseGroundTime(std::string_view date, std::string_view time, double& seconds);

// "YYYY-MM-DD HH:MM:SS" of whole seconds (the value is rounded down to a
// whole second). A value that is not finite or lies beyond 1e15 seconds gives
// "invalid time".
std::string FormatGroundTime(double seconds);

// The offset from UTC, in seconds, of a pass header's zone token where it is
// one of those known: "UTC", "GMT" and "Z" (0), "JST" (+9 h), and offsets
// written "+09:00" or "-05:30" (at most 14 hours). None for any other.
std::optional<std::int64_t> ZoneOffset(std::string_view zone);

// "YYYY", as the dates write the year: four digits at least, and a sign
// before the years before 1.
void AppendYear(std::string& out, std::int64_t year);
// "YYYY-MM-DD"; years outside 0001 to 9999 keep their sign and all digits.
void AppendCivilDate(std::string& out, CivilDate date);
// "HH:MM:SS", or "HH:MM" without `with_seconds`, of a second of the day.
void AppendClock(std::string& out, std::int64_t second_of_day, bool with_seconds);

}  // namespace hkcsv
