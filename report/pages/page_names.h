// The file names of the report's pages (the pages' folder beside the
// overview, a page per capture, a page per year of older passes), which of
// them stand, and the links to them, percent-encoded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/downlink_format.h"

namespace hkcsv {

// The folder of the pass pages beside the overview page, named as browsers
// name the folder of a saved page: "HK_Report.html" gives "HK_Report_files".
// Only the ending ".html" is dropped (in any letter case on Windows, whose
// names ignore it), so that overviews whose names differ in their ending
// ("report.htm", and elsewhere "report.HTML") get folders of their own:
// "report.htm_files".
std::string PagesFolderName(std::string_view overview_name);

// The page name of each capture file, in listing order: its name with the
// ".txt" ending (any letter case) replaced by ".html". A name an earlier
// capture already took, letter case aside, gets "~2" (or "~3", ...) before
// its ending: "a.txt" and "a.TXT" give "a.html" and "a~2.html". A name that
// would pass the 255 bytes of a file name is cut where a character ends and
// followed by "~" and eight hex digits of a digest of the capture's name.
std::vector<std::string> PassPageNames(const std::vector<std::string>& capture_names);

// Where the pass pages of a format stand beside the overview, as the pages
// link to them.
struct PassPageLinks {
  std::string folder;              // the pages' folder (narrow, as on disk): "HK_Report_files"
  std::vector<std::string> names;  // by pass: its page's file name
  // By pass: whether its page stands; only those are linked. While the pages
  // are written, a page still to come counts as standing.
  std::vector<bool> written;
  std::vector<bool> years_written;  // by entry of FormatRecord::lists.years: the same of its page
  bool kept = false;                // the capture folder is missing: the pages of earlier runs stand, kept
};

// The link from the overview to the page of pass `pass`, or empty when its
// page was not written.
std::string PassHref(const PassPageLinks& links, DownlinkFormat format, std::size_t pass);

// The name of the page of a format's passes of a year, or of those without
// a date, in the pass pages' folder: "FM-2019.html", "FM-undated.html". No
// pass page takes such a name there: those stand in the format's folder.
std::string YearPageName(DownlinkFormat format, std::optional<std::int64_t> year);
// Whether `name` is such a name, of any year: what a run checks before it
// knows the years of its passes.
bool IsYearPageName(DownlinkFormat format, std::string_view name);
// The link to that page from the overview (from a page in the pages' folder
// when `pages_folder` is empty), as PassPageHref links to a pass page.
std::string YearPageHref(std::string_view pages_folder, DownlinkFormat format, std::optional<std::int64_t> year);
// How the pages name the year: "2019" (four digits, as the dates write it:
// "0001"), or "no date".
std::string YearLabel(std::optional<std::int64_t> year);

// A relative link: every byte outside A-Z a-z 0-9 - . _ ~ / as %HH of
// `utf8`'s bytes.
std::string PercentEncode(std::string_view utf8);

}  // namespace hkcsv
