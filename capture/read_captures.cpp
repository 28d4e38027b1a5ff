// Capture files read without an echo.
#include "capture/read_captures.h"

#include "capture/reader.h"

namespace hkcsv {

void ReadCaptures(std::span<const CaptureSource> sources, PacketTail tail, CaptureEvents& events) {
  NoEcho echo;
  ReadCaptures(sources, tail, events, echo);
}

}  // namespace hkcsv
