// The engineering-unit conversions, checked as the data CSV prints them.
#include "hk/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

using namespace hkcsv;

namespace {

std::string Printed(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

struct Case {
  const char* what;
  std::function<double()> convert;
  const char* printed;
};

TEST(Conversions, KnownCountsGiveKnownValues) {
  const Case cases[] = {
      {"0 V", [] { return ConvertBusVoltage(0); }, "0.000000"},
      {"half scale", [] { return ConvertBusVoltage(2048); }, "2.500000"},
      {"full scale", [] { return ConvertBusVoltage(4096); }, "5.000000"},
      {"rounding tie to even", [] { return ConvertBusVoltage(32); }, "0.039062"},
      {"bus current at 0", [] { return ConvertCurrent(0, 0); }, "0.000000"},
      {"bus current full scale", [] { return ConvertCurrent(0, 4096); }, "10000.000000"},
      {"solar current full scale", [] { return ConvertCurrent(3, 4096); }, "500.000000"},
      {"temperature 0 at 0 V", [] { return ConvertTemperature(0, 0); }, "127.000000"},
      {"temperature 0 at 2.5 V", [] { return ConvertTemperature(0, 2048); }, "33.250000"},
      {"slope formed first", [] { return ConvertTemperature(1, 1408); }, "62.698438"},
      {"temperature 15 at 0 V", [] { return ConvertTemperature(15, 0); }, "128.000000"},
      {"magnetometer 1", [] { return ConvertMagnetic(1); }, "122.070312"},
      {"divided, not multiplied", [] { return ConvertMagnetic(3); }, "366.210937"},
      {"gyro rate most negative", [] { return ConvertGyroRate(0x8000); }, "-409.600000"},
      {"gyro rate most positive", [] { return ConvertGyroRate(0x7FFF); }, "409.587500"},
      {"gyro rate 100", [] { return ConvertGyroRate(0x0064); }, "1.250000"},
      {"gyro rate word above FFFF", [] { return ConvertGyroRate(0x18000); }, "1228.800000"},
      {"gyro temp field 0", [] { return ConvertGyroTemp(0x0000); }, "45.000000"},
      {"gyro temp field -1", [] { return ConvertGyroTemp(0xFFC0); }, "44.800000"},
      {"gyro temp field -512", [] { return ConvertGyroTemp(0x8000); }, "-57.400000"},
      {"gyro temp field 511", [] { return ConvertGyroTemp(0x7FC0); }, "147.200000"},
      {"gyro temp word above FFFF", [] { return ConvertGyroTemp(0x1FFC0); }, "249.600000"},
      {"gyro temp word -1 stays negative", [] { return ConvertGyroTemp(-1); }, "-12857.600000"},
  };
  for (const Case& c : cases) EXPECT_EQ(Printed(c.convert()), c.printed) << c.what;
}

TEST(Conversions, MagnetometerCountOneIsJustBelowTheExactValue) {
  EXPECT_LT(ConvertMagnetic(1), 122.0703125);
  EXPECT_EQ(ConvertMagnetic(1), std::nextafter(122.0703125, 0.0));
}

TEST(Conversions, TemperatureChannelOutsideTheTableGivesNaN) {
  for (int channel : {-1, 16, 1000}) EXPECT_TRUE(std::isnan(ConvertTemperature(channel, 100))) << channel;
}

}  // namespace
