// The words of hkreport's lines on standard error.
#include "app/report_lines.h"

#include "platform/files.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

void TellLine(OutputStream& errors, std::string_view line) {
  std::string safe = "hkreport: ";
  AppendControlsEscaped(safe, line);
  WriteBytes(errors, safe);
  WriteLineEnd(errors);
  Flush(errors);
}

std::string FailureLine(const Failure& failure) {
  const std::string words(AttemptWords(failure.attempt));
  if (failure.attempt == Attempt::kMissing) {
    // The format folder's name, "FM", ends its path.
    const std::string folder = failure.path.substr(failure.path.find_last_of(kPathSeparators) + 1);
    return folder + " " + words + ": " + failure.path + " (its pages are kept)";
  }
  return words + " " + failure.path + ": " + ErrorText(failure.error);
}

std::vector<std::string> PassReadLines(const FormatRecord& format, const PassRecord& pass) {
  const std::string path = CapturePath(format, pass);
  const CaptureFile& file = pass.file;
  if (file.open_error != 0) return {FailureLine({Attempt::kOpen, path, file.open_error})};
  std::vector<std::string> lines;
  if (file.read_error != 0) lines.push_back(FailureLine({Attempt::kRead, path, file.read_error}));
  const CaptureCounts& counts = file.counts;
  if (lines.empty() && counts.frames > 0 && counts.skipped_tokens == 0 && counts.cut_short == 0) return lines;
  std::string line = path + ": ";
  AppendCounted(line, file.counts.frames, "frame", "frames");
  line += ", ";
  AppendCounted(line, file.counts.skipped_tokens, "token", "tokens");
  line += " skipped, ";
  AppendUnsigned(line, file.counts.cut_short);
  line += " cut short";
  lines.push_back(std::move(line));
  return lines;
}

void OpenPage(const std::string& page, OutputStream& errors) {
  int exit_status = 0;
  const int error = OpenInBrowser(page, exit_status);
  std::string line = "cannot show " + page + ": " + kBrowserOpener;
  if (error != 0) {
    TellLine(errors, line + ": " + ErrorText(error));
  } else if (exit_status != 0) {
    line += " ended with status ";
    AppendUnsigned(line, static_cast<unsigned>(exit_status));
    TellLine(errors, line);
  }
}

}  // namespace hkcsv
