// hkreport's run: planned (plan.h), every format read and settled, rendered
// (render.h) and written: the pass and year pages, the export, and the
// overview last, each through a temporary file renamed into place.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/model/collect.h"
#include "report/model/failure.h"
#include "report/output/judged_list.h"
#include "report/output/plan.h"

namespace hkcsv {

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

// What happened, for the program to map to its exit status.
struct ReportOutcome {
  std::optional<Refusal> refused;   // an output refused: nothing was read or written
  bool no_format_folder = false;    // none of the chosen formats' folders stands: nothing was written
  bool data_missing = false;        // a capture folder or file could not be listed or read, or a folder went missing
  bool write_failed = false;        // a file or folder of the report's own could not be written
  bool page_written = false;        // the overview stands, and with it every page it links
  std::uint64_t capture_files = 0;  // of the formats reported
  std::uint64_t frames = 0;
  std::vector<WeighedFormat> formats;  // once the page is written
  // With ReportRequest::judge, once the page is written: the list of judged
  // captures to keep once the findings are told, and where.
  std::string judged_list_path;
  std::string judged_list;
};

// Plans, reads, settles, renders and writes the report. Refuses an output
// that is a file the run reads, not a regular file, or no page of its own
// (plan.h), before anything is read or written.
ReportOutcome WriteReport(const ReportRequest& request, const ReportObserver& observer);

// Keeps the list of judged captures that the run made, staged like the
// pages: every capture of the formats read, judged now or before.
Failure KeepJudgedList(const ReportOutcome& outcome);

}  // namespace hkcsv
