// The packet scanner: the hex dump after the pass header, each packet found
// by its marker, its numbers, frames and tail read, every frame decoded and
// handed on, and what was found counted. A template over the echo of what it
// reads (reader.h); the reader's own, not for other targets.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>

#include "capture/capture_file.h"
#include "capture/downlink_format.h"
#include "capture/run_state.h"
#include "hk/hk_frame.h"
#include "text/text_input.h"

namespace hkcsv {

// The packet marker: the character codes of "QX0TLM>VORAN:".
inline constexpr std::array<int32_t, 13> SB{0x51, 0x58, 0x30, 0x54, 0x4C, 0x4D, 0x3E,
                                            0x56, 0x4F, 0x52, 0x41, 0x4E, 0x3A};

namespace packet_scanning {

inline constexpr int kSkippedValues = 3;  // between the marker and the packet number

template <class Echo>
struct Scan {
  InputStream& in;
  Echo& echo;
  CaptureEvents& events;
  CaptureCounts& counts;
};

// Skips a token that is no hex number, telling its text where it is wanted.
template <class Echo>
void SkipNonHexToken(Scan<Echo>& scan) {
  ++scan.counts.skipped_tokens;
  const auto& tell = scan.events.skipped_token;
  if (!tell) {
    SkipToken(scan.in, [](std::string_view) {});
    return;
  }
  tell(TokenPart::kStart, {});
  SkipToken(scan.in, [&tell](std::string_view piece) { tell(TokenPart::kPiece, piece); });
  tell(TokenPart::kEnd, {});
}

// Goes on reading after a token that is no hex number.
template <class Echo>
bool ReadValueAfterNonHex(Scan<Echo>& scan, int32_t& value) {
  for (;;) {
    SkipNonHexToken(scan);
    const ReadResult result = ReadHex(scan.in, value);
    if (result != ReadResult::kNotANumber) return result == ReadResult::kValue;
  }
}

// Reads the next hexadecimal value into `value`. A token that is no hex
// number is skipped and told, so no stale value is used and no token is
// read twice. Returns false at the end of the file.
template <class Echo>
inline bool ReadValue(Scan<Echo>& scan, int32_t& value) {
  const ReadResult result = ReadHex(scan.in, value);
  if (result == ReadResult::kValue) return true;
  return result == ReadResult::kNotANumber && ReadValueAfterNonHex(scan, value);
}

// Reads a value inside a packet and echoes it.
template <class Echo>
inline bool ReadEchoed(Scan<Echo>& scan, int32_t& value) {
  if (!ReadValue(scan, value)) return false;
  scan.echo.PacketValue(value);
  return true;
}

// The tail after the frames. Returns false when the file ends inside an FM
// tail; the end of the file inside an FSK tail simply ends it.
template <class Echo>
bool ReadTail(Scan<Echo>& scan, PacketTail tail, int32_t& Data) {
  if (tail == PacketTail::kOneValue) {
    if (!ReadValue(scan, Data)) return false;
    ++scan.counts.tokens;
    scan.echo.TailStart();
    scan.echo.TailEnd(Data);
    return true;
  }
  scan.echo.TailStart();
  for (;;) {
    if (!ReadValue(scan, Data)) return true;
    ++scan.counts.tokens;
    if (Data != 0) break;
    scan.echo.TailZero();
  }
  scan.echo.TailEnd(Data);
  return true;
}

// Reads one packet after its marker. Returns false when the file ends inside
// it: only frames read whole have been handed on. The values it reads are
// counted by the packet and by the frame, not one by one.
template <class Echo>
bool ReadPacket(Scan<Echo>& scan, PacketTail tail, RunState& run) {
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
    scan.echo.FrameStart();
    for (int32_t& byte : run.CDH_Data) {
      if (!ReadEchoed(scan, byte)) {
        scan.counts.tokens += static_cast<std::size_t>(&byte - run.CDH_Data.data());
        return false;
      }
    }
    scan.counts.tokens += run.CDH_Data.size();
    DecodeHkFrame(run.CDH_Data, run.AnalysedData);
    ++scan.counts.frames;
    if (scan.events.frame) {
      scan.events.frame(FrameRecord(run.packet_num, run.uplink_num, run.CDH_Data, run.AnalysedData));
    }
  }
  return ReadTail(scan, tail, run.Data);
}

}  // namespace packet_scanning

// Reads the dump to the end of the file, echoing every value of every packet
// and counting what it finds. Reads and updates the run's carried values.
template <class Echo>
void ScanPackets(InputStream& in, PacketTail tail, RunState& run, CaptureEvents& events, CaptureCounts& counts,
                 Echo& echo) {
  using namespace packet_scanning;
  Scan<Echo> scan{in, echo, events, counts};
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
      echo.CutShort();
      if (events.cut_short) events.cut_short();
      break;
    }
  }
  // Every token after the header: the values read and the tokens skipped.
  counts.tokens += sought + counts.skipped_tokens;
}

}  // namespace hkcsv
