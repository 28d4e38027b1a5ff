// The page of a format's passes of one year (or of those without a date),
// beside the overview in its pages' folder: the pass table of those passes,
// linked to their pages, and back to the overview.
#pragma once

#include <cstddef>
#include <string>

#include "report/model/format_record.h"
#include "report/pages/page_names.h"

namespace hkcsv {

struct YearPageInput {
  const FormatRecord* format;
  std::size_t year;            // index into format->lists.years
  const PassPageLinks* links;  // the pass pages, as this page links to them
  std::string overview_href;   // from the year page, percent-encoded: "../HK_Report.html"
  std::string mark;            // YearPageMark of the overview
};

// Appends the page to `html`.
void RenderYearPage(std::string& html, const YearPageInput& input);

}  // namespace hkcsv
