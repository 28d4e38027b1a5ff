#include "analysis/packet_scanner.h"

#include "text/number_format.h"

namespace {

constexpr int kSkippedValues = 3;  // between the marker and the packet number

// Skips a token that is no hex number, with a warning where it was met.
void SkipNonHexToken(InputStream& in, OutputStream& console) {
  WriteText(console, "Warning: skipped non-hexadecimal token \"");
  bool shown = true;  // the token shows as "%s" would: up to a NUL byte
  SkipToken(in, [&](std::string_view piece) {
    if (!shown) return;
    const std::size_t nul = piece.find('\0');
    WriteBytes(console, piece.substr(0, nul));
    shown = nul == std::string_view::npos;
  });
  WriteText(console, "\"\n");
}

// Goes on reading after a token that is no hex number.
bool ReadValueAfterNonHex(InputStream& in, OutputStream& console, int32_t& value) {
  for (;;) {
    SkipNonHexToken(in, console);
    const ReadResult result = ReadHex(in, value);
    if (result != ReadResult::kNotANumber) return result == ReadResult::kValue;
  }
}

// Reads the next hexadecimal value into `value`. A token that is no hex
// number is skipped with a warning, so no stale value is used and no token
// is read twice. Returns false at the end of the file.
inline bool ReadValue(InputStream& in, OutputStream& console, int32_t& value) {
  const ReadResult result = ReadHex(in, value);
  if (result == ReadResult::kValue) return true;
  return result == ReadResult::kNotANumber && ReadValueAfterNonHex(in, console, value);
}

// Reads a value inside a packet and echoes it with "%X ".
bool ReadEchoed(InputStream& in, OutputStream& console, int32_t& value) {
  if (!ReadValue(in, console, value)) return false;
  char* at = Reserve(console, kHexTextMax + 1);
  char* end = FormatHexByte(value, at);
  *end++ = ' ';
  console.used += static_cast<std::size_t>(end - at);
  return true;
}

// The longest row: two numbers "%X,", two "%X, ", 35 cells "%4f," and the
// line end.
constexpr std::size_t kRowMax = 2 * (kHexTextMax + 1) + 2 * (kHexTextMax + 2) + 35 * (kFixedTextMax + 1) + 2;
static_assert(kRowMax <= kOutputBlockSize);

// The row is formatted straight into the output block.
void WriteDataRow(OutputStream& data_csv, const RunState& run) {
  char* const start = Reserve(data_csv, kRowMax);
  char* at = FormatHex(run.packet_num, start);
  *at++ = ',';
  at = FormatHex(run.uplink_num, at);
  *at++ = ',';
  for (int slot = 0; slot < kHkValueCount; ++slot) {
    const double value = run.AnalysedData[static_cast<std::size_t>(slot)];
    if (slot == kSwitchInfoSlot || slot == kResetInfoSlot) {
      // Both slots hold whole numbers converted from 32-bit integers.
      at = FormatHex(static_cast<int32_t>(value), at);
      *at++ = ',';
      *at++ = ' ';
    } else {
      at = FormatFixed(value, at);
      *at++ = ',';
    }
  }
  at = PutLineEnd(data_csv, at);
  data_csv.used += static_cast<std::size_t>(at - start);
}

// The tail after the frames. Returns false when the file ends inside an FM
// tail; the end of the file inside an FSK tail simply ends it.
bool ReadTail(InputStream& in, OutputStream& console, PacketTail tail, int32_t& Data) {
  if (tail == PacketTail::kOneValue) {
    if (!ReadValue(in, console, Data)) return false;
    WriteText(console, "\n");
    WriteHex(console, Data);
    WriteText(console, "\n\n");
    return true;
  }
  WriteText(console, "\n");
  for (;;) {
    if (!ReadValue(in, console, Data)) return true;
    if (Data != 0) break;
    WriteText(console, "0 ");
  }
  WriteHex(console, Data);
  WriteText(console, "\n\n");
  return true;
}

// Reads one packet after its marker. Returns false when the file ends inside
// it: only frames read whole have been written.
bool ReadPacket(InputStream& in, OutputStream& data_csv, OutputStream& console, PacketTail tail, RunState& run) {
  for (int i = 0; i < kSkippedValues; ++i) {
    if (!ReadEchoed(in, console, run.Data)) return false;
  }
  if (!ReadEchoed(in, console, run.packet_num) || !ReadEchoed(in, console, run.uplink_num)) return false;
  for (int32_t frame = 0; frame < run.DataBlockNumber; ++frame) {
    WriteText(console, "\n");
    for (int32_t& byte : run.CDH_Data) {
      if (!ReadEchoed(in, console, byte)) return false;
    }
    DecodeHkFrame(run.CDH_Data, run.AnalysedData);
    WriteDataRow(data_csv, run);
  }
  return ReadTail(in, console, tail, run.Data);
}

}  // namespace

void ScanPackets(InputStream& in, OutputStream& data_csv, OutputStream& console, PacketTail tail, RunState& run) {
  std::size_t matched = 0;  // values of SB matched in a row
  while (ReadValue(in, console, run.Data)) {
    if (run.Data == SB[matched]) {
      ++matched;
    } else {
      // A value that breaks a partial match may itself start the marker.
      matched = run.Data == SB[0] ? 1 : 0;
    }
    if (matched < SB.size()) continue;
    matched = 0;
    if (!ReadPacket(in, data_csv, console, tail, run)) {
      WriteText(console, "\nPacket cut short by the end of the file.\n");
      return;
    }
  }
}
