// The pass pages' folders and files: made, written when changed, and the
// stale ones removed.
#include "report/output/pass_pages.h"

#include <functional>
#include <unordered_set>

#include "platform/files.h"
#include "report/output/output_check.h"
#include "report/output/staged_file.h"
#include "report/pages/page_head.h"
#include "report/pages/page_names.h"

namespace hkcsv {

namespace {

// Removes the files of `folder` named PREFIX*.html that are not among `kept`
// and are the pages `own_of` their names: only pages this overview wrote and
// writes no more.
void RemoveStaleOwnPages(const std::string& folder, std::string_view prefix, const std::vector<std::string>& kept,
                         const std::function<OwnPage(std::string_view name)>& own_of) {
  std::vector<FolderEntry> entries;
  if (ListFolder(folder + kPathSeparator, "*.html", entries) != 0) return;
  std::unordered_set<std::string> current;
  for (const std::string& name : kept) current.insert(FileNameKey(name));
  for (const FolderEntry& entry : entries) {
    if (entry.is_folder || !entry.name.starts_with(prefix) || !entry.name.ends_with(".html") ||
        current.contains(FileNameKey(entry.name))) {
      continue;
    }
    const std::string path = folder + kPathSeparator + entry.name;
    if (IsOwnPage(path, own_of(entry.name))) RemoveFile(path);
  }
}

}  // namespace

OwnPage PassPageOwn(const PageLayout& place, std::string_view page_name, std::string_view capture_name) {
  return {PageMark(PageKind::kPass, page_name, place.overview_name),
          UnnamedPageMark(PageKind::kPass, place.overview_name),
          capture_name.empty() ? std::string() : Version11PassPageStart(capture_name)};
}

OwnPage YearPageOwn(const PageLayout& place, std::string_view page_name) {
  return {PageMark(PageKind::kYear, page_name, place.overview_name),
          UnnamedPageMark(PageKind::kYear, place.overview_name),
          {}};
}

OwnPage StationPageOwn(const PageLayout& place) {
  return {PageMark(PageKind::kStation, kStationPageName, place.overview_name), {}, {}};
}

Failure WriteOwnPage(const std::string& path, std::string_view html) {
  if (FileHolds(path, html)) return {};
  return WriteStagedFile(path, html, AtLink::kReplace);
}

void RemoveStaleYearPages(const PageLayout& place, DownlinkFormat format, const std::vector<std::string>& names) {
  RemoveStaleOwnPages(place.folder, std::string(ConstantsOf(format).folder) + "-", names,
                      [&place](std::string_view name) { return YearPageOwn(place, name); });
}

Failure MakePassPagesFolder(const PageLayout& place, DownlinkFormat format) {
  const std::string folder = FormatFolder(place, format);
  return {Attempt::kWrite, folder, MakeFolder(folder)};
}

Failure WritePassPage(const PageLayout& place, DownlinkFormat format, const std::string& name, std::string_view html) {
  return WriteOwnPage(PassPagePath(place, format, name), html);
}

void RemoveStalePages(const PageLayout& place, DownlinkFormat format, const std::vector<std::string>& names) {
  RemoveStaleOwnPages(FormatFolder(place, format), "", names,
                      [&place](std::string_view name) { return PassPageOwn(place, name); });
}

}  // namespace hkcsv
