#include "report/calendar.h"

#include <cmath>

namespace {

// Floor division for a positive divisor: rounds toward minus infinity.
std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return quotient - (value % divisor < 0 ? 1 : 0);
}

void AppendTwoDigits(std::string& out, std::int64_t value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
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

bool IsLeapYear(std::int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(std::int64_t year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

// Counts in eras of 400 years (146097 days) with years starting on 1 March,
// so the leap day is the last day of its year.
std::int64_t DaysFromCivil(CivilDate date) {
  const std::int64_t year = date.year - (date.month <= 2 ? 1 : 0);
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
  const std::int64_t shifted = days + 719468;  // days since 0000-03-01
  const std::int64_t era = FloorDiv(shifted, 146097);
  const std::int64_t day_of_era = shifted - era * 146097;
  const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
  const int day = static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  const int month = static_cast<int>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
  return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool ParseGroundTime(std::string_view date, std::string_view time, double& seconds) {
  if (date.size() != 10 || date[4] != '/' || date[7] != '/') return false;
  if (time.size() != 8 || time[2] != ':' || time[5] != ':') return false;
  int year, month, day, hour, minute, second;
  if (!ReadDigits(date, 0, 4, year) || !ReadDigits(date, 5, 2, month) || !ReadDigits(date, 8, 2, day)) return false;
  if (!ReadDigits(time, 0, 2, hour) || !ReadDigits(time, 3, 2, minute) || !ReadDigits(time, 6, 2, second)) {
    return false;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  const std::int64_t whole = DaysFromCivil({year, month, day}) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
  seconds = static_cast<double>(whole);
  return true;
}

std::string FormatGroundTime(double seconds) {
  if (!(std::fabs(seconds) <= 1e15)) return "invalid time";
  const auto whole = static_cast<std::int64_t>(std::floor(seconds));
  const std::int64_t days = FloorDiv(whole, kSecondsPerDay);
  std::string text;
  AppendCivilDate(text, CivilFromDays(days));
  text += ' ';
  AppendClock(text, whole - days * kSecondsPerDay, true);
  return text;
}

void AppendCivilDate(std::string& out, CivilDate date) {
  std::int64_t year = date.year;
  if (year < 0) {
    out += '-';
    year = -year;
  }
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + year % 10);
    year /= 10;
  } while (year > 0 || count < 4);
  while (count > 0) out += digits[--count];
  out += '-';
  AppendTwoDigits(out, date.month);
  out += '-';
  AppendTwoDigits(out, date.day);
}

void AppendClock(std::string& out, std::int64_t second_of_day, bool with_seconds) {
  AppendTwoDigits(out, second_of_day / 3600);
  out += ':';
  AppendTwoDigits(out, second_of_day / 60 % 60);
  if (with_seconds) {
    out += ':';
    AppendTwoDigits(out, second_of_day % 60);
  }
}
