// hkcsv's analysis run over the capture files of one downlink format, on the
// reader of captures (capture/) that hkreport shares.
#pragma once

#include <string_view>

#include "capture/downlink_format.h"
#include "text/text_output.h"

namespace hkcsv {

// Standard error, where the session's problems are told besides the trace,
// and whether one of them means that data is missing.
struct ProblemReport {
  OutputStream* errors = nullptr;  // standard error
  bool copy_trace = true;          // false when standard error is the console itself
  bool data_missing = false;       // a file could not be listed, read, created or written
};

// Lists the format's folder below `sample_root`, recreates its two CSV files
// and processes every capture file in name order, tracing on `console`.
void AnalyzeFormat(DownlinkFormat format, std::string_view sample_root, OutputStream& console, ProblemReport& problems);

}  // namespace hkcsv
