// The 78-byte housekeeping (HK) frame and its 37 engineering values, in the
// column order of the data CSV.
#pragma once

#include <array>
#include <cstdint>

namespace hkcsv {

inline constexpr int kHkFrameBytes = 78;
inline constexpr int kHkValueCount = 37;

// One signed 32-bit value per frame byte, as read from the dump: normally 0
// to FF, but never masked.
using HkFrame = std::array<int32_t, kHkFrameBytes>;
// The decoded values, slot i filling data CSV column i + 2.
using HkValues = std::array<double, kHkValueCount>;

// Value slots of the data CSV row.
inline constexpr int kSatTimeSlot = 0;
inline constexpr int kSwitchInfoSlot = 1;
inline constexpr int kResetInfoSlot = 2;
inline constexpr int kBusVoltageSlot = 3;
inline constexpr int kCurrentSlot = 4;  // bus current, then solar currents 1 to 6
inline constexpr int kTemperatureSlot = 11;
inline constexpr int kGyroTempSlot = 27;  // x, y, z
inline constexpr int kGyroAxes = 3;
inline constexpr int kGyroRateSlot = 30;
inline constexpr int kMagneticSlot = 33;

// Slots 3 to 36 are engineering values (bus voltage to magnetometer
// reference); slots 0 to 2 are the satellite time and two bit fields.
inline constexpr int kFirstEngineeringSlot = kBusVoltageSlot;
inline constexpr int kEngineeringChannels = kHkValueCount - kFirstEngineeringSlot;

// The frame's three counters as the integers they are: the satellite time
// counter (half seconds), the switch information and the reset information
// (the 32-bit value of its last four bytes).
struct HkCounters {
  int32_t sat_time = 0;
  int32_t switch_info = 0;
  int32_t reset_info = 0;
  bool operator==(const HkCounters&) const = default;
};

HkCounters ReadHkCounters(const HkFrame& frame);

// Seconds of a satellite time counter, as slot 0 holds them.
inline double SatTimeSeconds(int32_t sat_time) { return static_cast<double>(sat_time) * 0.5; }

// Fills every slot of `AnalysedData` from the frame `CDH_Data`.
void DecodeHkFrame(const HkFrame& CDH_Data, HkValues& AnalysedData);

}  // namespace hkcsv
