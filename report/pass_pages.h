// The pass pages on disk: a folder beside the overview page named after it
// ("HK_Report.html" gets "HK_Report_files/"), one subfolder per format, one
// page per capture file.
#pragma once

#include <string>
#include <vector>

#include "report/limits.h"
#include "report/report_data.h"
#include "text/text_output.h"

namespace hkcsv {

struct PassPagesPlace {
  std::string folder;         // the path of the pages' folder
  std::string folder_name;    // its name, as links from the overview start
  std::string overview_name;  // the overview page's name, as the pass pages link back
};

PassPagesPlace PlacePassPages(const std::string& overview_path);

// The format's subfolder of the pass pages, made when missing. Returns 0, or
// the error number, told on `errors`.
int MakePassPagesFolder(const PassPagesPlace& place, DownlinkFormat format, OutputStream& errors);

// Writes the pass page of data.passes[pass], rendered in `buffer` (kept from
// page to page), into the format's subfolder and sets its page_written. A page that already holds these bytes is left
// as it is (most pages of a run after a pass are); a page that is a link is replaced, not followed. A failure is told
// on `errors` ("hkreport: cannot write FILE: REASON") and returned.
int WritePassPage(const PassPagesPlace& place, FormatData& data, std::size_t pass, const PassDetail& detail,
                  const LimitTable* limits, std::string& buffer, OutputStream& errors);

// Removes the pages of the format's subfolder whose capture file is no longer
// listed: only regular files named *.html that no pass of `data` has.
void RemoveStalePages(const PassPagesPlace& place, const FormatData& data);

}  // namespace hkcsv
