// hkreport's command line: its options parsed into a request.
#include "app/report_command_line.h"

#include "hkcsv_version.h"
#include "platform/files.h"

namespace hkcsv {

const char kReportUsage[] =
    "Usage: hkreport [--root DIR] [--format fm|fsk|both] [--limits FILE] [--output FILE]\n"
    "                [--export FILE] [--open]\n"
    "       hkreport --help | --version\n"
    "Reads the capture files below the base directory, as hkcsv does, and writes an HTML\n"
    "overview page (the latest pass, tables of the passes and channels, trend charts) and,\n"
    "in a folder beside it named PAGE_files, a page for every pass.\n"
    "  --root DIR       base directory holding the FM and FSK folders (default: hkcsv's own)\n"
    "  --format F       fm, fsk or both (default: both)\n"
    "  --limits FILE    operating limits: lines of column name, red low, yellow low,\n"
    "                   yellow high, red high\n"
    "  --output FILE    the overview page (default: HK_Report.html in the base directory)\n"
    "  --export FILE    every HK frame of the chosen formats in one CSV file\n"
    "  --open           show the page in the default browser once it is written\n"
    "  --help           show this text and exit\n"
    "  --version        show the version and exit\n"
    "Exit status: 0 when every file was read and the page written, 1 when a file could not\n"
    "be listed or read (the page says so) or the page could not be written, 2 for a bad\n"
    "command line or limits file, or an output that is a file the run reads or not a\n"
    "regular file.\n";

const std::string kReportVersion = std::string("hkreport ") + kVersion + "\n";

namespace {

CommandLine UsageError(std::string error) {
  CommandLine line;
  line.action = CommandAction::kUsageError;
  line.error = std::move(error);
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string_view>& arguments, std::string_view default_root) {
  CommandLine line;
  ReportRequest& request = line.request;
  request.sample_root = std::string(default_root);
  bool output_given = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view option = arguments[i];
    if (option == "--help") return CommandLine{CommandAction::kHelp, {}, false, {}};
    if (option == "--version") return CommandLine{CommandAction::kVersion, {}, false, {}};
    std::string_view value;
    bool has_value = false;
    if (const std::size_t equals = option.find('='); option.starts_with("--") && equals != std::string_view::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
      has_value = true;
    }
    if (option == "--open") {
      if (has_value) return UsageError("option '--open' takes no value");
      line.open_page = true;
      continue;
    }
    if (option != "--root" && option != "--format" && option != "--limits" && option != "--output" &&
        option != "--export") {
      if (!option.starts_with("-") || option == "-")
        return UsageError("unexpected argument '" + std::string(option) + "'");
      return UsageError("unknown option '" + std::string(option) + "'");
    }
    if (!has_value) {
      if (i + 1 == arguments.size()) return UsageError("option '" + std::string(option) + "' needs a value");
      value = arguments[++i];
    }
    if (value.empty()) return UsageError("option '" + std::string(option) + "' needs a value");
    if (option == "--root") {
      request.sample_root = std::string(value);
    } else if (option == "--limits") {
      request.limits = OperatingLimits{std::string(value)};
    } else if (option == "--export") {
      request.export_file = std::string(value);
    } else if (option == "--output") {
      request.page = std::string(value);
      output_given = true;
    } else if (value == "fm" || value == "fsk" || value == "both") {
      request.fm = value != "fsk";
      request.fsk = value != "fm";
    } else {
      return UsageError("--format takes fm, fsk or both, not '" + std::string(value) + "'");
    }
  }
  if (!output_given) request.page = request.sample_root + kPathSeparator + "HK_Report.html";
  return line;
}

}  // namespace hkcsv
