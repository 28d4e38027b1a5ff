// The report's charts: the groups of the trend charts, each channel a chart
// of its own under its group's heading, and the per-pass extremes charts.
// Charts name the frame's value slots (hk_frame.h); channel i of the model
// is slot kFirstEngineeringSlot + i.
#pragma once

#include <array>
#include <vector>

#include "hk/hk_frame.h"
#include "report/model/format_record.h"

namespace hkcsv {

// A group of consecutive slots, each a chart.
struct ChartGroup {
  const char* title;
  const char* axis_title;  // with the unit
  int first_slot;
  int slots;
};

inline constexpr int kSolarCurrents = 6;
inline constexpr int kTemperatures = 16;
inline constexpr int kMagneticValues = 4;  // x, y, z and the reference

inline constexpr std::array<ChartGroup, 8> kChartGroups{{
    {"Bus voltage", "Buss Voltage [V]", kBusVoltageSlot, 1},
    {"Bus current", "Buss Current [mA]", kCurrentSlot, 1},
    {"Solar currents", "Solar Current [mA]", kCurrentSlot + 1, kSolarCurrents},
    {"Temperatures, channels 0 to 7", "Temperature [degC]", kTemperatureSlot, kTemperatures / 2},
    {"Temperatures, channels 8 to 15", "Temperature [degC]", kTemperatureSlot + kTemperatures / 2, kTemperatures / 2},
    {"Gyro temperatures", "Gyro temperature [degC]", kGyroTempSlot, kGyroAxes},
    {"Gyro rates", "Gyro rate [deg/s]", kGyroRateSlot, kGyroAxes},
    {"Magnetometer", "Magnetic field [nT]", kMagneticSlot, kMagneticValues},
}};

// Every engineering channel is charted, once: the groups follow each other
// from the first engineering slot to the last.
constexpr bool ChartsEveryChannelOnce() {
  int next = kFirstEngineeringSlot;
  for (const ChartGroup& group : kChartGroups) {
    if (group.first_slot != next || group.slots < 1) return false;
    next += group.slots;
  }
  return next == kHkValueCount;
}
static_assert(ChartsEveryChannelOnce());

// The model's channel of a slot.
constexpr int ChannelOf(int slot) { return slot - kFirstEngineeringSlot; }

struct PassExtremeChart {
  const char* title;
  const char* axis_title;
  const char* series_name;
  std::vector<int> limit_channels;  // whose limits the chart draws
  bool magnitude;                   // of absolute values: draws the limits' magnitudes
};

// One point per pass, in the order of PassExtreme.
inline const std::array<PassExtremeChart, kPassExtremes> kPassExtremeCharts{{
    {"Lowest bus voltage of each pass", "Buss Voltage [V]", "Min Buss Voltage", {ChannelOf(kBusVoltageSlot)}, false},
    {"Highest battery temperature of each pass",
     "Battery Temp [degC]",
     "Max Battery Temp",
     {ChannelOf(kTemperatureSlot), ChannelOf(kTemperatureSlot + 1)},  // battery temperatures 1 and 2
     false},
    {"Largest gyro rate of each pass",
     "Gyro rate, absolute [deg/s]",
     "Max abs Gyro Rate",
     {ChannelOf(kGyroRateSlot), ChannelOf(kGyroRateSlot + 1), ChannelOf(kGyroRateSlot + 2)},
     true},
}};

}  // namespace hkcsv
