// hkreport's work: read the capture files of the chosen formats through the
// capture pipeline and write one HTML page of trend charts and tables.
#pragma once

#include <optional>
#include <string>

#include "report/limits.h"
#include "text/text_output.h"

namespace hkcsv {

struct ReportRequest {
  std::string sample_root;  // the base directory holding the FM and FSK folders
  bool fm = true;
  bool fsk = true;
  std::optional<OperatingLimits> limits;   // with --limits
  std::string page;                        // the overview page's path
  std::optional<std::string> export_file;  // with --export: every frame in one CSV file
  bool open_page = false;                  // with --open: show the page in the default browser
};

// Writes the page through a temporary file beside it, renamed into place at
// the end, so no half page ever stands under its name, and opens it with
// `open_page`. Refuses an output that is a file the run reads or not a
// regular file. Tells each capture file and each failure on `errors`.
// Returns the exit status: 0, 1 when a file could not be listed or read or
// the page could not be written, 2 when an output was refused.
int WriteReport(const ReportRequest& request, OutputStream& errors);

}  // namespace hkcsv
