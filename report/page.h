// The report page: one self-contained HTML5 file that is also well-formed
// XML, with inline CSS and SVG, no script and nothing fetched.
#pragma once

#include <cstdint>
#include <string>

#include "report/limits.h"
#include "report/report_data.h"

namespace hkcsv {

struct PageInputs {
  std::string sample_root;         // the base directory, as given
  const std::string* limits_file;  // null when no limits were given
};

// The page is written piece by piece, one format at a time, so that only one
// format's data is held at once.
void AppendPageStart(std::string& html, const PageInputs& inputs);
// The section of one format: summary, charts, pass table and channel table,
// or why there is nothing to show; `limits` is null when none were given.
void AppendFormat(std::string& html, const FormatData& data, const LimitTable* limits);
// The end of the page; `capture_files` of all formats together.
void AppendPageEnd(std::string& html, std::uint64_t capture_files);

}  // namespace hkcsv
