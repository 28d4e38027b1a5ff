// hkreport: offline HTML pages of the satellite's health from the same
// capture folders that hkcsv reads (an overview and a page per pass), and on
// request every frame in one CSV file.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/lone_console.h"
#include "app/progress_line.h"
#include "app/report_command_line.h"
#include "app/report_lines.h"
#include "app/sample_root.h"
#include "platform/files.h"
#include "text/number_format.h"

namespace {

using namespace hkcsv;

constexpr int kUsageStatus = 2;

int Print(std::FILE* stream, const char* text) { return std::fputs(text, stream) < 0 || std::fflush(stream) != 0; }

// 2 for a refused output; 1 when data is missing or a file of the report
// could not be written, or there is no format folder; else 0.
int ExitStatus(const ReportOutcome& outcome) {
  if (outcome.refused) return kUsageStatus;
  return outcome.no_format_folder || outcome.data_missing || outcome.write_failed ? 1 : 0;
}

// The formats a run reports, as its progress line names them.
const char* FormatsRead(const ReportRequest& request) {
  return !request.fsk ? "FM" : !request.fm ? "FSK" : "FM and FSK";
}

int Run(CommandLine& line, OutputStream& errors) {
  switch (line.action) {
    case CommandAction::kHelp:
      return Print(stdout, kReportUsage.c_str());
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
  // Standard error holds what needs a look: problems as they come, one
  // summary line, the findings; on a terminal also a line of progress,
  // taken off before any other line.
  ProgressLine progress{IsTerminal(StandardError())};
  const auto tell = [&](std::string_view text) {
    ClearProgress(progress, errors);
    TellLine(errors, text);
  };
  ReportObserver observer;
  observer.failed = [&](const Failure& failure) { tell(FailureLine(failure)); };
  observer.pass_read = [&](const FormatRecord& format, const PassRecord& pass) {
    for (const std::string& problem : PassReadLines(format, pass)) tell(problem);
  };
  observer.progress = [&](RunStage stage, std::uint64_t done, std::uint64_t total) {
    ShowProgress(progress, errors, ProgressText(FormatsRead(request), stage, done, total), done == total);
  };
  const ReportOutcome outcome = WriteReport(request, observer);
  ClearProgress(progress, errors);
  if (outcome.no_format_folder) {
    const char* folders = !request.fsk ? "FM" : !request.fm ? "FSK" : "FM or FSK";
    tell(std::string("no ") + folders + " folder under " + request.sample_root);
  }
  if (outcome.refused) tell("refusing to write " + outcome.refused->path + ": " + outcome.refused->reason);
  if (!outcome.page_written) return ExitStatus(outcome);
  if (!line.quiet) {
    std::string done = "wrote " + request.page + " (";
    AppendCounted(done, outcome.capture_files, "capture file", "capture files");
    done += ", ";
    AppendCounted(done, outcome.frames, "frame", "frames");
    done += ")";
    tell(done);
  }
  if (line.open_page) OpenPage(request.page, errors);
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::vector<std::string> findings =
      UnattendedFindings(outcome.formats, line.checks, std::chrono::duration<double>(now).count());
  for (const std::string& finding : findings) tell(finding);
  // The captures judged are kept only once their findings are told.
  int status = ExitStatus(outcome);
  if (const Failure failure = KeepJudgedList(outcome); failure.error != 0) {
    tell(FailureLine(failure));
    status = 1;
  }
  return status == 0 && !findings.empty() ? kLookStatus : status;
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
  const RunEnding ending = DecideRunEnding(line.open_page, ConsoleProcessCount(), !arguments.empty());
  line.open_page = ending.open_page;
  const int status = Run(line, errors);
  if (ending.wait_for_enter) WaitForEnter(errors);
  return status;
}
