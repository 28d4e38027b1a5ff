// The progress line of hkreport on a terminal.
#include "app/progress_line.h"

#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::chrono::milliseconds kProgressStep{100};

}  // namespace

std::string ProgressText(std::string_view formats, RunStage stage, std::uint64_t done, std::uint64_t total) {
  std::string text = "hkreport: ";
  text += formats;
  text += ": ";
  AppendUnsigned(text, done);
  text += " of ";
  AppendUnsigned(text, total);
  text += stage == RunStage::kReading ? " files read" : " pages written";
  return text;
}

void ShowProgress(ProgressLine& line, OutputStream& errors, std::string_view text, bool last) {
  if (!line.shown) return;
  const auto now = std::chrono::steady_clock::now();
  if (now < line.next && !last) return;
  line.next = now + kProgressStep;
  std::string shown = "\r";
  shown += text;
  // Blanks over what is left of a longer text before.
  if (line.width > text.size()) shown.append(line.width - text.size(), ' ');
  line.width = text.size();
  WriteBytes(errors, shown);
  Flush(errors);
}

void ClearProgress(ProgressLine& line, OutputStream& errors) {
  if (line.width == 0) return;
  std::string blank = "\r";
  blank.append(line.width, ' ');
  blank += '\r';
  line.width = 0;
  WriteBytes(errors, blank);
  Flush(errors);
}

}  // namespace hkcsv
