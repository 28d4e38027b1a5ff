// The whole per-file pipeline on an arbitrary capture file held in memory:
// pass header reader, packet scanner, frame decoder and both CSV writers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "capture/reader.h"
#include "hkcsv/csv_rows.h"
#include "hkcsv/trace_echo.h"

using namespace hkcsv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string console_text, header_text, data_text;
  OutputStream console = OutputToMemory(&console_text, false);
  OutputStream header_csv = OutputToMemory(&header_text, true);
  OutputStream data_csv = OutputToMemory(&data_text, true);
  CaptureEvents events;
  events.header = [&header_csv](const PassHeader& header) { WriteHeaderRow(header_csv, header); };
  events.frame = [&data_csv](const DecodedFrame& frame) { WriteDataRow(data_csv, frame); };
  // Every token after the header is read, skipped or not.
  events.read = [](const CaptureFile& file) {
    if (file.counts.tokens < file.counts.skipped_tokens) __builtin_trap();
  };
  // Twice, as two files of one run: the second starts from the first's state.
  const CaptureSource twice[] = {{"a.txt", text}, {"b.txt", text}};
  TraceEcho trace{console};
  ReadCaptures(twice, HKCSV_FUZZ_TAIL, events, trace);
  Flush(console);
  Flush(header_csv);
  Flush(data_csv);
  // Every data row ends with CR LF and holds 39 cells.
  std::size_t commas = 0;
  for (std::size_t i = 0; i < data_text.size(); ++i) {
    if (data_text[i] == ',') ++commas;
    if (data_text[i] == '\n') {
      if (i == 0 || data_text[i - 1] != '\r' || commas != 39) __builtin_trap();
      commas = 0;
    }
  }
  if (commas != 0) __builtin_trap();
  return 0;
}
