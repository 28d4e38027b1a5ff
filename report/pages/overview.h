// The overview page: one self-contained HTML5 file that is also well-formed
// XML, with inline CSS and SVG, no script and nothing fetched. At its top the
// latest pass of each format and a table of contents, then per format a
// summary, the pass table, the channel table and the charts.
#pragma once

#include <string>
#include <vector>

#include "report/model/format_record.h"
#include "report/pages/page_layout.h"
#include "report/pages/page_names.h"

namespace hkcsv {

// A format's section of the overview: its summary, pass table, channel
// table, trend charts (from its record's series) and per-pass extremes.
std::string RenderFormatSection(const FormatRecord& format, const PassPageLinks& pages);

// A format as the overview shows it: its settled record, where its pass
// pages stand, and its section, rendered while its series were at hand.
struct OverviewFormat {
  const FormatRecord* record;
  const PassPageLinks* pages;
  const std::string* section;
};

struct OverviewInput {
  std::string sample_root;         // the base directory, as given
  const std::string* limits_file;  // null when no limits were given
  std::vector<OverviewFormat> formats;
  const PageLayout* layout;  // where the other pages stand
  bool station_written;      // the station page stands: the station card links it
};

std::string RenderOverview(const OverviewInput& input);

}  // namespace hkcsv
