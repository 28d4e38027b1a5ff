// hkreport's run, in order: the outputs checked, every format collected and
// settled, the trend series and the export from the stored frames, the pass
// pages, and the overview last.
#include "report/output/report.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <unordered_set>
#include <vector>

#include "platform/files.h"
#include "report/model/replay.h"
#include "report/output/export_csv.h"
#include "report/output/judged_list.h"
#include "report/output/left_temporaries.h"
#include "report/output/output_check.h"
#include "report/output/pass_pages.h"
#include "report/output/staged_file.h"
#include "report/pages/overview.h"
#include "report/pages/page_head.h"
#include "report/pages/page_names.h"
#include "report/pages/pass_page.h"
#include "report/pages/year_page.h"

namespace hkcsv {

namespace {

constexpr int kRefusedStatus = 2;

// The frames of a format's passes, kept aside in a scratch file of the
// pages' folder from the collection to the pages.
struct FrameStore {
  File file;
  OutputStream out;
  std::string folder;  // as failures name it: the scratch file has no name
};

// A chosen format while the report is written.
struct Format {
  CaptureListing listing;
  bool pages_folder = false;  // its subfolder of pass pages stands
  bool pages_kept = false;    // its capture folder is gone, its pages stand: they are kept
  FrameStore frames;
  FormatRecord record;
  PassPageLinks pages;
  std::string section;  // its part of the overview, rendered once its pass pages stand
};

// The capture's file name, without its folder.
std::string CaptureName(const CaptureListing& listing, const CaptureSource& capture) {
  return capture.path.substr(listing.folder.size() + 1);
}

// The chosen formats, listed, with the names of their pass pages.
std::vector<Format> ListFormats(const ReportRequest& request) {
  std::vector<Format> formats;
  for (const DownlinkFormat id : kDownlinkFormats) {
    if (!(id == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    Format& format = formats.emplace_back();
    format.listing = ListCaptures(request.sample_root, ConstantsOf(id));
    format.record.format = id;
    for (const CaptureSource& capture : CaptureSources(format.listing)) {
      format.pages.names.push_back(CaptureName(format.listing, capture));
    }
    format.pages.names = PassPageNames(format.pages.names);
  }
  return formats;
}

std::string JudgedListPath(const PassPagesPlace& place) { return place.folder + kPathSeparator + kJudgedListName; }

std::optional<Refusal> Refuse(const std::string& output, std::string reason) {
  if (reason.empty()) return std::nullopt;
  return Refusal{output, std::move(reason)};
}

// What the run refuses to write, found before anything is read or made: an
// output that is a file the run reads or another output, an overview over a
// pass or year page, an export in the pages' folder, pages in a link or a
// capture folder, a pass or year page over a file that is no page of this
// report, a list of judged captures that is no list of this report.
std::optional<Refusal> CheckOutputs(const ReportRequest& request, const PassPagesPlace& place,
                                    const std::vector<Format>& formats, JudgedList& judged) {
  std::vector<CaptureListing> listings;
  std::vector<std::string> capture_folders;
  for (const Format& format : formats) {
    listings.push_back(format.listing);
    if (FolderExists(format.listing.folder)) capture_folders.push_back(format.listing.folder);
  }
  std::vector<KeptFile> kept = KeptFiles(listings, request.limits ? &request.limits->file : nullptr);
  if (auto refused = Refuse(request.page, OutputRefusal(request.page, kept))) return refused;
  if (auto refused = Refuse(request.page, OverviewRefusal(request.page))) return refused;
  std::vector<std::string> folders{place.folder};
  for (const Format& format : formats) folders.push_back(FormatFolder(place, format.record.format));
  for (const std::string& folder : folders) {
    if (auto refused = Refuse(folder, PagesFolderRefusal(folder, capture_folders, request.page))) return refused;
  }
  kept.push_back({request.page, "the page"});
  for (const Format& format : formats) {
    const std::vector<CaptureSource> captures = CaptureSources(format.listing);
    for (std::size_t i = 0; i < captures.size(); ++i) {
      const std::string& name = format.pages.names[i];
      const std::string path = PassPagePath(place, format.record.format, name);
      // The page of the same capture that 1.1 wrote, without a mark, is ours to replace.
      const OwnPage own = PassPageOwn(place, name, CaptureName(format.listing, captures[i]));
      if (auto refused = Refuse(path, OwnPageRefusal(path, own))) return refused;
      kept.push_back({path, "the pass page"});
    }
  }
  // The year pages that stand, whichever years this run writes; and no
  // output of the user's in the pages' folder, where a year page may go.
  for (const Format& format : formats) {
    std::vector<FolderEntry> entries;
    if (ListFolder(place.folder + kPathSeparator, "*.html", entries) != 0) break;
    for (const FolderEntry& entry : entries) {
      if (!IsYearPageName(format.record.format, entry.name)) continue;
      const std::string path = place.folder + kPathSeparator + entry.name;
      if (auto refused = Refuse(path, OwnPageRefusal(path, YearPageOwn(place, entry.name)))) return refused;
      kept.push_back({path, "the year page"});
    }
  }
  if (request.judge) {
    const std::string path = JudgedListPath(place);
    std::string refusal;
    if (!ReadJudgedList(path, place.overview_name, judged, refusal)) return Refusal{path, refusal};
    kept.push_back({path, "the list of judged captures"});
  }
  if (!request.export_file) return std::nullopt;
  if (auto refused = Refuse(*request.export_file, OutputRefusal(*request.export_file, kept))) return refused;
  return Refuse(*request.export_file, PagesPlaceRefusal(*request.export_file, place.folder));
}

// Whether a format's folder was listed: its list of judged captures and its
// stale pages follow its captures only then.
bool Listed(const Format& format) { return !format.listing.missing && format.listing.error == 0; }

// A format as a run that nobody watches weighs it, its passes marked by the
// list of those judged before.
WeighedFormat Weigh(const Format& format, const std::optional<std::vector<std::string>>& judged) {
  const FormatRecord& record = format.record;
  WeighedFormat weighed{record.format, format.pages_kept, judged.has_value(), {}};
  const std::unordered_set<std::string> before =
      judged ? std::unordered_set<std::string>(judged->begin(), judged->end()) : std::unordered_set<std::string>();
  for (const PassRecord& pass : record.passes) {
    weighed.passes.push_back({pass.name, OnTimeAxis(pass) ? pass.start : std::nullopt, pass.file.header.time_zone,
                              pass.why, before.contains(JudgedKey(pass))});
  }
  return weighed;
}

// The list of judged captures after this run: every capture of the formats
// listed now, and what earlier runs judged of the others.
JudgedList JudgedAfter(const std::vector<Format>& formats, JudgedList judged) {
  for (const Format& format : formats) {
    if (!Listed(format)) continue;
    std::vector<std::string>& keys = judged.formats[static_cast<std::size_t>(format.record.format)].emplace();
    for (const PassRecord& pass : format.record.passes) keys.push_back(JudgedKey(pass));
  }
  return judged;
}

// Whether any chosen format's folder stands: a run that finds none writes
// and removes nothing.
bool AnyFormatFolder(const std::vector<Format>& formats) {
  for (const Format& format : formats) {
    if (FolderExists(format.listing.folder)) return true;
  }
  return false;
}

// How far the run has come, told to the observer as it goes.
struct Progress {
  std::uint64_t captures = 0;  // of the formats reported
  std::uint64_t read = 0;
  std::uint64_t written = 0;  // pass pages
};

void Advance(const ReportObserver& observer, Progress& progress, RunStage stage) {
  std::uint64_t& done = stage == RunStage::kReading ? progress.read : progress.written;
  ++done;
  if (observer.progress) observer.progress(stage, done, progress.captures);
}

void Fail(const ReportObserver& observer, ReportOutcome& outcome, const Failure& failure) {
  if (observer.failed) observer.failed(failure);
  outcome.status = 1;
}

// The export's rows of one format, written as its frames are read back: the
// cells every row of a pass starts with are made once per pass.
FrameVisitor ExportRows(StagedFile& file, DownlinkFormat format) {
  return [&file, format, cells = std::string(), pass = static_cast<const PassRecord*>(nullptr)](
             const PassRecord& record, const ReplayedFrame& frame) mutable {
    if (pass != &record) {
      pass = &record;
      cells = ExportPassCells(ConstantsOf(format).folder, record.name, record.start, record.file.header.time_zone);
    }
    WriteExportRow(file.out, cells, frame.ground_time, frame.frame, frame.worst);
  };
}

// Reads the format's stored frames back from their start with `read`,
// which returns false when they end short of what was stored.
bool ReadBack(FrameStore& store, const std::function<bool(InputStream&)>& read, const ReportObserver& observer,
              ReportOutcome& outcome) {
  int error = RewindFile(store.file);
  if (error == 0) {
    InputStream frames = InputFromDescriptor(store.file.descriptor(), false);
    if (read(frames)) return true;
    error = frames.error != 0 ? frames.error : EIO;
  }
  Fail(observer, outcome, {Attempt::kScratchRead, store.folder, error});
  return false;
}

// Reads and settles a format, its frames stored aside in a scratch file in
// the pages' folder, which has no name. Returns false, with the failure told,
// when they cannot be.
bool Collect(const PassPagesPlace& place, const LimitTable* limits, Format& format, const ReportObserver& observer,
             ReportOutcome& outcome, Progress& progress) {
  const DownlinkFormat id = format.record.format;
  // Where a format's capture folder is missing and its pages stand, the
  // folder went missing (a share not mounted, a rename): its pages are
  // kept, and the run tells it.
  if (format.listing.missing && FolderExists(FormatFolder(place, id))) {
    format.pages_kept = true;
    format.pages.kept = true;
    Fail(observer, outcome, {Attempt::kMissing, format.listing.folder, ENOENT});
  }
  FrameStore& store = format.frames;
  store.folder = place.folder;
  if (const int error = CreateScratchFile(store.folder, store.file)) {
    Fail(observer, outcome, {Attempt::kScratchWrite, store.folder, error});
    return false;
  }
  store.out = OutputToDescriptor(store.file.descriptor(), false);
  if (format.listing.error != 0) {
    Fail(observer, outcome, {Attempt::kList, format.listing.folder, format.listing.error});
  }
  format.record = CollectFormat(id, format.listing, CaptureSources(format.listing), limits, store.out,
                                [&](const FormatRecord& record, const PassRecord& pass) {
                                  if (observer.pass_read) observer.pass_read(record, pass);
                                  Advance(observer, progress, RunStage::kReading);
                                });
  if (DataMissing(format.record)) outcome.status = 1;
  Flush(store.out);
  if (store.out.error != 0) {
    Fail(observer, outcome, {Attempt::kScratchWrite, store.folder, store.out.error});
    return false;
  }
  format.pages.folder = place.folder_name;
  // Each page counts as written until its write fails: a page links those
  // still to come.
  format.pages.written.assign(format.record.passes.size(), format.pages_folder);
  return true;
}

// Makes the folder of a format's pass pages, where its capture folder stands
// (a format without one has no pass to give a page).
void MakeFormatFolder(const PassPagesPlace& place, Format& format, const ReportObserver& observer,
                      ReportOutcome& outcome) {
  if (format.listing.missing) return;
  const Failure failure = MakePassPagesFolder(place, format.record.format);
  if (failure.error != 0) Fail(observer, outcome, failure);
  format.pages_folder = failure.error == 0;
}

// Renders and writes the pass pages of a format from its stored frames: on
// the first round every page (`again` is set for the pages whose next
// neighbour could not be written, as they link it), on a later round only
// those of `again`. Returns false when the stored frames could not be read
// back.
bool WritePassPages(const PassPagesPlace& place, InputStream& frames, Format& format, const ReportObserver& observer,
                    ReportOutcome& outcome, Progress& progress, std::vector<bool>& again, bool first_round) {
  const FormatRecord& record = format.record;
  const std::string overview_href = "../../" + PercentEncode(NarrowToUtf8(place.overview_name));
  PassDetail detail;
  std::string html;  // one pass page after the other
  for (std::size_t pass = 0; pass < record.passes.size(); ++pass) {
    if (!ReplayPassDetail(frames, record, pass, detail)) return false;
    if (!format.pages_folder || !(first_round || again[pass])) continue;
    again[pass] = false;
    html.clear();
    RenderPassPage(html, {&record, pass, &detail, &format.pages, overview_href,
                          PageMark(PageKind::kPass, format.pages.names[pass], place.overview_name)});
    const Failure failure = WritePassPage(place, record.format, format.pages.names[pass], html);
    if (failure.error != 0) Fail(observer, outcome, failure);
    // Never a link to a page that is not there: the page before links it. A
    // page written again that fails keeps its first version.
    if (failure.error != 0 && first_round) {
      format.pages.written[pass] = false;
      if (pass > 0 && format.pages.written[pass - 1]) again[pass - 1] = true;
    }
    if (first_round) Advance(observer, progress, RunStage::kWriting);
  }
  return true;
}

// Writes the pages of a format's passes by year, linked to the pass pages
// written, and removes the year pages no longer written. A year page whose
// neighbour could not be written is written again, without its link.
void WriteYearPages(const PassPagesPlace& place, Format& format, const ReportObserver& observer,
                    ReportOutcome& outcome) {
  const FormatRecord& record = format.record;
  const std::size_t count = record.lists.years.size();
  // Each page counts as written until its write fails: a page links those still to come.
  format.pages.years_written.assign(count, format.pages_folder);
  if (!format.pages_folder) return;  // no pass pages to link: the year pages stay as they are
  PassPageLinks links = format.pages;
  links.folder.clear();  // the year pages stand in the pages' folder
  const std::string overview_href = "../" + PercentEncode(NarrowToUtf8(place.overview_name));
  std::vector<std::string> names;
  for (const YearPasses& year : record.lists.years) names.push_back(YearPageName(record.format, year.year));
  std::vector<bool> again(count, false);
  const auto write = [&](std::size_t year) {
    links.years_written = format.pages.years_written;
    std::string html;
    RenderYearPage(html,
                   {&record, year, &links, overview_href, PageMark(PageKind::kYear, names[year], place.overview_name)});
    const Failure failure = WriteOwnPage(YearPagePath(place, record.format, record.lists.years[year].year), html);
    if (failure.error != 0) Fail(observer, outcome, failure);
    return failure.error == 0;
  };
  for (std::size_t year = 0; year < count; ++year) {
    if (write(year)) continue;
    format.pages.years_written[year] = false;
    if (year > 0 && format.pages.years_written[year - 1]) again[year - 1] = true;
  }
  // Written again without the link; one that fails keeps its first version.
  for (std::size_t year = 0; year < count; ++year) {
    if (again[year]) write(year);
  }
  if (Listed(format)) RemoveStaleYearPages(place, record.format, names);
}

// Writes a format's pass pages, then its trend series (and its rows of the
// export, when there is one) from its stored frames, and renders its part
// of the overview: one format's series are held at a time.
bool WriteFormat(const PassPagesPlace& place, StagedFile* export_file, Format& format, const ReportObserver& observer,
                 ReportOutcome& outcome, Progress& progress) {
  std::vector<bool> again(format.record.passes.size(), false);
  bool first_round = true;
  const auto pages = [&](InputStream& frames) {
    return WritePassPages(place, frames, format, observer, outcome, progress, again, first_round);
  };
  const FrameVisitor rows = export_file ? ExportRows(*export_file, format.record.format) : FrameVisitor();
  const auto series = [&](InputStream& frames) { return ReplayTrendSeries(frames, format.record, rows); };
  if (!ReadBack(format.frames, pages, observer, outcome)) return false;
  first_round = false;
  if (std::find(again.begin(), again.end(), true) != again.end() &&
      !ReadBack(format.frames, pages, observer, outcome)) {
    return false;
  }
  if (Listed(format)) RemoveStalePages(place, format.record.format, format.pages.names);
  if (!ReadBack(format.frames, series, observer, outcome)) return false;
  WriteYearPages(place, format, observer, outcome);
  format.section = RenderFormatSection(format.record, format.pages);
  format.record.series = {};
  format.frames = FrameStore{};  // the scratch file goes
  return true;
}

}  // namespace

ReportOutcome WriteReport(const ReportRequest& request, const ReportObserver& observer) {
  ReportOutcome outcome;
  std::vector<Format> formats = ListFormats(request);
  if (!AnyFormatFolder(formats)) {
    outcome.status = 1;
    outcome.no_format_folder = true;
    return outcome;
  }
  const PassPagesPlace place = PlacePassPages(request.page);
  JudgedList judged;
  outcome.refused = CheckOutputs(request, place, formats, judged);
  if (outcome.refused) {
    outcome.status = kRefusedStatus;
    return outcome;
  }
  RemoveLeftTemporaries(place, request.page, request.export_file);

  // The folder of the pass pages first: where it cannot be made, the
  // overview beside it cannot be written either.
  if (const int error = MakeFolder(place.folder)) {
    Fail(observer, outcome, {Attempt::kWrite, place.folder, error});
    return outcome;
  }
  StagedFile export_file;
  if (request.export_file) {
    if (const Failure failure = BeginStagedFile(*request.export_file, export_file); failure.error != 0) {
      Fail(observer, outcome, failure);
      return outcome;
    }
    WriteExportColumns(export_file.out);
  }

  // Every format read and settled before any page is written; then each
  // format's pages.
  const LimitTable* limits = request.limits ? &request.limits->table : nullptr;
  Progress progress;
  for (const Format& format : formats) progress.captures += format.pages.names.size();
  for (Format& format : formats) {
    MakeFormatFolder(place, format, observer, outcome);
    if (!Collect(place, limits, format, observer, outcome, progress)) return outcome;
  }
  for (Format& format : formats) {
    if (!WriteFormat(place, request.export_file ? &export_file : nullptr, format, observer, outcome, progress)) {
      return outcome;
    }
  }

  // The overview last, so that it never links to a page that is not there.
  OverviewInput overview{request.sample_root, request.limits ? &request.limits->file : nullptr, {}};
  for (const Format& format : formats) {
    overview.formats.push_back({&format.record, &format.pages, &format.section});
    outcome.capture_files += format.record.totals.files;
    outcome.frames += format.record.totals.frames;
  }
  Failure failure = WriteStagedFile(request.page, RenderOverview(overview));
  if (failure.error == 0 && request.export_file) failure = CommitStagedFile(export_file);
  if (failure.error != 0) {
    Fail(observer, outcome, failure);
    return outcome;  // an export not committed is abandoned with its file
  }
  outcome.page_written = true;
  for (const Format& format : formats) {
    if (format.listing.missing && !format.pages_kept) continue;  // a format this root never had
    outcome.formats.push_back(Weigh(format, judged.formats[static_cast<std::size_t>(format.record.format)]));
  }
  if (request.judge) {
    outcome.judged_list_path = JudgedListPath(place);
    outcome.judged_list = RenderJudgedList(place.overview_name, JudgedAfter(formats, std::move(judged)));
  }
  return outcome;
}

Failure KeepJudgedList(const ReportOutcome& outcome) {
  if (outcome.judged_list_path.empty()) return {};
  return WriteOwnPage(outcome.judged_list_path, outcome.judged_list);
}

}  // namespace hkcsv
