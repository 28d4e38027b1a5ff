// Capture files read one after the other as one run, each its pass header
// and then its packets to its end, every decoded frame handed to the caller.
// This reading echoes nothing; hkcsv's console trace reads through the same
// code with an echo of its own (reader.h).
#pragma once

#include <span>

#include "capture/capture_file.h"
#include "capture/downlink_format.h"

namespace hkcsv {

// Reads the captures in order as one run. The values that the run carries
// (DataBlockNumber, Data, packet_num, uplink_num) pass from one capture to
// the next.
void ReadCaptures(std::span<const CaptureSource> sources, PacketTail tail, CaptureEvents& events);

}  // namespace hkcsv
