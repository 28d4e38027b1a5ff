// Where the report's pages stand and how they link each other, in one place:
// the overview; beside it its pages' folder, named after it as a browser
// names the folder of a saved page; in that folder the year pages, the list
// of judged captures and a folder per format of pass pages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "capture/downlink_format.h"
#include "report/pages/page_head.h"

namespace hkcsv {

struct PageLayout {
  std::string folder;         // the path of the pages' folder
  std::string folder_name;    // its name, as links from the overview start
  std::string overview_name;  // the overview page's name, as the other pages link back
};

// The layout of the overview at `overview_path`.
PageLayout LayOutPages(const std::string& overview_path);

// The list of judged captures, in the pages' folder: no page takes its name.
inline constexpr char kJudgedListName[] = "judged.txt";
// The station page, in the pages' folder: no capture's page takes its name
// (those stand in the formats' folders), nor a year's ("FM-2019.html").
inline constexpr char kStationPageName[] = "station.html";

// The paths of the folders and files.
std::string FormatFolder(const PageLayout& layout, DownlinkFormat format);
std::string PassPagePath(const PageLayout& layout, DownlinkFormat format, const std::string& name);
// The page of a format's passes of `year` (none: without a date).
std::string YearPagePath(const PageLayout& layout, DownlinkFormat format, std::optional<std::int64_t> year);
std::string JudgedListPath(const PageLayout& layout);
std::string StationPagePath(const PageLayout& layout);

// The link back to the overview from a page of `kind`: "../../HK_Report.html"
// from a pass page in its format's folder, "../HK_Report.html" from a year
// page or the station page, percent-encoded UTF-8.
std::string OverviewHref(const PageLayout& layout, PageKind kind);

// The link to the station page's part of a format: from the overview
// ("HK_Report_files/station.html#fm"), or from a page of `kind` in the
// pages' folder ("station.html#fm") or in a format's folder
// ("../station.html#fm").
std::string StationHref(const PageLayout& layout, DownlinkFormat format);
std::string StationHref(PageKind from, DownlinkFormat format);

}  // namespace hkcsv
