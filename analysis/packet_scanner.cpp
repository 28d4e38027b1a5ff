#include "analysis/packet_scanner.h"

#include "io/number_format.h"

namespace {

constexpr int kSkippedValues = 3;  // between the marker and the packet number

// Reads the next hexadecimal value into `value`. A token that is no hex
// number is skipped with a warning, so no stale value is used and no token
// is read twice. Returns false at the end of the file.
bool ReadValue(InputStream& in, OutputStream& console, int32_t& value) {
  for (;;) {
    const ReadResult result = ReadHex(in, value);
    if (result != ReadResult::kNotANumber) return result == ReadResult::kValue;
    WriteText(console, "Warning: skipped non-hexadecimal token \"");
    bool shown = true;  // the token shows as "%s" would: up to a NUL byte
    SkipToken(in, [&](std::string_view piece) {
      if (!shown) return;
      const std::size_t nul = piece.find('\0');
      WriteText(console, piece.substr(0, nul));
      shown = nul == std::string_view::npos;
    });
    WriteText(console, "\"\n");
  }
}

// Reads a value inside a packet and echoes it with "%X ".
bool ReadEchoed(InputStream& in, OutputStream& console, int32_t& value) {
  if (!ReadValue(in, console, value)) return false;
  char* at = Reserve(console, kHexTextMax + 1);
  char* end = FormatHex(value, at);
  *end++ = ' ';
  console.used += static_cast<std::size_t>(end - at);
  return true;
}

void WriteDataRow(OutputStream& data_csv, const RunState& run) {
  WriteHex(data_csv, run.packet_num);
  WriteText(data_csv, ",");
  WriteHex(data_csv, run.uplink_num);
  WriteText(data_csv, ",");
  for (int slot = 0; slot < kHkValueCount; ++slot) {
    const double value = run.AnalysedData[static_cast<std::size_t>(slot)];
    if (slot == kSwitchInfoSlot || slot == kResetInfoSlot) {
      // Both slots hold whole numbers converted from 32-bit integers.
      WriteHex(data_csv, static_cast<int32_t>(value));
      WriteText(data_csv, ", ");
    } else {
      WriteFixed(data_csv, value);
      WriteText(data_csv, ",");
    }
  }
  WriteLineEnd(data_csv);
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
