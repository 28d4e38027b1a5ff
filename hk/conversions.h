// Engineering-unit conversions of the raw counts of an HK frame. All
// arithmetic is in double precision and in the order written here: the CSV
// prints six decimals, and another order can change the last digit.
#pragma once

#include <array>

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

// Volts of an analog count: 5.0 V full scale over 4096 counts.
double ConvertBusVoltage(int count);
// Channel 0 is the bus current (volts / 0.0005), channels 1 to 6 the solar
// currents (volts / 0.01).
double ConvertCurrent(int channel, int count);
// Calibrated temperature of channel 0 to 15. Any other channel gives a quiet
// NaN, so a wrong channel can never read outside the table.
double ConvertTemperature(int channel, int count);
// The 10-bit two's complement field in bits 15 to 6, 0.2 per step, 45.0 at 0.
double ConvertGyroTemp(int word);
// The word as a signed 16-bit number, 0.0125 per step.
double ConvertGyroRate(int word);
// Volts / 0.00001.
double ConvertMagnetic(int count);
