#include "hk/conversions.h"

#include <cstdint>
#include <limits>

namespace {

double Volts(int count) { return static_cast<double>(count) * 5.0 / 4096.0; }

// The frame words are 16 bits wide; a word shifted right by 15 that equals
// exactly 1 has its sign bit set. Words above 0xFFFF (from bytes above FF)
// fail that test and are used as they are.
bool HasSixteenBitSign(int32_t word) { return (word >> 15) == 1; }

}  // namespace

double ConvertBusVoltage(int count) { return Volts(count); }

double ConvertCurrent(int channel, int count) { return channel == 0 ? Volts(count) / 0.0005 : Volts(count) / 0.01; }

double ConvertTemperature(int channel, int count) {
  if (channel < 0 || channel >= kTemperatureChannels) return std::numeric_limits<double>::quiet_NaN();
  const TemperatureChannel& row = TemperatureCalibration[static_cast<std::size_t>(channel)];
  const double slope = static_cast<double>(row.scale) / 100.0;
  return slope * Volts(count) + static_cast<double>(row.baias);
}

double ConvertGyroTemp(int word) {
  int32_t field;
  if (HasSixteenBitSign(word)) {
    field = ((word >> 6) & 0x3FF) - 1024;
  } else {
    field = (word >> 6) & static_cast<int32_t>(0xFFFF03FFu);
  }
  return static_cast<double>(field) * 0.2 + 45.0;
}

double ConvertGyroRate(int word) {
  int32_t rate = word;
  if (HasSixteenBitSign(word)) rate = static_cast<int32_t>(static_cast<uint32_t>(word) | 0xFFFF0000u);
  return static_cast<double>(rate) * 0.0125;
}

double ConvertMagnetic(int count) { return Volts(count) / 0.00001; }
