// The packet scanner: the marker search, each packet's numbers, frames and
// tail, echoed on the trace and counted.
#include "analysis/capture/packet_scanner.h"

#include "hk/hk_frame.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr int kSkippedValues = 3;  // between the marker and the packet number

struct Scan {
  InputStream& in;
  OutputStream* trace;  // out.trace, at hand for the echo of every value
  CaptureOutput& out;
  CaptureCounts& counts;
};

// Skips a token that is no hex number, telling its text where it is wanted.
void SkipNonHexToken(Scan& scan) {
  ++scan.counts.skipped_tokens;
  const auto& tell = scan.out.skipped_token;
  if (!tell) {
    SkipToken(scan.in, [](std::string_view) {});
    return;
  }
  tell(TokenPart::kStart, {});
  SkipToken(scan.in, [&tell](std::string_view piece) { tell(TokenPart::kPiece, piece); });
  tell(TokenPart::kEnd, {});
}

// Goes on reading after a token that is no hex number.
bool ReadValueAfterNonHex(Scan& scan, int32_t& value) {
  for (;;) {
    SkipNonHexToken(scan);
    const ReadResult result = ReadHex(scan.in, value);
    if (result != ReadResult::kNotANumber) return result == ReadResult::kValue;
  }
}

// Reads the next hexadecimal value into `value`. A token that is no hex
// number is skipped with a warning, so no stale value is used and no token
// is read twice. Returns false at the end of the file.
inline bool ReadValue(Scan& scan, int32_t& value) {
  const ReadResult result = ReadHex(scan.in, value);
  if (result == ReadResult::kValue) return true;
  return result == ReadResult::kNotANumber && ReadValueAfterNonHex(scan, value);
}

inline void Trace(Scan& scan, std::string_view text) {
  if (scan.trace) WriteText(*scan.trace, text);
}

// Reads a value inside a packet and echoes it with "%X ".
inline bool ReadEchoed(Scan& scan, int32_t& value) {
  if (!ReadValue(scan, value)) return false;
  if (OutputStream* trace = scan.trace) {
    char* at = Reserve(*trace, kHexTextMax + 4);
    trace->used += static_cast<std::size_t>(FormatHexThenSpace(value, at) - at);
  }
  return true;
}

void TraceHex(Scan& scan, int32_t value) {
  if (scan.trace) WriteHex(*scan.trace, value);
}

// The tail after the frames. Returns false when the file ends inside an FM
// tail; the end of the file inside an FSK tail simply ends it.
bool ReadTail(Scan& scan, PacketTail tail, int32_t& Data) {
  if (tail == PacketTail::kOneValue) {
    if (!ReadValue(scan, Data)) return false;
    ++scan.counts.tokens;
    Trace(scan, "\n");
    TraceHex(scan, Data);
    Trace(scan, "\n\n");
    return true;
  }
  Trace(scan, "\n");
  for (;;) {
    if (!ReadValue(scan, Data)) return true;
    ++scan.counts.tokens;
    if (Data != 0) break;
    Trace(scan, "0 ");
  }
  TraceHex(scan, Data);
  Trace(scan, "\n\n");
  return true;
}

// Reads one packet after its marker. Returns false when the file ends inside
// it: only frames read whole have been handed on. The values it reads are
// counted by the packet and by the frame, not one by one.
bool ReadPacket(Scan& scan, PacketTail tail, RunState& run) {
  int32_t* const numbers[] = {&run.Data, &run.Data, &run.Data, &run.packet_num, &run.uplink_num};
  static_assert(std::size(numbers) == kSkippedValues + 2);
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    if (!ReadEchoed(scan, *numbers[i])) {
      scan.counts.tokens += i;
      return false;
    }
  }
  scan.counts.tokens += std::size(numbers);
  for (int32_t frame = 0; frame < run.DataBlockNumber; ++frame) {
    Trace(scan, "\n");
    for (int32_t& byte : run.CDH_Data) {
      if (!ReadEchoed(scan, byte)) {
        scan.counts.tokens += static_cast<std::size_t>(&byte - run.CDH_Data.data());
        return false;
      }
    }
    scan.counts.tokens += run.CDH_Data.size();
    DecodeHkFrame(run.CDH_Data, run.AnalysedData);
    ++scan.counts.frames;
    if (scan.out.frame) scan.out.frame(FrameRecord(run.packet_num, run.uplink_num, run.CDH_Data, run.AnalysedData));
  }
  return ReadTail(scan, tail, run.Data);
}

}  // namespace

void ScanPackets(InputStream& in, PacketTail tail, RunState& run, CaptureOutput& out, CaptureCounts& counts) {
  Scan scan{in, out.trace, out, counts};
  std::size_t matched = 0;   // values of SB matched in a row
  std::uint64_t sought = 0;  // values read in the search for a marker
  while (ReadValue(scan, run.Data)) {
    ++sought;
    if (run.Data == SB[matched]) {
      ++matched;
    } else {
      // A value that breaks a partial match may itself start the marker.
      matched = run.Data == SB[0] ? 1 : 0;
    }
    if (matched < SB.size()) continue;
    matched = 0;
    ++counts.packets;
    if (!ReadPacket(scan, tail, run)) {
      ++counts.cut_short;
      Trace(scan, "\n");
      if (out.cut_short) out.cut_short();
      break;
    }
  }
  // Every token after the header: the values read and the tokens skipped.
  counts.tokens += sought + counts.skipped_tokens;
}

}  // namespace hkcsv
