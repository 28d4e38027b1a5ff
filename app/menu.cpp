#include "app/menu.h"

#include <cstdint>

#include "analysis/analysis.h"

namespace {

// Each menu line and message is flushed, so the operator sees it before the
// program waits for input.
void Say(OutputStream& console, std::string_view line) {
  WriteText(console, line);
  Flush(console);
}

}  // namespace

int RunMenu(InputStream& keyboard, OutputStream& console, ProblemReport& problems, std::string_view sample_root) {
  bool end = false;
  while (!end) {
    Say(console, "Please select data format.\n");
    Say(console, "0 : HK data downlinked by AFSK and GMSK.\n");
    Say(console, "1 : HK data downlinked by FSK.\n");
    Say(console, "2 : Close this program.\n");

    int32_t FormatType = 0;
    const ReadResult result = ReadInteger(keyboard, FormatType);
    if (result == ReadResult::kEnd) break;  // no more input: close as choice 2 does
    if (result == ReadResult::kNotANumber) {
      SkipToken(keyboard, [](std::string_view) {});  // discard it and ask again
      continue;
    }

    WriteText(console, "FormatType = ");
    WriteDecimal(console, FormatType);
    Say(console, "\n");
    if (FormatType == 0) {
      AnalyzeFormat(DownlinkFormat::kFM, sample_root, console, problems);
    } else if (FormatType == 1) {
      AnalyzeFormat(DownlinkFormat::kFSK, sample_root, console, problems);
    } else if (FormatType == 2) {
      end = true;
    }
  }
  Say(console, "Program is end.\n");
  // Data that could not be listed, read or written fails the session, so a
  // script that runs hkcsv after each pass learns of it.
  return problems.data_missing ? 1 : 0;
}
