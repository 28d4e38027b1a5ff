// hkreport's command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/unattended.h"
#include "report/output/report.h"

namespace hkcsv {

enum class CommandAction { kReport, kHelp, kVersion, kUsageError };

struct CommandLine {
  CommandAction action = CommandAction::kReport;
  ReportRequest request;    // the limits are not read yet: request.limits names their file
  bool open_page = false;   // with --open: show the page in the default browser
  bool quiet = false;       // with --quiet: no summary line
  UnattendedChecks checks;  // with --fail-on and --max-age
  std::string error;        // what is wrong, for kUsageError
};

extern const std::string kReportUsage;
extern const std::string kReportVersion;  // "hkreport VERSION\n"

// Parses the arguments after the program's name. `default_root` is the base
// directory built into the program.
CommandLine ParseCommandLine(const std::vector<std::string_view>& arguments, std::string_view default_root);

}  // namespace hkcsv
