// hkcsv's console trace of what the reader reads, as the operators have
// always read it: every token of the pass header followed by a space, a line
// end after each field and after the frames per packet, and every value of a
// packet after its marker in hexadecimal followed by a space, each frame on a
// line of its own, the tail on one and two line ends after it. The reader
// calls it where each piece goes (capture/reader.h).
#pragma once

#include <cstdint>

#include "text/number_format.h"
#include "text/text_output.h"

namespace hkcsv {

struct TraceEcho {
  OutputStream& console;

  void HeaderToken(const char* token) {
    WriteToken(console, token);
    WriteText(console, " ");
  }
  void FieldEnd() { WriteText(console, "\n"); }
  void FramesPerPacket(const char* number) {
    WriteText(console, number);
    WriteText(console, " \n");
  }
  // "%X ", the one echo of every value of every packet: one copy from a table.
  void PacketValue(int32_t value) {
    char* at = Reserve(console, kHexTextMax + 4);
    console.used += static_cast<std::size_t>(FormatHexThenSpace(value, at) - at);
  }
  void FrameStart() { WriteText(console, "\n"); }
  void TailStart() { WriteText(console, "\n"); }
  void TailZero() { WriteText(console, "0 "); }
  void TailEnd(int32_t value) {
    WriteHex(console, value);
    WriteText(console, "\n\n");
  }
  void CutShort() { WriteText(console, "\n"); }
};

}  // namespace hkcsv
