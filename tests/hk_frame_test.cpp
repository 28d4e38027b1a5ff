// Decoding of whole HK frames into the 37 values of a data CSV row.
#include "hk/hk_frame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace hkcsv;

namespace {

HkValues Decode(const HkFrame& frame) {
  HkValues values;
  values.fill(-999.0);
  DecodeHkFrame(frame, values);
  return values;
}

HkFrame WithBytes(int at, std::initializer_list<int32_t> bytes) {
  HkFrame frame{};
  for (int32_t byte : bytes) frame[static_cast<std::size_t>(at++)] = byte;
  return frame;
}

TEST(HkFrame, AllZeroFrame) {
  const HkValues values = Decode(HkFrame{});
  for (int slot = 0; slot <= 10; ++slot) EXPECT_EQ(values[slot], 0.0) << slot;
  const int baias[] = {127, 126, 127, 126, 125, 126, 128, 125, 127, 127, 126, 127, 125, 127, 126, 128};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(values[11 + i], baias[i]) << "temperature channel " << i;
  for (int slot = 27; slot <= 29; ++slot) EXPECT_EQ(values[slot], 45.0) << slot;
  for (int slot = 30; slot <= 36; ++slot) EXPECT_EQ(values[slot], 0.0) << slot;
}

TEST(HkFrame, SignedBigEndianTimeAndResetInformation) {
  struct Case {
    HkFrame frame;
    int slot;
    double value;
  };
  const Case cases[] = {
      {WithBytes(0, {0x00, 0x00, 0x00, 0x02}), 0, 1.0},
      {WithBytes(0, {0x00, 0x00, 0x00, 0x03}), 0, 1.5},
      {WithBytes(0, {0x80, 0x00, 0x00, 0x00}), 0, -1073741824.0},
      {WithBytes(0, {0x7F, 0xFF, 0xFF, 0xFF}), 0, 1073741823.5},
      {WithBytes(4, {0x5A}), 1, 90.0},
      {WithBytes(5, {0x01, 0x00, 0x00, 0x00, 0x00}), 2, 0.0},
      {WithBytes(5, {0x00, 0xFF, 0xFF, 0xFF, 0xFF}), 2, -1.0},
      {WithBytes(5, {0x00, 0x1FF, 0x00, 0x00, 0x00}), 2, -16777216.0},  // FF000000
      {WithBytes(5, {0x00, 0x00, 0x00, 0x01, 0x100}), 2, 256.0},        // 0100 OR 0100
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.frame)[c.slot], c.value) << "slot " << c.slot;
}

TEST(HkFrame, BytesAboveFFMergeUnmaskedIntoTheirWord) {
  // Bus voltage word = 01 << 8 | 1FF = 1FF; solar current 1 word = 1FF << 8 = 1FF00.
  HkFrame frame{};
  frame[10] = 0x01;
  frame[11] = 0x1FF;
  frame[14] = 0x1FF;
  const HkValues values = Decode(frame);
  EXPECT_EQ(values[3], 0x1FF * 5.0 / 4096.0);
  EXPECT_EQ(values[5], 0x1FF00 * 5.0 / 4096.0 / 0.01);
}

TEST(HkFrame, GyroAndMagnetometerBytesTouchOnlyTheirSlots) {
  const HkValues base = Decode(HkFrame{});
  struct Range {
    int first_byte, last_byte, first_slot, last_slot;
  };
  for (const Range& range : {Range{58, 69, 27, 32}, Range{70, 77, 33, 36}}) {
    for (int byte = range.first_byte; byte <= range.last_byte; ++byte) {
      const HkValues values = Decode(WithBytes(byte, {0x5A}));
      bool changed = false;
      for (int slot = 0; slot < kHkValueCount; ++slot) {
        if (values[slot] == base[slot]) continue;
        changed = true;
        EXPECT_TRUE(slot >= range.first_slot && slot <= range.last_slot) << "byte " << byte << " slot " << slot;
      }
      EXPECT_TRUE(changed) << "byte " << byte;
    }
  }
}

TEST(HkFrame, WorkedExampleGivesTheExpectedRow) {
  HkFrame frame{};
  const int32_t head[] = {0x00, 0x00, 0x01, 0x2C, 0x5A, 0x07, 0x00, 0x00,
                          0x00, 0x03, 0x0C, 0x00, 0x00, 0x64, 0x01, 0x00};
  const int32_t tail[] = {0xFF, 0xC0, 0x00, 0x40, 0x00, 0x00, 0xFF, 0x9C, 0x00, 0x64,
                          0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x0F, 0xFF};
  for (int i = 0; i < 16; ++i) frame[i] = head[i];
  for (int i = 0; i < 16; ++i) frame[26 + 2 * i] = 0x08;
  for (int i = 0; i < 20; ++i) frame[58 + i] = tail[i];

  const HkValues values = Decode(frame);
  std::string row;
  char cell[64];
  for (int slot = 0; slot < kHkValueCount; ++slot) {
    if (slot == 1 || slot == 2) {
      std::snprintf(cell, sizeof cell, "%X, ", static_cast<int32_t>(values[slot]));
    } else {
      std::snprintf(cell, sizeof cell, "%4f,", values[slot]);
    }
    row += cell;
  }
  EXPECT_EQ(row,
            "150.000000,5A, 3, 3.750000,244.140625,31.250000,0.000000,0.000000,0.000000,0.000000,0.000000,"
            "33.250000,33.925000,33.550000,33.350000,32.625000,33.025000,34.100000,32.775000,33.675000,33.625000,"
            "33.150000,33.825000,32.450000,34.400000,31.825000,33.700000,44.800000,45.200000,45.000000,-1.250000,"
            "1.250000,0.000000,122.070312,0.000000,0.000000,499877.929687,");
}

}  // namespace
