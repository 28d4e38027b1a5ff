// The HK frame decoder: byte positions, words and the conversions of each slot.
#include "hk/hk_frame.h"

#include "hk/conversions.h"

namespace hkcsv {

namespace {

// Byte offsets of the frame's fields. Multi-byte fields are big-endian.
constexpr int kSatTimeByte = 0;     // 4 bytes
constexpr int kSwitchInfoByte = 4;  // 1 byte
constexpr int kResetInfoByte = 5;   // 5 bytes, of which the 32-bit value keeps the last 4
constexpr int kResetInfoBytes = 5;
constexpr int kAnalogByte = 10;    // 24 analog words: bus voltage, 7 currents, 16 temperatures
constexpr int kGyroTempByte = 58;  // 3 words
constexpr int kGyroRateByte = 64;  // 3 words
constexpr int kMagneticByte = 70;  // 4 analog words: x, y, z, reference

constexpr int kCurrentChannels = 7;
constexpr int kMagneticWords = 4;
constexpr int kAnalogWordsBeforeGyro = 1 + kCurrentChannels + 16;
constexpr int kAnalogWords = kAnalogWordsBeforeGyro + kMagneticWords;

// Word indexes into AD_Data.
constexpr int kBusVoltageWord = 0;
constexpr int kCurrentWord = 1;
constexpr int kTemperatureWord = 8;
constexpr int kMagneticWord = 24;

static_assert(kAnalogByte + 2 * kAnalogWordsBeforeGyro == kGyroTempByte);
static_assert(kMagneticByte + 2 * kMagneticWords == kHkFrameBytes);

// Shifts and ORs are done on unsigned 32-bit values, so bits pushed past bit
// 31 are lost and bytes above FF merge in unmasked; the result is then read
// as a signed 32-bit number.
int32_t ShiftIn(int32_t accumulator, int32_t byte) {
  return static_cast<int32_t>(static_cast<uint32_t>(accumulator) << 8 | static_cast<uint32_t>(byte));
}

int32_t Word(const HkFrame& frame, int at) { return ShiftIn(frame[at], frame[at + 1]); }

int32_t BigEndian(const HkFrame& frame, int at, int count) {
  int32_t accumulator = frame[at];
  for (int i = 1; i < count; ++i) accumulator = ShiftIn(accumulator, frame[at + i]);
  return accumulator;
}

}  // namespace

HkCounters ReadHkCounters(const HkFrame& frame) {
  return {BigEndian(frame, kSatTimeByte, 4), frame[kSwitchInfoByte], BigEndian(frame, kResetInfoByte, kResetInfoBytes)};
}

void DecodeHkFrame(const HkFrame& CDH_Data, HkValues& AnalysedData) {
  const HkCounters counters = ReadHkCounters(CDH_Data);
  AnalysedData[kSatTimeSlot] = SatTimeSeconds(counters.sat_time);
  AnalysedData[kSwitchInfoSlot] = static_cast<double>(counters.switch_info);
  AnalysedData[kResetInfoSlot] = static_cast<double>(counters.reset_info);

  std::array<int32_t, kAnalogWords> AD_Data;
  for (int i = 0; i < kAnalogWordsBeforeGyro; ++i) AD_Data[i] = Word(CDH_Data, kAnalogByte + 2 * i);
  for (int i = 0; i < kMagneticWords; ++i) AD_Data[kMagneticWord + i] = Word(CDH_Data, kMagneticByte + 2 * i);

  AnalysedData[kBusVoltageSlot] = ConvertBusVoltage(AD_Data[kBusVoltageWord]);
  for (int i = 0; i < kCurrentChannels; ++i) {
    AnalysedData[kCurrentSlot + i] = ConvertCurrent(i, AD_Data[kCurrentWord + i]);
  }
  for (int i = 0; i < kTemperatureChannels; ++i) {
    AnalysedData[kTemperatureSlot + i] = ConvertTemperature(i, AD_Data[kTemperatureWord + i]);
  }
  for (int j = 0; j < kGyroAxes; ++j) {
    AnalysedData[kGyroTempSlot + j] = ConvertGyroTemp(Word(CDH_Data, kGyroTempByte + 2 * j));
    AnalysedData[kGyroRateSlot + j] = ConvertGyroRate(Word(CDH_Data, kGyroRateByte + 2 * j));
  }
  for (int i = 0; i < kMagneticWords; ++i) {
    AnalysedData[kMagneticSlot + i] = ConvertMagnetic(AD_Data[kMagneticWord + i]);
  }
}

}  // namespace hkcsv
