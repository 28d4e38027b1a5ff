// The frames of the passes, kept aside while the passes are read and read
// back in the same order for the charts, the pass pages and the export. The
// store is a stream (a scratch file of the run, or memory in tests), so that
// memory does not grow with the frames. A frame takes 87 bytes: a mark, its
// packet and uplink numbers, and its 78 values, one byte each where all of
// them fit a byte (as received bytes do), four otherwise.
#pragma once

#include <cstdint>

#include "capture/decoded_frame.h"
#include "text/text_input.h"
#include "text/text_output.h"

namespace hkcsv {

void StoreFrame(OutputStream& store, const DecodedFrame& frame);

// A frame read back, decoded again.
struct StoredFrame {
  int32_t packet_num = 0;
  int32_t uplink_num = 0;
  HkFrame bytes{};
  HkValues values{};
};

// Reads the next frame. Returns false when the store ends or fails first.
bool LoadFrame(InputStream& store, StoredFrame& frame);

// Steps over the next `count` frames without decoding them. Returns false
// when the store ends or fails first.
bool SkipFrames(InputStream& store, std::uint64_t count);

inline DecodedFrame RecordOf(const StoredFrame& frame) {
  return FrameRecord(frame.packet_num, frame.uplink_num, frame.bytes, frame.values);
}

}  // namespace hkcsv
