// hkreport: one offline HTML page of trend charts and tables from the same
// capture folders that hkcsv reads.
#include <cstdio>
#include <string>
#include <vector>

#include "app/report_command_line.h"
#include "app/sample_root.h"
#include "platform/files.h"

namespace {

constexpr int kUsageStatus = 2;

int Print(std::FILE* stream, const char* text) { return std::fputs(text, stream) < 0 || std::fflush(stream) != 0; }

}  // namespace

int main(int argc, char** argv) {
  using namespace hkcsv;
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  CommandLine line = ParseCommandLine(arguments, kSampleRoot);
  switch (line.action) {
    case CommandAction::kHelp:
      return Print(stdout, kReportUsage);
    case CommandAction::kVersion:
      return Print(stdout, kReportVersion);
    case CommandAction::kUsageError:
      std::fprintf(stderr, "hkreport: %s\n", line.error.c_str());
      std::fputs(kReportUsage, stderr);
      return kUsageStatus;
    case CommandAction::kReport:
      break;
  }
  OutputStream errors = OutputToDescriptor(StandardError(), false);
  ReportRequest& request = line.request;
  if (request.limits) {
    std::vector<std::string> problems;
    if (!ReadLimits(request.limits->file, request.limits->table, problems)) {
      for (const std::string& problem : problems) std::fprintf(stderr, "%s\n", problem.c_str());
      return kUsageStatus;
    }
  }
  return WriteReport(request, errors);
}
