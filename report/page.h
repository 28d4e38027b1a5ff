// The overview page: one self-contained HTML5 file that is also well-formed
// XML, with inline CSS and SVG, no script and nothing fetched. At its top the
// latest pass of each format and a table of contents, then per format a
// summary, the pass table, the channel table and the charts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/limits.h"
#include "report/report_data.h"
#include "report/tables.h"

namespace hkcsv {

struct PageInputs {
  std::string sample_root;         // the base directory, as given
  const std::string* limits_file;  // null when no limits were given
  PageContext context;
};

// What a format gives the overview, rendered while its data is at hand, so
// that only one format's data is held at once.
struct FormatParts {
  std::string contents;  // its line of the table of contents
  std::string latest;    // its latest pass
  std::string section;   // summary, tables and charts
  std::uint64_t capture_files = 0;
};

// `limits` is null when none were given.
FormatParts RenderFormat(const FormatData& data, const LimitTable* limits, const PageContext& context);

// The whole page of the formats' parts, in order.
std::string RenderOverview(const PageInputs& inputs, const std::vector<FormatParts>& formats);

}  // namespace hkcsv
