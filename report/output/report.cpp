// hkreport's run, in order: the outputs checked, every format collected and
// settled, the trend series and the export from the stored frames, the pass
// pages, and the overview last.
#include "report/output/report.h"

#include <cerrno>
#include <functional>
#include <unordered_set>
#include <vector>

#include "platform/files.h"
#include "report/model/replay.h"
#include "report/output/export_csv.h"
#include "report/output/judged_list.h"
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
  std::string name;  // as failures name it: the scratch file's prefix
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

// What the run refuses to write, found before anything is written: an output
// that is a file the run reads or another output, an overview over a pass
// page, pages in a link or a capture folder, a pass page over a file that is
// no page of this report.
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
  const std::string mark = PassPagesMark(place);
  for (const Format& format : formats) {
    const std::vector<CaptureSource> captures = CaptureSources(format.listing);
    for (std::size_t i = 0; i < captures.size(); ++i) {
      const std::string path = PassPagePath(place, format.record.format, format.pages.names[i]);
      // The page of the same capture that 1.1 wrote, without a mark, is ours to replace.
      const std::string older = Version11PassPageStart(CaptureName(format.listing, captures[i]));
      if (auto refused = Refuse(path, OwnPageRefusal(path, mark, older))) return refused;
      kept.push_back({path, "the pass page"});
    }
  }
  if (request.judge) {
    const std::string path = JudgedListPath(place);
    std::string refusal;
    if (!ReadJudgedList(path, place.overview_name, judged, refusal)) return Refusal{path, refusal};
    kept.push_back({path, "the list of judged captures"});
  }
  if (!request.export_file) return std::nullopt;
  return Refuse(*request.export_file, OutputRefusal(*request.export_file, kept));
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
  Fail(observer, outcome, {Attempt::kRead, store.name, error});
  return false;
}

// Reads and settles a format, its frames stored aside. Returns false, with
// the failure told, when they cannot be.
bool CollectInto(const PassPagesPlace& place, const LimitTable* limits, Format& format, const ReportObserver& observer,
                 ReportOutcome& outcome, Progress& progress) {
  const DownlinkFormat id = format.record.format;
  // A format without its capture folder has no pass to give a page; where
  // its pages stand, its folder went missing (a share not mounted, a
  // rename): they are kept, and the run tells it.
  if (!format.listing.missing) {
    const Failure failure = MakePassPagesFolder(place, id);
    if (failure.error != 0) Fail(observer, outcome, failure);
    format.pages_folder = failure.error == 0;
  } else if (FolderExists(FormatFolder(place, id))) {
    format.pages_kept = true;
    format.pages.kept = true;
    Fail(observer, outcome, {Attempt::kMissing, format.listing.folder, ENOENT});
  }
  FrameStore& store = format.frames;
  store.name = place.folder + kPathSeparator + ".frames.tmp.";
  if (const int error = CreateScratchFile(store.name, store.file)) {
    Fail(observer, outcome, {Attempt::kWrite, store.name, error});
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
    Fail(observer, outcome, {Attempt::kWrite, store.name, store.out.error});
    return false;
  }
  format.pages.folder = place.folder_name;
  format.pages.written.assign(format.record.passes.size(), false);
  return true;
}

// Renders and writes the pass pages of a format from its stored frames, and
// removes the pages of captures no longer listed. Returns false when the
// stored frames could not be read back.
bool WritePassPages(const PassPagesPlace& place, InputStream& frames, Format& format, const ReportObserver& observer,
                    ReportOutcome& outcome, Progress& progress) {
  const FormatRecord& record = format.record;
  const std::string overview_href = "../../" + PercentEncode(NarrowToUtf8(place.overview_name));
  const std::string mark = PassPagesMark(place);
  PassDetail detail;
  std::string html;  // one pass page after the other
  for (std::size_t pass = 0; pass < record.passes.size(); ++pass) {
    if (!ReplayPassDetail(frames, record, pass, detail)) return false;
    if (!format.pages_folder) continue;
    html.clear();
    RenderPassPage(html, {&record, pass, &detail, &format.pages.names, overview_href, mark});
    const Failure failure = WritePassPage(place, record.format, format.pages.names[pass], html);
    if (failure.error != 0) {
      Fail(observer, outcome, failure);
    } else {
      format.pages.written[pass] = true;
    }
    Advance(observer, progress, RunStage::kWriting);
  }
  if (Listed(format)) RemoveStalePages(place, record.format, format.pages.names);
  return true;
}

// Writes the pages of a format's passes by year, linked to the pass pages
// written, and removes the year pages no longer written.
void WriteYearPages(const PassPagesPlace& place, Format& format, const ReportObserver& observer,
                    ReportOutcome& outcome) {
  const FormatRecord& record = format.record;
  PassPageLinks links = format.pages;
  links.folder.clear();  // the year pages stand in the pages' folder
  const std::string overview_href = "../" + PercentEncode(NarrowToUtf8(place.overview_name));
  const std::string mark = YearPagesMark(place);
  std::vector<std::string> names;
  format.pages.years_written.assign(record.lists.years.size(), false);
  if (!format.pages_folder) return;  // no pass pages to link: the year pages stay as they are
  for (std::size_t year = 0; year < record.lists.years.size(); ++year) {
    std::string html;
    RenderYearPage(html, {&record, year, &links, overview_href, mark});
    const std::optional<std::int64_t> which = record.lists.years[year].year;
    names.push_back(YearPageName(record.format, which));
    if (const Failure failure = WriteOwnPage(YearPagePath(place, record.format, which), html); failure.error != 0) {
      Fail(observer, outcome, failure);
    } else {
      format.pages.years_written[year] = true;
    }
  }
  if (Listed(format)) RemoveStaleYearPages(place, record.format, names);
}

// Writes a format's pass pages, then its trend series (and its rows of the
// export, when there is one) from its stored frames, and renders its part
// of the overview: one format's series are held at a time.
bool WriteFormat(const PassPagesPlace& place, StagedFile* export_file, Format& format, const ReportObserver& observer,
                 ReportOutcome& outcome, Progress& progress) {
  const auto pages = [&](InputStream& frames) {
    return WritePassPages(place, frames, format, observer, outcome, progress);
  };
  const FrameVisitor rows = export_file ? ExportRows(*export_file, format.record.format) : FrameVisitor();
  const auto series = [&](InputStream& frames) { return ReplayTrendSeries(frames, format.record, rows); };
  if (!ReadBack(format.frames, pages, observer, outcome) || !ReadBack(format.frames, series, observer, outcome)) {
    return false;
  }
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
    if (!CollectInto(place, limits, format, observer, outcome, progress)) return outcome;
  }
  // The year pages' names follow from the passes' dates: they are checked
  // once the passes are read, and before anything is written.
  for (const Format& format : formats) {
    for (const YearPasses& year : format.record.lists.years) {
      const std::string path = YearPagePath(place, format.record.format, year.year);
      outcome.refused = Refuse(path, OwnPageRefusal(path, YearPagesMark(place)));
      if (!outcome.refused && request.export_file) {
        outcome.refused = Refuse(*request.export_file, OutputRefusal(*request.export_file, {{path, "the year page"}}));
      }
      if (outcome.refused) {
        outcome.status = kRefusedStatus;
        return outcome;
      }
    }
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
