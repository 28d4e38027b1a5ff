// Capture files read one after the other as one run: each opened, its pass
// header read, then its packets, and closed.
#include "analysis/capture/capture.h"

#include "analysis/capture/packet_scanner.h"
#include "analysis/capture/pass_header.h"
#include "analysis/capture/run_state.h"
#include "text/text_input.h"

namespace hkcsv {

namespace {

void ReadCapture(InputStream& in, PacketTail tail, RunState& run, CaptureOutput& out, CaptureFile& file) {
  ReadPassHeader(in, out, file.header, run.DataBlockNumber);
  file.frames_per_packet = run.DataBlockNumber;
  if (out.header) out.header(file.header);
  ScanPackets(in, tail, run, out, file.counts);
  file.read_error = in.error;
}

}  // namespace

void ReadCaptures(std::span<const CaptureSource> sources, PacketTail tail, CaptureOutput& out) {
  RunState run;
  for (const CaptureSource& source : sources) {
    CaptureFile file;
    if (source.text) {
      if (out.opened) out.opened(source.path, 0);
      InputStream in = InputFromText(*source.text, true);
      ReadCapture(in, tail, run, out, file);
    } else {
      File capture;
      file.open_error = OpenForReading(source.path, capture);
      if (out.opened) out.opened(source.path, file.open_error);
      if (file.open_error == 0) {
        InputStream in = InputFromDescriptor(capture.descriptor(), true);
        ReadCapture(in, tail, run, out, file);
      }
    }
    if (out.read) out.read(file);
  }
}

}  // namespace hkcsv
