// The report's charts: the groups of the trend charts, each channel a chart
// of its own under its group's heading, and the per-pass extremes charts.
// Channel i is data CSV column kHkColumns[kFirstEngineeringSlot + i].
#pragma once

#include <array>
#include <vector>

#include "report/model/format_record.h"

namespace hkcsv {

struct ChartGroup {
  const char* title;
  const char* axis_title;  // with the unit
  std::vector<int> channels;
};

inline const std::array<ChartGroup, 8> kChartGroups{{
    {"Bus voltage", "Buss Voltage [V]", {0}},
    {"Bus current", "Buss Current [mA]", {1}},
    {"Solar currents", "Solar Current [mA]", {2, 3, 4, 5, 6, 7}},
    {"Temperatures, channels 0 to 7", "Temperature [degC]", {8, 9, 10, 11, 12, 13, 14, 15}},
    {"Temperatures, channels 8 to 15", "Temperature [degC]", {16, 17, 18, 19, 20, 21, 22, 23}},
    {"Gyro temperatures", "Gyro temperature [degC]", {24, 25, 26}},
    {"Gyro rates", "Gyro rate [deg/s]", {27, 28, 29}},
    {"Magnetometer", "Magnetic field [nT]", {30, 31, 32, 33}},
}};

struct PassExtremeChart {
  const char* title;
  const char* axis_title;
  const char* series_name;
  std::vector<int> limit_channels;  // whose limits the chart draws
  bool magnitude;                   // of absolute values: draws the limits' magnitudes
};

// One point per pass, in the order of PassExtreme.
inline const std::array<PassExtremeChart, kPassExtremes> kPassExtremeCharts{{
    {"Lowest bus voltage of each pass", "Buss Voltage [V]", "Min Buss Voltage", {0}, false},
    {"Highest battery temperature of each pass", "Battery Temp [degC]", "Max Battery Temp", {8, 9}, false},
    {"Largest gyro rate of each pass", "Gyro rate, absolute [deg/s]", "Max abs Gyro Rate", {27, 28, 29}, true},
}};

}  // namespace hkcsv
