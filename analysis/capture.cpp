#include "analysis/capture.h"

#include "analysis/packet_scanner.h"
#include "analysis/pass_header.h"
#include "analysis/problem_line.h"

namespace hkcsv {

namespace {

// "Cannot open PATH: REASON" or "Cannot read PATH: REASON": on the trace, and
// copied to standard error.
void ReportFileProblem(const CaptureOutput& out, const char* what, const std::string& path, int error) {
  ReportPathProblem({out.trace, out.errors}, out.program, what, path, error);
}

}  // namespace

void ReadCapture(InputStream& in, PacketTail tail, RunState& run, CaptureOutput& out, CaptureFile& file) {
  ReadPassHeader(in, out, file.header, run.DataBlockNumber);
  if (out.header) out.header(file.header);
  ScanPackets(in, tail, run, out, file.counts);
}

int ReadCaptureHeader(const std::string& path, PassHeader& header) {
  File capture;
  if (const int error = OpenForReading(path, capture)) return error;
  // A header is a few hundred bytes: small blocks read little more.
  InputStream in = InputFromDescriptor(capture.descriptor(), true, 4096);
  CaptureOutput out;
  int32_t frames_per_packet = 0;
  ReadPassHeader(in, out, header, frames_per_packet);
  return in.error;
}

CaptureFile ReadCaptureFile(const std::string& path, PacketTail tail, RunState& run, CaptureOutput& out) {
  CaptureFile file;
  out.capture_path = path;
  File capture;
  file.open_error = OpenForReading(path, capture);
  if (out.trace) {
    WriteText(*out.trace, "InputFile = ");
    WriteDecimal(*out.trace, file.open_error);
    WriteText(*out.trace, "\n\n");
  }
  if (file.open_error != 0) {
    ReportFileProblem(out, "Cannot open", path, file.open_error);
  } else {
    InputStream in = InputFromDescriptor(capture.descriptor(), true);
    ReadCapture(in, tail, run, out, file);
    file.read_error = in.error;
    if (in.error != 0) ReportFileProblem(out, "Cannot read", path, in.error);
  }
  out.capture_path = {};
  return file;
}

}  // namespace hkcsv
