// The report's own pages on disk (page_layout.h says where): folders made,
// pages written when changed, which pages are the report's own, and the
// stale ones removed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/downlink_format.h"
#include "report/model/failure.h"
#include "report/output/output_check.h"
#include "report/pages/page_layout.h"

namespace hkcsv {

// The format's subfolder of the pass pages, made when missing.
Failure MakePassPagesFolder(const PageLayout& place, DownlinkFormat format);

// Writes `html` as the page `name` in the format's subfolder. A page that
// already holds these bytes is left as it is (most pages of a run after a
// pass are); a page that is a link is replaced, not followed.
Failure WritePassPage(const PageLayout& place, DownlinkFormat format, const std::string& name, std::string_view html);

// What makes the page `page_name` of this overview its own, as a pass page
// (of the capture `capture_name` where given, whose page 1.1 wrote without a
// mark) or as a year page.
OwnPage PassPageOwn(const PageLayout& place, std::string_view page_name, std::string_view capture_name = {});
OwnPage YearPageOwn(const PageLayout& place, std::string_view page_name);
OwnPage StationPageOwn(const PageLayout& place);

// Writes `html` as the page at `path` of the report's own, as WritePassPage does.
Failure WriteOwnPage(const std::string& path, std::string_view html);

// Removes the year pages of the format that are no longer written: only
// regular files named "FM-*.html" in the pages' folder, not among `names`
// (as the file system compares names), that carry this overview's year page
// mark naming them (or no page, as 1.2.0 wrote it).
void RemoveStaleYearPages(const PageLayout& place, DownlinkFormat format, const std::vector<std::string>& names);

// Removes the pages of the format's subfolder whose capture file is no longer
// listed: only regular files named *.html, not among `names` (as the file
// system compares names), that are pass pages of this overview by their mark
// naming them (or no page, as 1.2.0 wrote it): a copy of a page saved there
// under another name stays.
void RemoveStalePages(const PageLayout& place, DownlinkFormat format, const std::vector<std::string>& names);

}  // namespace hkcsv
