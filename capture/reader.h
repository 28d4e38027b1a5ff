// The reader of capture files as a template over the echo of what it reads:
// hkcsv's console trace echoes every token as it is read, with an echo of its
// own that this code calls where each piece of text goes; hkreport reads
// with NoEcho (read_captures.h). The echo is a type, not a function: the echo
// of every value of a packet costs no call.
//
// An echo has, each called as the reader reads:
//   void HeaderToken(const char* token);      a token of the pass header (not
//                                             the ignored field's value)
//   void FieldEnd();                          the end of a header field
//   void FramesPerPacket(const char* number); the header's last value, as
//                                             DataBlockNumber holds it after it
//   void PacketValue(int32_t value);          a value of a packet after its marker
//   void FrameStart();                        before each frame's values
//   void TailStart();                         after the frames
//   void TailZero();                          an FSK tail's zero value
//   void TailEnd(int32_t value);              the tail's last value
//   void CutShort();                          the file ended inside a packet
#pragma once

#include <cstdint>
#include <span>

#include "capture/capture_file.h"
#include "capture/downlink_format.h"
#include "capture/header_reader.h"
#include "capture/packet_scanner.h"
#include "capture/run_state.h"
#include "platform/files.h"
#include "text/text_input.h"

namespace hkcsv {

// The echo of a reading that echoes nothing.
struct NoEcho {
  void HeaderToken(const char*) {}
  void FieldEnd() {}
  void FramesPerPacket(const char*) {}
  void PacketValue(int32_t) {}
  void FrameStart() {}
  void TailStart() {}
  void TailZero() {}
  void TailEnd(int32_t) {}
  void CutShort() {}
};

template <class Echo>
void ReadCapture(InputStream& in, PacketTail tail, RunState& run, CaptureEvents& events, CaptureFile& file,
                 Echo& echo) {
  ReadPassHeader(in, file.header, run.DataBlockNumber, echo);
  file.frames_per_packet = run.DataBlockNumber;
  if (events.header) events.header(file.header);
  ScanPackets(in, tail, run, events, file.counts, echo);
  file.read_error = in.error;
}

// Reads the captures in order as one run (read_captures.h), echoing them.
template <class Echo>
void ReadCaptures(std::span<const CaptureSource> sources, PacketTail tail, CaptureEvents& events, Echo& echo) {
  RunState run;
  for (const CaptureSource& source : sources) {
    CaptureFile file;
    if (source.text) {
      if (events.opened) events.opened(source.path, 0);
      InputStream in = InputFromText(*source.text, true);
      ReadCapture(in, tail, run, events, file, echo);
    } else {
      File capture;
      file.open_error = OpenForReading(source.path, capture);
      if (events.opened) events.opened(source.path, file.open_error);
      if (file.open_error == 0) {
        InputStream in = InputFromDescriptor(capture.descriptor(), true);
        ReadCapture(in, tail, run, events, file, echo);
      }
    }
    if (events.read) events.read(file);
  }
}

}  // namespace hkcsv
