// The page of one pass: its frame account, its channels, its charts over the
// pass's own ground time, its header and a table of its frames, with links
// to the overview and to the previous and next capture file of its format.
#pragma once

#include <cstddef>
#include <string>

#include "report/limits.h"
#include "report/report_data.h"

namespace hkcsv {

struct PassPageInput {
  const FormatData* data;
  std::size_t pass;  // index into data->passes
  const PassDetail* detail;
  const LimitTable* limits;   // null without limits
  std::string overview_href;  // from the pass page, percent-encoded: "../../HK_Report.html"
};

// Appends the page to `html`.
void RenderPassPage(std::string& html, const PassPageInput& input);

}  // namespace hkcsv
