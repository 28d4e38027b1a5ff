// The names and units of the 37 decoded values, in the data CSV's column
// order: the data CSV's column line, and the channels of the report's tables,
// charts and export.
#pragma once

#include <array>

#include "hk/hk_frame.h"

namespace hkcsv {

struct HkColumn {
  const char* name;  // as in the data CSV column line, misspellings included
  const char* unit;  // engineering unit, empty for counters and bit fields
};

inline constexpr std::array<HkColumn, kHkValueCount> kHkColumns{{
    {"SatTime", "s"},          {"SwitchInfo", ""},        {"ResetInfo", ""},         {"Buss Voltage", "V"},
    {"Buss Current", "mA"},    {"Solar Current 1", "mA"}, {"Solar Current 2", "mA"}, {"Solar Current 3", "mA"},
    {"Solar Current 4", "mA"}, {"Solar Current 5", "mA"}, {"Solar Current 6", "mA"}, {"Battery Temp1", "degC"},
    {"Battery Temp2", "degC"}, {"5V reg Temp1", "degC"},  {"5V reg Temp2", "degC"},  {"3.5V reg Temp", "degC"},
    {"TRP Temp", "degC"},      {"QPSK Temp", "degC"},     {"FSK Temp", "degC"},      {"+Xsc Tepm", "degC"},
    {"+Ysc Temp", "degC"},     {"+Zsc Temp", "degC"},     {"-Xsc Tepm", "degC"},     {"-Ysc Temp", "degC"},
    {"-Zsc Temp", "degC"},     {"Zemto T Temp", "degC"},  {"Zemto R Temp", "degC"},  {"Gyro_x Temp", "degC"},
    {"Gyro_y Temp", "degC"},   {"Gyro_z Temp", "degC"},   {"Gyro_x Rate", "deg/s"},  {"Gyro_y Rate", "deg/s"},
    {"Gyro_z Rate", "deg/s"},  {"Mag_x", "nT"},           {"Mag_y", "nT"},           {"Mag_z", "nT"},
    {"Mag_ref", "nT"},
}};

}  // namespace hkcsv
