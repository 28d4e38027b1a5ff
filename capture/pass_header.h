// The pass header at the top of a capture file, as the reader keeps it: its
// 17 cells, each with its role, as the header CSV and the pass pages show them.
#pragma once

#include <array>
#include <string>

namespace hkcsv {

// The cells of the pass header, in file order (and the header CSV's column
// order).
enum PassHeaderCell {
  kDateCell,
  kTimeCell,
  kAosTimeCell,
  kLosTimeCell,
  kMaxAngleCell,
  kAzimuthAosCell,
  kAzimuthLosCell,
  kTemperatureCell,
  kPressureCell,
  kWeatherCell,
  kSunshineCell,
  kPolarizationCell,
  kSMeterCell,
  kReceivedPacketsCell,  // the number of packets the station announced
  kModulationCell,
  kDataContentsCell,
  kFramesPerPacketCell,
  kPassHeaderColumns
};

// Each cell's name, misspellings included: the header CSV heads its columns
// with them and the pass pages label the cells with them.
inline constexpr std::array<const char*, kPassHeaderColumns> kPassHeaderColumnNames{
    "Date",
    "Time",
    "AOS time",
    "LOS time",
    "MAX Angle of Attack",
    "Azimuth(AOS)",
    "Azimuth(LOS)",
    "Temperature",
    "Atmospheric Pressure",
    "Weather",
    "In the Sunshine or Shade",
    "Plane of Polarization",
    "S meter",
    "Recieved Packet Number",
    "Modulation Method",
    "Data Contents",
    "Datablock Number",
};

// The cells of one capture file's pass header. A cell of two words holds
// both, a space between them.
struct PassHeader {
  std::array<std::string, kPassHeaderColumns> cells;
  // Cells read whole. A header cut short inside a cell of two words holds
  // the first word and its space in cells[cell_count].
  int cell_count = 0;
  bool complete = false;                 // every field was read; false: the file ended inside the header
  bool gives_frames_per_packet = false;  // its last field held a number: DataBlockNumber was set from it
  std::string time_zone;                 // the date field's third value, as "JST"
};

}  // namespace hkcsv
