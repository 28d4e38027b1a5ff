// Ground time: the strict reading of a pass header's date and time, its text
// and the civil-date arithmetic behind both.
#include "text/calendar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

using namespace hkcsv;

namespace {

TEST(GroundTime, ParsesOnlyStrictDatesAndTimes) {
  struct Case {
    const char* date;
    const char* time;
    bool ok;
    double seconds;
  };
  const Case cases[] = {
      {"2019/01/10", "09:15:30", true, 1547111730},
      {"1970/01/01", "00:00:00", true, 0},
      {"2020/02/29", "12:00:00", true, 1582977600},  // 18321 days + 12 h
      {"2000/02/29", "00:00:00", true, 951782400},   // divisible by 400: leap
      {"0001/01/01", "00:00:00", true, -62135596800},
      {"9999/12/31", "23:59:59", true, 253402300799},
      {"2019/02/29", "00:00:00", false, 0},
      {"1900/02/29", "00:00:00", false, 0},  // divisible by 100 only: common
      {"2019/04/31", "00:00:00", false, 0},
      {"2019/13/01", "00:00:00", false, 0},
      {"2019/00/10", "00:00:00", false, 0},
      {"2019/01/00", "00:00:00", false, 0},
      {"0000/01/01", "00:00:00", false, 0},
      {"2019/1/10", "09:15:30", false, 0},
      {"2019/01-10", "09:15:30", false, 0},
      {"2019/01/10", "09:15-30", false, 0},
      {"2019-01-10", "09:15:30", false, 0},
      {"+019/01/10", "09:15:30", false, 0},
      {"2019/01/10 ", "09:15:30", false, 0},
      {" 2019/01/10", "09:15:30", false, 0},
      {"2019/01/10", "24:00:00", false, 0},
      {"2019/01/10", "09:60:00", false, 0},
      {"2019/01/10", "09:15:60", false, 0},
      {"2019/01/10", "09:15:30x", false, 0},
      {"2019/01/10", "9:15:30", false, 0},
      {"2019/01/10", "09.15.30", false, 0},
      {"", "", false, 0},
  };
  for (const Case& c : cases) {
    double seconds = -1;
    EXPECT_EQ(ParseGroundTime(c.date, c.time, seconds), c.ok) << c.date << ' ' << c.time;
    EXPECT_EQ(seconds, c.ok ? c.seconds : -1) << c.date << ' ' << c.time;
  }
}

TEST(GroundTime, ZonesKnownByTheirOffset) {
  const std::pair<const char*, std::optional<std::int64_t>> zones[] = {
      {"UTC", 0},
      {"GMT", 0},
      {"Z", 0},
      {"JST", 32400},
      {"+09:00", 32400},
      {"-05:30", -19800},
      {"+14:00", 50400},
      {"+15:00", std::nullopt},
      {"+09:60", std::nullopt},
      {"+0900", std::nullopt},
      {"09:00", std::nullopt},
      {"jst", std::nullopt},
      {"CET", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [zone, offset] : zones) EXPECT_EQ(ZoneOffset(zone), offset) << zone;
}

TEST(GroundTime, FormatsWholeSecondsRoundedDown) {
  const std::pair<double, const char*> cases[] = {
      {1547111730, "2019-01-10 09:15:30"},
      {1547111730.5, "2019-01-10 09:15:30"},
      {0, "1970-01-01 00:00:00"},
      {-0.5, "1969-12-31 23:59:59"},
      {951782400, "2000-02-29 00:00:00"},
      {-62135596800, "0001-01-01 00:00:00"},
      {253402300799, "9999-12-31 23:59:59"},
      // Whole cycles of 400 years (146097 days) from 1970, past the years std::chrono holds.
      {80 * 146097 * 86400.0, "33970-01-01 00:00:00"},
      {-79 * 146097 * 86400.0, "-29630-01-01 00:00:00"},
      {1e300, "invalid time"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatGroundTime(seconds), text) << seconds;
}

TEST(GroundTime, EveryDayFromYear1To9999FollowsItsPredecessor) {
  constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  // 9999 years of 365 days and 2499 - 99 + 24 leap days.
  EXPECT_EQ(DaysFromCivil({10000, 1, 1}) - DaysFromCivil({1, 1, 1}), 3652059);
  CivilDate expected{1, 1, 1};
  for (std::int64_t days = DaysFromCivil(expected); expected.year < 10000; ++days) {
    const CivilDate date = CivilFromDays(days);
    ASSERT_TRUE(date.year == expected.year && date.month == expected.month && date.day == expected.day) << days;
    ASSERT_EQ(DaysFromCivil(expected), days);
    const bool leap = expected.year % 4 == 0 && (expected.year % 100 != 0 || expected.year % 400 == 0);
    if (++expected.day > kMonthDays[expected.month - 1] + (expected.month == 2 && leap ? 1 : 0)) {
      expected.day = 1;
      if (++expected.month > 12) {
        expected.month = 1;
        ++expected.year;
      }
    }
  }
}

}  // namespace
