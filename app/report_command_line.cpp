// hkreport's command line: its options parsed into a request.
#include "app/report_command_line.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "hkcsv_version.h"
#include "platform/files.h"
#include "report/model/pass_lists.h"
#include "report/pages/page_layout.h"

namespace hkcsv {

namespace {

// The usage, its words for the levels ($0, $1), the recent passes ($N) and
// the list of judged captures ($J) filled in where each is said once.
constexpr char kUsageText[] =
    "Usage: hkreport [--root DIR] [--format fm|fsk|both] [--limits FILE] [--output FILE]\n"
    "                [--export FILE] [--open] [--fail-on alarm|notice] [--max-age HOURS]\n"
    "                [--quiet]\n"
    "       hkreport --help | --version\n"
    "Reads the capture files below the base directory, as hkcsv does, and writes an HTML\n"
    "overview page (the latest pass, tables of the passes and channels, trend charts) and,\n"
    "in a folder beside it named PAGE_files, a page for every pass and, past the last $N\n"
    "passes, a page for each year of the older ones.\n"
    "  --root DIR       base directory holding the FM and FSK folders (default: hkcsv's own)\n"
    "  --format F       fm, fsk or both (default: both)\n"
    "  --limits FILE    operating limits: lines of column name, red low, yellow low,\n"
    "                   yellow high, red high\n"
    "  --output FILE    the overview page (default: HK_Report.html in the base directory)\n"
    "  --export FILE    every HK frame of the chosen formats in one CSV file\n"
    "  --open           show the page in the default browser once it is written\n"
    "  --fail-on LEVEL  exit with status 3 when a pass that came since the last run with\n"
    "                   --fail-on has a reason at LEVEL or worse: $0, or $1 ($0s\n"
    "                   too); the captures judged are listed in PAGE_files/$J\n"
    "  --max-age HOURS  exit with status 3 when the newest pass of a format is older than\n"
    "                   HOURS by this machine's clock, or there is no dated pass\n"
    "  --quiet          no summary line: standard error holds only what needs a look\n"
    "  --help           show this text and exit\n"
    "  --version        show the version and exit\n"
    "Exit status:\n"
    "  0  every file was read and the pages written\n"
    "  1  a file could not be listed or read (the pages say so), a file of the report\n"
    "     could not be written, or there is no FM or FSK folder\n"
    "  2  a bad command line or limits file, or an output refused: a file the run reads,\n"
    "     no regular file, or no page of this report\n"
    "  3  the pages were written, and --fail-on or --max-age found a pass worth a look\n"
    "     (1 and 2 win over 3)\n";

std::string FilledUsage() {
  std::string usage = kUsageText;
  const std::pair<std::string_view, std::string> fills[] = {{"$0", std::string(LevelName(Level::kAlarm))},
                                                            {"$1", std::string(LevelName(Level::kNotice))},
                                                            {"$N", std::to_string(kRecentPasses)},
                                                            {"$J", kJudgedListName}};
  for (const auto& [placeholder, text] : fills) {
    for (std::size_t at; (at = usage.find(placeholder)) != std::string::npos;)
      usage.replace(at, placeholder.size(), text);
  }
  return usage;
}

}  // namespace

const std::string kReportUsage = FilledUsage();

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
    if (option == "--help" || option == "--version") {
      line.action = option == "--help" ? CommandAction::kHelp : CommandAction::kVersion;
      return line;
    }
    std::string_view value;
    bool has_value = false;
    if (const std::size_t equals = option.find('='); option.starts_with("--") && equals != std::string_view::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
      has_value = true;
    }
    if (option == "--open" || option == "--quiet") {
      if (has_value) return UsageError("option '" + std::string(option) + "' takes no value");
      (option == "--open" ? line.open_page : line.quiet) = true;
      continue;
    }
    if (option != "--root" && option != "--format" && option != "--limits" && option != "--output" &&
        option != "--export" && option != "--fail-on" && option != "--max-age") {
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
    } else if (option == "--fail-on") {
      line.checks.fail_on = LevelNamed(value);
      if (!line.checks.fail_on) {
        return UsageError("--fail-on takes " + std::string(LevelName(Level::kAlarm)) + " or " +
                          std::string(LevelName(Level::kNotice)) + ", not '" + std::string(value) + "'");
      }
      request.judge = true;
    } else if (option == "--max-age") {
      double hours = -1;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), hours);
      if (error != std::errc() || end != value.data() + value.size() || !(hours >= 0) || !std::isfinite(hours)) {
        return UsageError("--max-age takes a number of hours, not '" + std::string(value) + "'");
      }
      line.checks.max_age = hours;
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
