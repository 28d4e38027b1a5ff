// Engineering-unit conversions of the raw counts of an HK frame. All
// arithmetic is in double precision and in the order written here: the CSV
// prints six decimals, and another order can change the last digit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace hkcsv {

struct TemperatureChannel {
  int scale;  // slope in hundredths
  int baias;  // offset
};

inline constexpr int kTemperatureChannels = 16;

// One row per temperature channel; the comment names the data CSV column.
inline constexpr std::array<TemperatureChannel, kTemperatureChannels> TemperatureCalibration{{
    {-3750, 127},  // Battery Temp1
    {-3683, 126},  // Battery Temp2
    {-3738, 127},  // 5V reg Temp1
    {-3706, 126},  // 5V reg Temp2
    {-3695, 125},  // 3.5V reg Temp
    {-3719, 126},  // TRP Temp
    {-3756, 128},  // QPSK Temp
    {-3689, 125},  // FSK Temp
    {-3733, 127},  // +Xsc Tepm
    {-3735, 127},  // +Ysc Temp
    {-3714, 126},  // +Zsc Temp
    {-3727, 127},  // -Xsc Tepm
    {-3702, 125},  // -Ysc Temp
    {-3704, 127},  // -Zsc Temp
    {-3767, 126},  // Zemto T Temp
    {-3772, 128},  // Zemto R Temp
}};

namespace conversion_detail {

inline double Volts(int count) { return static_cast<double>(count) * 5.0 / 4096.0; }

// The frame words are 16 bits wide; a word shifted right by 15 that equals
// exactly 1 has its sign bit set. Words above 0xFFFF (from bytes above FF)
// fail that test and are used as they are.
inline bool HasSixteenBitSign(int32_t word) { return (word >> 15) == 1; }

// Each channel's slope, scale / 100.0, divided once when the program is
// built: the same double as dividing at run time.
constexpr std::array<double, kTemperatureChannels> MakeSlopes() {
  std::array<double, kTemperatureChannels> slopes{};
  for (std::size_t i = 0; i < slopes.size(); ++i)
    slopes[i] = static_cast<double>(TemperatureCalibration[i].scale) / 100.0;
  return slopes;
}
inline constexpr std::array<double, kTemperatureChannels> kSlopes = MakeSlopes();

}  // namespace conversion_detail

// The conversions are inline: the decoder calls 35 of them per frame.

// Volts of an analog count: 5.0 V full scale over 4096 counts.
inline double ConvertBusVoltage(int count) { return conversion_detail::Volts(count); }

// Channel 0 is the bus current (volts / 0.0005), channels 1 to 6 the solar
// currents (volts / 0.01).
inline double ConvertCurrent(int channel, int count) {
  const double volts = conversion_detail::Volts(count);
  return channel == 0 ? volts / 0.0005 : volts / 0.01;
}

// Calibrated temperature of channel 0 to 15: (scale / 100.0) * volts + baias.
// Any other channel gives a quiet NaN, so a wrong channel can never read
// outside the table.
inline double ConvertTemperature(int channel, int count) {
  if (channel < 0 || channel >= kTemperatureChannels) return std::numeric_limits<double>::quiet_NaN();
  const std::size_t row = static_cast<std::size_t>(channel);
  return conversion_detail::kSlopes[row] * conversion_detail::Volts(count) +
         static_cast<double>(TemperatureCalibration[row].baias);
}

// The 10-bit two's complement field in bits 15 to 6, 0.2 per step, 45.0 at 0.
inline double ConvertGyroTemp(int word) {
  int32_t field;
  if (conversion_detail::HasSixteenBitSign(word)) {
    field = ((word >> 6) & 0x3FF) - 1024;
  } else {
    field = (word >> 6) & static_cast<int32_t>(0xFFFF03FFu);
  }
  return static_cast<double>(field) * 0.2 + 45.0;
}

// The word as a signed 16-bit number, 0.0125 per step.
inline double ConvertGyroRate(int word) {
  int32_t rate = word;
  if (conversion_detail::HasSixteenBitSign(word))
    rate = static_cast<int32_t>(static_cast<uint32_t>(word) | 0xFFFF0000u);
  return static_cast<double>(rate) * 0.0125;
}

// Volts / 0.00001.
inline double ConvertMagnetic(int count) { return conversion_detail::Volts(count) / 0.00001; }

}  // namespace hkcsv
