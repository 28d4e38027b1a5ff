// hkcsv's format menu and main loop.
#include "hkcsv/menu.h"

#include <cstdint>

namespace hkcsv {

namespace {

// The choices 0 and 1 run a format; the next one closes the program.
constexpr int32_t kCloseChoice = static_cast<int32_t>(kDownlinkFormats.size());

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
    for (std::size_t choice = 0; choice < kDownlinkFormats.size(); ++choice) {
      WriteDecimal(console, static_cast<int32_t>(choice));
      WriteText(console, " : ");
      WriteText(console, ConstantsOf(kDownlinkFormats[choice]).description);
      Say(console, ".\n");
    }
    WriteDecimal(console, kCloseChoice);
    Say(console, " : Close this program.\n");

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
    if (FormatType >= 0 && static_cast<std::size_t>(FormatType) < kDownlinkFormats.size()) {
      AnalyzeFormat(kDownlinkFormats[static_cast<std::size_t>(FormatType)], sample_root, console, problems);
    } else if (FormatType == kCloseChoice) {
      end = true;
    }
  }
  Say(console, "Program is end.\n");
  // Data that could not be listed, read or written fails the session, so a
  // script that runs hkcsv after each pass learns of it.
  return problems.data_missing ? 1 : 0;
}

}  // namespace hkcsv
