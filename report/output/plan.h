// The plan of a report, made before anything is read or written: the chosen
// formats with their captures and the names of their pages, where every page
// goes (the page layout), and every refusal of the run, found in one place.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "capture/capture_listing.h"
#include "report/model/limits.h"
#include "report/output/judged_list.h"
#include "report/pages/page_layout.h"

namespace hkcsv {

struct ReportRequest {
  std::string sample_root;  // the base directory holding the FM and FSK folders
  bool fm = true;
  bool fsk = true;
  std::optional<OperatingLimits> limits;   // with --limits
  std::string page;                        // the overview page's path
  std::optional<std::string> export_file;  // with --export: every frame in one CSV file
  // With --fail-on: the captures judged are read from the list that runs
  // like this one keep, and the list is kept anew (KeepJudgedList).
  bool judge = false;
};

// An output that the run refused to write, and why.
struct Refusal {
  std::string path;
  std::string reason;
};

struct PlannedFormat {
  DownlinkFormat format = DownlinkFormat::kFM;
  CaptureListing listing;
  std::vector<CaptureSource> captures;  // in listing order
  std::vector<std::string> page_names;  // by capture: its pass page's file name
  // Its capture folder is missing while its pages stand (a share not
  // mounted, a rename): nothing is read, and its pages are kept.
  bool pages_kept = false;
};

struct ReportPlan {
  PageLayout layout;
  std::vector<PlannedFormat> formats;  // the chosen ones, in the order of every report
};

// Lists the chosen formats' folders and names their pages.
ReportPlan PlanReport(const ReportRequest& request);

// Whether any chosen format's folder stands: a run that finds none writes
// and removes nothing.
bool AnyFormatFolder(const ReportPlan& plan);

// Whether a format's folder was listed: its stale pages and its part of the
// list of judged captures follow its captures only then.
bool Listed(const PlannedFormat& format);

// Every refusal of the run, before anything is read or made: an output that
// is a file the run reads or another output, an overview over a pass or year
// page, an export in the pages' folder, pages in a link or a capture folder,
// a pass or year page over a file that is no page of this report, a list of
// judged captures that is no list of this report (it is read into `judged`
// here, with --fail-on).
std::optional<Refusal> RefuseOutputs(const ReportRequest& request, const ReportPlan& plan, JudgedList& judged);

}  // namespace hkcsv
