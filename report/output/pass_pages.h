// The pass pages on disk: a folder beside the overview page named after it
// ("HK_Report.html" gets "HK_Report_files/"), one subfolder per format, one
// page per capture file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/downlink_format.h"
#include "report/model/failure.h"
#include "report/output/output_check.h"

namespace hkcsv {

struct PassPagesPlace {
  std::string folder;         // the path of the pages' folder
  std::string folder_name;    // its name, as links from the overview start
  std::string overview_name;  // the overview page's name, as the pass pages link back
};

PassPagesPlace PlacePassPages(const std::string& overview_path);

// The format's subfolder of the pass pages.
std::string FormatFolder(const PassPagesPlace& place, DownlinkFormat format);

// The format's subfolder of the pass pages, made when missing.
Failure MakePassPagesFolder(const PassPagesPlace& place, DownlinkFormat format);

// Writes `html` as the page `name` in the format's subfolder. A page that
// already holds these bytes is left as it is (most pages of a run after a
// pass are); a page that is a link is replaced, not followed.
Failure WritePassPage(const PassPagesPlace& place, DownlinkFormat format, const std::string& name,
                      std::string_view html);

// The path of the page `name` in the format's subfolder.
std::string PassPagePath(const PassPagesPlace& place, DownlinkFormat format, const std::string& name);

// The path of the page of a format's passes of `year` (none: without a
// date), in the pages' folder itself.
std::string YearPagePath(const PassPagesPlace& place, DownlinkFormat format, std::optional<std::int64_t> year);

// What makes the page `page_name` of this overview its own, as a pass page
// (of the capture `capture_name` where given, whose page 1.1 wrote without a
// mark) or as a year page.
OwnPage PassPageOwn(const PassPagesPlace& place, std::string_view page_name, std::string_view capture_name = {});
OwnPage YearPageOwn(const PassPagesPlace& place, std::string_view page_name);

// Writes `html` as the page at `path` of the report's own, as WritePassPage does.
Failure WriteOwnPage(const std::string& path, std::string_view html);

// Removes the year pages of the format that are no longer written: only
// regular files named "FM-*.html" in the pages' folder, not among `names`
// (as the file system compares names), that carry this overview's year page
// mark naming them (or no page, as 1.2.0 wrote it).
void RemoveStaleYearPages(const PassPagesPlace& place, DownlinkFormat format, const std::vector<std::string>& names);

// Removes the pages of the format's subfolder whose capture file is no longer
// listed: only regular files named *.html, not among `names` (as the file
// system compares names), that are pass pages of this overview by their mark
// naming them (or no page, as 1.2.0 wrote it): a copy of a page saved there
// under another name stays.
void RemoveStalePages(const PassPagesPlace& place, DownlinkFormat format, const std::vector<std::string>& names);

}  // namespace hkcsv
