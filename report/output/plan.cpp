// The plan of a report and its refusals.
#include "report/output/plan.h"

#include "platform/files.h"
#include "report/output/output_check.h"
#include "report/output/pass_pages.h"
#include "report/pages/page_names.h"

namespace hkcsv {

namespace {

// The capture's file name, without its folder.
std::string CaptureName(const CaptureListing& listing, const CaptureSource& capture) {
  return capture.path.substr(listing.folder.size() + 1);
}

std::optional<Refusal> Refuse(const std::string& output, std::string reason) {
  if (reason.empty()) return std::nullopt;
  return Refusal{output, std::move(reason)};
}

}  // namespace

ReportPlan PlanReport(const ReportRequest& request) {
  ReportPlan plan;
  plan.layout = LayOutPages(request.page);
  for (const DownlinkFormat id : kDownlinkFormats) {
    if (!(id == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    PlannedFormat& format = plan.formats.emplace_back();
    format.format = id;
    format.listing = ListCaptures(request.sample_root, ConstantsOf(id));
    format.captures = CaptureSources(format.listing);
    std::vector<std::string> names;
    for (const CaptureSource& capture : format.captures) names.push_back(CaptureName(format.listing, capture));
    format.page_names = PassPageNames(names);
    format.pages_kept = format.listing.missing && FolderExists(FormatFolder(plan.layout, id));
  }
  return plan;
}

bool AnyFormatFolder(const ReportPlan& plan) {
  for (const PlannedFormat& format : plan.formats) {
    if (FolderExists(format.listing.folder)) return true;
  }
  return false;
}

bool Listed(const PlannedFormat& format) { return !format.listing.missing && format.listing.error == 0; }

std::optional<Refusal> RefuseOutputs(const ReportRequest& request, const ReportPlan& plan, JudgedList& judged) {
  const PageLayout& layout = plan.layout;
  std::vector<CaptureListing> listings;
  std::vector<std::string> capture_folders;
  for (const PlannedFormat& format : plan.formats) {
    listings.push_back(format.listing);
    if (FolderExists(format.listing.folder)) capture_folders.push_back(format.listing.folder);
  }
  std::vector<KeptFile> kept = KeptFiles(listings, request.limits ? &request.limits->file : nullptr);
  if (auto refused = Refuse(request.page, OutputRefusal(request.page, kept))) return refused;
  if (auto refused = Refuse(request.page, OverviewRefusal(request.page))) return refused;
  std::vector<std::string> folders{layout.folder};
  for (const PlannedFormat& format : plan.formats) folders.push_back(FormatFolder(layout, format.format));
  for (const std::string& folder : folders) {
    if (auto refused = Refuse(folder, PagesFolderRefusal(folder, capture_folders, request.page))) return refused;
  }
  kept.push_back({request.page, "the page"});
  for (const PlannedFormat& format : plan.formats) {
    for (std::size_t i = 0; i < format.captures.size(); ++i) {
      const std::string& name = format.page_names[i];
      const std::string path = PassPagePath(layout, format.format, name);
      // The page of the same capture that 1.1 wrote, without a mark, is ours to replace.
      const OwnPage own = PassPageOwn(layout, name, CaptureName(format.listing, format.captures[i]));
      if (auto refused = Refuse(path, OwnPageRefusal(path, own))) return refused;
      kept.push_back({path, "the pass page"});
    }
  }
  // The year pages that stand, whichever years this run writes (the dates
  // are not read yet); and no output of the user's in the pages' folder,
  // where a year page may go.
  for (const PlannedFormat& format : plan.formats) {
    std::vector<FolderEntry> entries;
    if (ListFolder(layout.folder + kPathSeparator, "*.html", entries) != 0) break;
    for (const FolderEntry& entry : entries) {
      if (!IsYearPageName(format.format, entry.name)) continue;
      const std::string path = layout.folder + kPathSeparator + entry.name;
      if (auto refused = Refuse(path, OwnPageRefusal(path, YearPageOwn(layout, entry.name)))) return refused;
      kept.push_back({path, "the year page"});
    }
  }
  const std::string station = StationPagePath(layout);
  if (auto refused = Refuse(station, OwnPageRefusal(station, StationPageOwn(layout)))) return refused;
  kept.push_back({station, "the station page"});
  if (request.judge) {
    const std::string path = JudgedListPath(layout);
    std::string refusal;
    if (!ReadJudgedList(path, layout.overview_name, judged, refusal)) return Refusal{path, refusal};
    kept.push_back({path, "the list of judged captures"});
  }
  if (!request.export_file) return std::nullopt;
  if (auto refused = Refuse(*request.export_file, OutputRefusal(*request.export_file, kept))) return refused;
  return Refuse(*request.export_file, PagesPlaceRefusal(*request.export_file, layout.folder));
}

}  // namespace hkcsv
