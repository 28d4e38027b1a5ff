// hkreport: offline HTML pages of the satellite's health from the same
// capture folders that hkcsv reads (an overview and a page per pass), and on
// request every frame in one CSV file.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/lone_console.h"
#include "app/report_command_line.h"
#include "app/report_lines.h"
#include "app/sample_root.h"
#include "platform/files.h"
#include "text/number_format.h"

namespace {

using namespace hkcsv;

constexpr int kUsageStatus = 2;

int Print(std::FILE* stream, const char* text) { return std::fputs(text, stream) < 0 || std::fflush(stream) != 0; }

int Run(CommandLine& line, OutputStream& errors) {
  switch (line.action) {
    case CommandAction::kHelp:
      return Print(stdout, kReportUsage);
    case CommandAction::kVersion:
      return Print(stdout, kReportVersion.c_str());
    case CommandAction::kUsageError:
      TellLine(errors, line.error);
      WriteText(errors, kReportUsage);
      Flush(errors);
      return kUsageStatus;
    case CommandAction::kReport:
      break;
  }
  ReportRequest& request = line.request;
  if (request.limits) {
    std::vector<std::string> problems;
    if (!ReadLimits(request.limits->file, request.limits->table, problems)) {
      for (const std::string& problem : problems) TellLine(errors, problem);
      return kUsageStatus;
    }
  }
  ReportObserver observer;
  observer.failed = [&errors](const Failure& failure) { TellLine(errors, FailureLine(failure)); };
  observer.pass_read = [&errors](const FormatRecord& format, const PassRecord& pass) {
    TellPassRead(errors, format, pass);
  };
  const ReportOutcome outcome = WriteReport(request, observer);
  if (outcome.no_format_folder) {
    const char* folders = !request.fsk ? "FM" : !request.fm ? "FSK" : "FM or FSK";
    TellLine(errors, std::string("no ") + folders + " folder under " + request.sample_root);
  }
  if (outcome.refused) TellLine(errors, "refusing to write " + outcome.refused->path + ": " + outcome.refused->reason);
  if (!outcome.page_written) return outcome.status;
  std::string done = "wrote " + request.page + " (";
  AppendCounted(done, outcome.capture_files, "capture file", "capture files");
  done += ", ";
  AppendCounted(done, outcome.frames, "frame", "frames");
  done += ")";
  TellLine(errors, done);
  if (line.open_page) OpenPage(request.page, errors);
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::vector<std::string> findings =
      UnattendedFindings(outcome.latest, line.checks, std::chrono::duration<double>(now).count());
  for (const std::string& finding : findings) TellLine(errors, finding);
  return outcome.status == 0 && !findings.empty() ? kLookStatus : outcome.status;
}

// Reads standard input up to a line end, or to its end.
void WaitForEnter(OutputStream& errors) {
  WriteText(errors, "Press Enter to close.\n");
  Flush(errors);
  char byte = 0;
  std::size_t got = 0;
  while (ReadSome(StandardInput(), &byte, 1, got) == 0 && got == 1 && byte != '\n') {
  }
}

}  // namespace

int main(int argc, char** argv) {
  InstallInterruptHandlers();
  OutputStream errors = OutputToDescriptor(StandardError(), false);
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  CommandLine line = ParseCommandLine(arguments, kSampleRoot);
  const RunEnding ending = DecideRunEnding(line.open_page, ConsoleProcessCount());
  line.open_page = ending.open_page;
  const int status = Run(line, errors);
  if (ending.wait_for_enter) WaitForEnter(errors);
  return status;
}
