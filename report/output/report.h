// hkreport's run: the capture files of the chosen formats read through the
// capture pipeline and settled, then written as an overview page and a page
// per pass, and on request every frame in one CSV file.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/model/collect.h"
#include "report/model/failure.h"
#include "report/model/limits.h"

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

// How far a run has come: the capture files read, then the pages written,
// each of how many.
enum class RunStage { kReading, kWriting };

// What the run tells while it runs, for the program to word: each failure
// (the run goes on where it can), each capture file once it is read, and
// its progress.
struct ReportObserver {
  std::function<void(const Failure& failure)> failed;
  PassRead pass_read;
  std::function<void(RunStage stage, std::uint64_t done, std::uint64_t total)> progress;
};

// An output that the run refused to write, and why.
struct Refusal {
  std::string path;
  std::string reason;
};

// A pass as a run that nobody watches weighs it.
struct WeighedPass {
  std::string name;
  std::optional<double> start;  // its ground time, when it stands on the time axis
  std::string zone;             // its header's zone token
  std::vector<Reason> why;
  bool judged = false;  // an earlier run with the list of judged captures judged it as it is
};

// A reported format whose folder stands, or whose folder went missing while
// its pages stand: what a run that nobody watches checks.
struct WeighedFormat {
  DownlinkFormat format = DownlinkFormat::kFM;
  bool folder_missing = false;      // its pages are kept, nothing of it read
  bool judged_before = false;       // the list of judged captures has its section
  std::vector<WeighedPass> passes;  // in listing order
};

struct ReportOutcome {
  // 0; 1 when a file could not be listed or read, or a file of the report's
  // own not written; 2 when an output was refused, before anything was read.
  int status = 0;
  std::optional<Refusal> refused;
  bool no_format_folder = false;  // none of the chosen formats' folders stands: nothing was written
  bool page_written = false;
  std::uint64_t capture_files = 0;  // of the formats reported
  std::uint64_t frames = 0;
  std::vector<WeighedFormat> formats;  // once the page is written
  // With ReportRequest::judge, once the page is written: the list of judged
  // captures to keep once the findings are told, and where.
  std::string judged_list_path;
  std::string judged_list;
};

// Reads the formats' capture files, settles what is known of every pass, and
// writes the pass pages, the export and last the overview, each through a
// temporary file beside it renamed into place, so that no half page ever
// stands under its name and the overview never links to a page that is not
// there. Refuses an output that is a file the run reads or not a regular
// file.
ReportOutcome WriteReport(const ReportRequest& request, const ReportObserver& observer);

// Keeps the list of judged captures that the run made, staged like the
// pages: every capture of the formats read, judged now or before.
Failure KeepJudgedList(const ReportOutcome& outcome);

}  // namespace hkcsv
