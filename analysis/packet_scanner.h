// The hex dump after the pass header: finds each packet by its marker, reads
// its numbers and HK frames, and writes one data CSV row per frame.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/run_state.h"
#include "text/text_input.h"
#include "text/text_output.h"

// What follows a packet's frames.
enum class PacketTail {
  kOneValue,          // FM: exactly one value
  kZerosThenNonzero,  // FSK: any number of zero values, then one nonzero value
};

// The packet marker: the character codes of "QX0TLM>VORAN:".
inline constexpr std::array<int32_t, 13> SB{0x51, 0x58, 0x30, 0x54, 0x4C, 0x4D, 0x3E,
                                            0x56, 0x4F, 0x52, 0x41, 0x4E, 0x3A};

// Reads the dump to the end of the file, tracing every packet on `console`.
// Reads and updates the run's carried values in `run`.
void ScanPackets(InputStream& in, OutputStream& data_csv, OutputStream& console, PacketTail tail, RunState& run);
