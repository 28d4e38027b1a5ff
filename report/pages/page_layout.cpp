// The report's folders, files and the links back to the overview.
#include "report/pages/page_layout.h"

#include "platform/files.h"
#include "report/pages/page_names.h"

namespace hkcsv {

PageLayout LayOutPages(const std::string& overview_path) {
  const std::size_t cut = overview_path.find_last_of(kPathSeparators);
  const std::size_t name_start = cut == std::string::npos ? 0 : cut + 1;
  PageLayout layout;
  layout.overview_name = overview_path.substr(name_start);
  layout.folder_name = PagesFolderName(layout.overview_name);
  layout.folder = overview_path.substr(0, name_start) + layout.folder_name;
  return layout;
}

std::string FormatFolder(const PageLayout& layout, DownlinkFormat format) {
  return layout.folder + kPathSeparator + ConstantsOf(format).folder;
}

std::string PassPagePath(const PageLayout& layout, DownlinkFormat format, const std::string& name) {
  return FormatFolder(layout, format) + kPathSeparator + name;
}

std::string YearPagePath(const PageLayout& layout, DownlinkFormat format, std::optional<std::int64_t> year) {
  return layout.folder + kPathSeparator + YearPageName(format, year);
}

std::string JudgedListPath(const PageLayout& layout) { return layout.folder + kPathSeparator + kJudgedListName; }

std::string StationPagePath(const PageLayout& layout) { return layout.folder + kPathSeparator + kStationPageName; }

std::string StationHref(const PageLayout& layout, DownlinkFormat format) {
  return PercentEncode(NarrowToUtf8(layout.folder_name)) + "/" + StationHref(PageKind::kStation, format);
}

std::string StationHref(PageKind from, DownlinkFormat format) {
  return (from == PageKind::kPass ? "../" : "") + std::string(kStationPageName) + "#" + ConstantsOf(format).id;
}

std::string OverviewHref(const PageLayout& layout, PageKind kind) {
  return (kind == PageKind::kPass ? "../../" : "../") + PercentEncode(NarrowToUtf8(layout.overview_name));
}

}  // namespace hkcsv
