// A decoded HK frame as the capture pipeline hands it on: the numbers of its
// packet, its counters as the integers they are, and its 34 engineering
// values, with the bytes it was decoded from. A view: it holds no values of
// its own and lasts while the frame being read does.
#pragma once

#include <cstdint>
#include <span>

#include "hk/hk_frame.h"

namespace hkcsv {

// The engineering values of a frame: channel i is value slot
// kFirstEngineeringSlot + i.
using EngineeringValues = std::span<const double, kEngineeringChannels>;

struct DecodedFrame {
  int32_t packet_num;
  int32_t uplink_num;
  HkCounters counters;
  EngineeringValues values;
  std::span<const int32_t, kHkFrameBytes> bytes;
};

// The record of the frame `bytes`, decoded into `values` by DecodeHkFrame.
inline DecodedFrame FrameRecord(int32_t packet_num, int32_t uplink_num, const HkFrame& bytes, const HkValues& values) {
  return {packet_num, uplink_num, ReadHkCounters(bytes),
          std::span(values).subspan<kFirstEngineeringSlot, kEngineeringChannels>(), bytes};
}

}  // namespace hkcsv
