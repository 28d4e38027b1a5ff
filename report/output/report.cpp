// hkreport's run, in order: the plan and its refusals, temporary files that
// earlier runs left swept, the pages' folders made and the export begun,
// every format read and settled (its frames kept aside in a scratch file),
// then each format rendered into files: its pass pages, its trend series and
// export rows, its year pages; the stale pages removed, and the overview
// last, so that it never links to a page that is not there.
#include "report/output/report.h"

#include <cerrno>
#include <functional>
#include <vector>

#include "platform/files.h"
#include "report/output/export_csv.h"
#include "report/output/left_temporaries.h"
#include "report/output/pass_pages.h"
#include "report/output/render.h"
#include "report/output/staged_file.h"
#include "report/pages/overview.h"
#include "report/pages/page_head.h"
#include "report/pages/page_names.h"
#include "report/pages/station_page.h"

namespace hkcsv {

namespace {

// The frames of a format's passes, kept aside in a scratch file of the
// pages' folder from the collection to the pages.
struct FrameStore {
  File file;
  OutputStream out;
  std::string folder;  // as failures name it: the scratch file has no name
};

// A chosen format while the report is written.
struct Format {
  const PlannedFormat* plan = nullptr;
  bool pages_folder = false;  // its folder of pass pages stands
  FrameStore frames;
  FormatRecord record;
  PassPageLinks pages;
  std::string section;  // its part of the overview, rendered once its pass pages stand
};

// How far the run has come, told to the observer as it goes.
struct Progress {
  std::uint64_t captures = 0;  // of the formats reported
  std::uint64_t read = 0;
  std::uint64_t written = 0;  // pass pages
};

// The run's own: what it tells, where it has come, and what happened.
struct Run {
  const ReportRequest& request;
  const ReportObserver& observer;
  const PageLayout& layout;
  ReportOutcome& outcome;
  Progress progress{};
};

void Advance(Run& run, RunStage stage) {
  std::uint64_t& done = stage == RunStage::kReading ? run.progress.read : run.progress.written;
  if (done == run.progress.captures) return;  // a page written again is no more progress
  ++done;
  if (run.observer.progress) run.observer.progress(stage, done, run.progress.captures);
}

void Tell(Run& run, const Failure& failure) {
  if (run.observer.failed) run.observer.failed(failure);
}

// A file or folder of the report's own that could not be written.
void FailWrite(Run& run, const Failure& failure) {
  Tell(run, failure);
  run.outcome.write_failed = true;
}

// Makes the folder of a format's pass pages, where its capture folder stands
// (a format without one has no pass to give a page).
void MakeFormatFolder(Run& run, Format& format) {
  if (format.plan->listing.missing) return;
  const Failure failure = MakePassPagesFolder(run.layout, format.plan->format);
  if (failure.error != 0) FailWrite(run, failure);
  format.pages_folder = failure.error == 0;
}

// Reads and settles a format, its frames stored aside in a scratch file in
// the pages' folder, which has no name. Returns false, with the failure told,
// when they cannot be.
bool Collect(Run& run, Format& format) {
  const PlannedFormat& plan = *format.plan;
  // Where a format's capture folder is missing and its pages stand, the
  // folder went missing: its pages are kept, and the run tells it.
  if (plan.pages_kept) {
    Tell(run, {Attempt::kMissing, plan.listing.folder, ENOENT});
    run.outcome.data_missing = true;
  }
  FrameStore& store = format.frames;
  store.folder = run.layout.folder;
  if (const int error = CreateScratchFile(store.folder, store.file)) {
    FailWrite(run, {Attempt::kScratchWrite, store.folder, error});
    return false;
  }
  store.out = OutputToDescriptor(store.file.descriptor(), false);
  if (plan.listing.error != 0) Tell(run, {Attempt::kList, plan.listing.folder, plan.listing.error});
  const LimitTable* limits = run.request.limits ? &run.request.limits->table : nullptr;
  format.record = CollectFormat(plan.format, plan.listing, plan.captures, limits, store.out,
                                [&run](const FormatRecord& record, const PassRecord& pass) {
                                  if (run.observer.pass_read) run.observer.pass_read(record, pass);
                                  Advance(run, RunStage::kReading);
                                });
  if (DataMissing(format.record)) run.outcome.data_missing = true;
  Flush(store.out);
  if (store.out.error != 0) {
    FailWrite(run, {Attempt::kScratchWrite, store.folder, store.out.error});
    return false;
  }
  format.pages.folder = run.layout.folder_name;
  format.pages.names = plan.page_names;
  format.pages.kept = plan.pages_kept;
  return true;
}

// The format's stored frames, read back from their start each time.
FrameReader ScratchReader(Run& run, FrameStore& store) {
  return [&run, &store](const std::function<bool(InputStream&)>& read) {
    int error = RewindFile(store.file);
    if (error == 0) {
      InputStream frames = InputFromDescriptor(store.file.descriptor(), false);
      if (read(frames)) return true;
      error = frames.error != 0 ? frames.error : EIO;
    }
    FailWrite(run, {Attempt::kScratchRead, store.folder, error});
    return false;
  };
}

// Renders a format into its files: each page staged and renamed into place,
// its export rows into the export. Then removes the pages of captures no
// longer listed, and the scratch file goes.
bool WriteFormat(Run& run, Format& format, StagedFile* export_file) {
  const DownlinkFormat id = format.plan->format;
  RenderSink sink;
  if (format.pages_folder) {
    sink.pass_page = [&](std::size_t pass, std::string_view html) {
      const Failure failure = WritePassPage(run.layout, id, format.pages.names[pass], html);
      if (failure.error != 0) FailWrite(run, failure);
      Advance(run, RunStage::kWriting);
      return failure.error == 0;
    };
    sink.year_page = [&](std::size_t year, std::string_view html) {
      const Failure failure = WriteOwnPage(YearPagePath(run.layout, id, format.record.lists.years[year].year), html);
      if (failure.error != 0) FailWrite(run, failure);
      return failure.error == 0;
    };
  }
  if (export_file) sink.export_rows = &export_file->out;
  if (!RenderFormat(run.layout, format.record, format.pages, ScratchReader(run, format.frames), sink, format.section)) {
    return false;
  }
  if (format.pages_folder && Listed(*format.plan)) {
    RemoveStalePages(run.layout, id, format.pages.names);
    std::vector<std::string> years;
    for (const YearPasses& year : format.record.lists.years) years.push_back(YearPageName(id, year.year));
    RemoveStaleYearPages(run.layout, id, years);
  }
  format.frames = FrameStore{};  // the scratch file goes
  return true;
}

}  // namespace

ReportOutcome WriteReport(const ReportRequest& request, const ReportObserver& observer) {
  ReportOutcome outcome;
  const ReportPlan plan = PlanReport(request);
  if (!AnyFormatFolder(plan)) {
    outcome.no_format_folder = true;
    return outcome;
  }
  JudgedList judged;
  outcome.refused = RefuseOutputs(request, plan, judged);
  if (outcome.refused) return outcome;
  Run run{request, observer, plan.layout, outcome};
  RemoveLeftTemporaries(plan.layout, request.page, request.export_file);

  // The folder of the pass pages first: where it cannot be made, the
  // overview beside it cannot be written either.
  if (const int error = MakeFolder(plan.layout.folder)) {
    FailWrite(run, {Attempt::kWrite, plan.layout.folder, error});
    return outcome;
  }
  StagedFile export_file;
  if (request.export_file) {
    if (const Failure failure = BeginStagedFile(*request.export_file, export_file); failure.error != 0) {
      FailWrite(run, failure);
      return outcome;
    }
    WriteExportColumns(export_file.out);
  }

  // Every format read and settled before any page is written; then each
  // format's pages.
  std::vector<Format> formats;
  for (const PlannedFormat& planned : plan.formats) {
    formats.emplace_back().plan = &planned;
    run.progress.captures += planned.captures.size();
  }
  for (Format& format : formats) {
    MakeFormatFolder(run, format);
    if (!Collect(run, format)) return outcome;
  }
  for (Format& format : formats) {
    if (!WriteFormat(run, format, request.export_file ? &export_file : nullptr)) return outcome;
  }

  // The station page of every format read, linking the pass pages that stand.
  StationPageInput station{&plan.layout, {}, PageMark(PageKind::kStation, kStationPageName, plan.layout.overview_name)};
  for (const Format& format : formats) {
    if (!format.plan->listing.missing) station.formats.push_back({&format.record, &format.pages});
  }
  std::string station_html;
  RenderStationPage(station_html, station);
  const Failure station_failure = WriteOwnPage(StationPagePath(plan.layout), station_html);
  if (station_failure.error != 0) FailWrite(run, station_failure);

  // The overview last, so that it never links to a page that is not there.
  OverviewInput overview{request.sample_root,
                         request.limits ? &request.limits->file : nullptr,
                         {},
                         &plan.layout,
                         station_failure.error == 0};
  for (const Format& format : formats) {
    overview.formats.push_back({&format.record, &format.pages, &format.section});
    outcome.capture_files += format.record.totals.files;
    outcome.frames += format.record.totals.frames;
  }
  Failure failure = WriteStagedFile(request.page, RenderOverview(overview));
  if (failure.error == 0 && request.export_file) failure = CommitStagedFile(export_file);
  if (failure.error != 0) {
    FailWrite(run, failure);
    return outcome;  // an export not committed is abandoned with its file
  }
  outcome.page_written = true;
  for (const Format& format : formats) {
    const PlannedFormat& planned = *format.plan;
    if (planned.listing.missing && !planned.pages_kept) continue;  // a format this root never had
    const auto& before = judged.formats[static_cast<std::size_t>(planned.format)];
    outcome.formats.push_back(Weigh(format.record, planned.pages_kept, before));
  }
  if (request.judge) {
    for (const Format& format : formats) {
      if (Listed(*format.plan)) TakeJudged(judged, format.record);
    }
    outcome.judged_list_path = JudgedListPath(plan.layout);
    outcome.judged_list = RenderJudgedList(plan.layout.overview_name, judged);
  }
  return outcome;
}

Failure KeepJudgedList(const ReportOutcome& outcome) {
  if (outcome.judged_list_path.empty()) return {};
  return WriteOwnPage(outcome.judged_list_path, outcome.judged_list);
}

}  // namespace hkcsv
