// The page of one pass: why it is flagged, its frame account, its channels,
// its charts over the pass's own ground time, its header and a table of its
// frames, with links to the overview and to the previous and next capture
// file of its format.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/model/format_record.h"
#include "report/model/replay.h"
#include "report/pages/page_names.h"

namespace hkcsv {

struct PassPageInput {
  const FormatRecord* format;
  std::size_t pass;  // index into format->passes
  const PassDetail* detail;
  const PassPageLinks* links;  // the format's pages: the previous and next page
  std::string overview_href;   // from the pass page, percent-encoded: "../../HK_Report.html"
  std::string mark;            // PassPageMark of the overview
};

// Appends the page to `html`.
void RenderPassPage(std::string& html, const PassPageInput& input);

}  // namespace hkcsv
