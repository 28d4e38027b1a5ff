// Our number formatting against the C library's printf, which defines the
// bytes the CSV files and the trace must hold.
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "hk/conversions.h"

using namespace hkcsv;

namespace {

std::string Ours(double value) {
  char text[kFixedTextMax];
  return std::string(text, FormatFixed(value, text));
}

std::string Printf(double value) {
  char text[kFixedTextMax + 8];
  std::snprintf(text, sizeof text, "%4f", value);
#ifdef _WIN32
  // MinGW's printf drops the sign of a NaN, which glibc's, whose bytes the
  // CSV files hold on both platforms, keeps.
  if (std::isnan(value) && std::signbit(value)) return "-nan";
#endif
  return text;
}

TEST(FormatFixed, EdgeValuesMatchPrintf) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0.0,
                           -0.0,
                           0.0390625,  // a tie, rounded to even: 0.039062
                           0.0000005,
                           0.0000015,
                           0.0000025,
                           -0.0000005,
                           0.9999995,
                           0.99999949999,
                           999999.9999995,
                           1.5,
                           -0.25,
                           122.07031249999999,
                           499877.9296875,
                           std::nextafter(499877.9296875, 0.0),
                           -1073741824.0,
                           1073741823.5,
                           std::nextafter(2147483648.0, 0.0),  // the largest taken in double arithmetic
                           -std::nextafter(2147483648.0, 0.0),
                           std::nextafter(4294967296.0, 0.0),  // rounds up to 2^32, past 32 bits
                           -std::nextafter(4294967296.0, 0.0),
                           std::nextafter(std::nextafter(4294967296.0, 0.0), 0.0),
                           -std::nextafter(std::nextafter(4294967296.0, 0.0), 0.0),
                           9007199254740993.0,
                           9223372036854775807.0,
                           18446744073709551616.0,
                           1e300,
                           -1e308,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           inf,
                           -inf,
                           std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::quiet_NaN()};
  for (double value : values) EXPECT_EQ(Ours(value), Printf(value)) << std::bit_cast<uint64_t>(value);
}

TEST(FormatFixed, EveryMillionthAndEveryLengthOfTheWholePartMatchPrintf) {
  for (int m = 0; m < 1000000; ++m) ASSERT_EQ(Ours(m / 1e6), Printf(m / 1e6)) << m;
  // Each count of whole digits, with the carry of a rounded-up fraction, up
  // to and past 2^31, where the double arithmetic stops.
  for (double power = 1.0; power <= 1e10; power *= 10.0) {
    for (double value : {power - 1.0, power, power - 0.0000005, power - 0.0000004, power + 0.5, 2147483648.0 - power,
                         2147483648.0 - power / 1e10, 2147483648.0 + power}) {
      ASSERT_EQ(Ours(value), Printf(value)) << std::bit_cast<uint64_t>(value);
      ASSERT_EQ(Ours(-value), Printf(-value)) << std::bit_cast<uint64_t>(value);
    }
  }
}

TEST(FormatFixed, RandomDoublesMatchPrintf) {
  std::mt19937_64 random(20181225);
  std::uniform_real_distribution<double> moderate(-1e7, 1e7);
  for (int i = 0; i < 200000; ++i) {
    const double any = std::bit_cast<double>(random());
    ASSERT_EQ(Ours(any), Printf(any)) << std::bit_cast<uint64_t>(any);
    const double near = moderate(random);
    ASSERT_EQ(Ours(near), Printf(near)) << std::bit_cast<uint64_t>(near);
    // Multiples of 2^-k near the six-decimal grid, where ties live.
    const double grid = std::ldexp(static_cast<double>(random() % (1u << 24)), -static_cast<int>(random() % 30));
    ASSERT_EQ(Ours(grid), Printf(grid)) << std::bit_cast<uint64_t>(grid);
  }
}

TEST(FormatFixed, EveryConvertedWordMatchesPrintf) {
  for (int word = 0; word <= 0xFFFF; ++word) {
    ASSERT_EQ(Ours(ConvertBusVoltage(word)), Printf(ConvertBusVoltage(word))) << word;
    ASSERT_EQ(Ours(ConvertCurrent(0, word)), Printf(ConvertCurrent(0, word))) << word;
    ASSERT_EQ(Ours(ConvertCurrent(1, word)), Printf(ConvertCurrent(1, word))) << word;
    for (int channel = 0; channel < kTemperatureChannels; ++channel) {
      ASSERT_EQ(Ours(ConvertTemperature(channel, word)), Printf(ConvertTemperature(channel, word))) << word;
    }
    ASSERT_EQ(Ours(ConvertGyroTemp(word)), Printf(ConvertGyroTemp(word))) << word;
    ASSERT_EQ(Ours(ConvertGyroRate(word)), Printf(ConvertGyroRate(word))) << word;
    ASSERT_EQ(Ours(ConvertMagnetic(word)), Printf(ConvertMagnetic(word))) << word;
  }
}

TEST(FormatFixed, SatelliteTimesOverTheWholeRangeMatchPrintf) {
  std::mt19937 random(7);
  auto check = [](int32_t counter) {
    const double time = static_cast<double>(counter) * 0.5;
    ASSERT_EQ(Ours(time), Printf(time)) << counter;
  };
  for (int32_t counter : {INT32_MIN, INT32_MIN + 1, -3, -1, 0, 1, 3, INT32_MAX - 1, INT32_MAX}) check(counter);
  for (int i = 0; i < 1000000; ++i) check(static_cast<int32_t>(random()));
}

TEST(FormatIntegers, MatchPrintf) {
  std::mt19937 random(11);
  auto check = [](int32_t value) {
    char ours[16];
    char theirs[16];
    std::snprintf(theirs, sizeof theirs, "%X", static_cast<unsigned>(value));
    ASSERT_EQ(std::string(ours, FormatHex(value, ours)), theirs);
    std::snprintf(theirs, sizeof theirs, "%d", value);
    ASSERT_EQ(std::string(ours, FormatDecimal(value, ours)), theirs);
  };
  for (int32_t value : {0, 1, 9, 10, 15, 16, 99, 100, 255, 256, -1, INT32_MIN, INT32_MAX}) check(value);
  for (int i = 0; i < 100000; ++i) check(static_cast<int32_t>(random()));
}

}  // namespace
