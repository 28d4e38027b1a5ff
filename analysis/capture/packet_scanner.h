// The hex dump after the pass header: finds each packet by its marker, reads
// its numbers and HK frames, and hands each decoded frame to the caller.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/capture/capture.h"
#include "analysis/capture/run_state.h"
#include "text/text_input.h"

namespace hkcsv {

// The packet marker: the character codes of "QX0TLM>VORAN:".
inline constexpr std::array<int32_t, 13> SB{0x51, 0x58, 0x30, 0x54, 0x4C, 0x4D, 0x3E,
                                            0x56, 0x4F, 0x52, 0x41, 0x4E, 0x3A};

// Reads the dump to the end of the file, tracing every packet on `out.trace`
// and counting what it finds. Reads and updates the run's carried values.
void ScanPackets(InputStream& in, PacketTail tail, RunState& run, CaptureOutput& out, CaptureCounts& counts);

}  // namespace hkcsv
