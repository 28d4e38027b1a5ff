// hkreport's run, in order: the outputs checked, every format collected and
// settled, the trend series and the export from the stored frames, the pass
// pages, and the overview last.
#include "report/output/report.h"

#include <cerrno>
#include <functional>
#include <vector>

#include "platform/files.h"
#include "report/model/replay.h"
#include "report/output/export_csv.h"
#include "report/output/output_check.h"
#include "report/output/pass_pages.h"
#include "report/output/staged_file.h"
#include "report/pages/overview.h"
#include "report/pages/page_names.h"
#include "report/pages/pass_page.h"

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
  FrameStore frames;
  FormatRecord record;
  PassPageLinks pages;
  std::string section;  // its part of the overview, rendered once its pass pages stand
};

std::optional<Refusal> Refuse(const std::string& output, const std::vector<KeptFile>& kept) {
  std::string reason = OutputRefusal(output, kept);
  if (reason.empty()) return std::nullopt;
  return Refusal{output, std::move(reason)};
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
                 ReportOutcome& outcome) {
  const DownlinkFormat id = format.record.format;
  if (const Failure failure = MakePassPagesFolder(place, id); failure.error != 0) {
    Fail(observer, outcome, failure);
  } else {
    format.pages_folder = true;
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
  format.record =
      CollectFormat(id, format.listing, CaptureSources(format.listing), limits, store.out, observer.pass_read);
  if (DataMissing(format.record)) outcome.status = 1;
  Flush(store.out);
  if (store.out.error != 0) {
    Fail(observer, outcome, {Attempt::kWrite, store.name, store.out.error});
    return false;
  }
  format.pages.folder = place.folder_name;
  for (const PassRecord& pass : format.record.passes) format.pages.names.push_back(pass.name);
  format.pages.names = PassPageNames(format.pages.names);
  format.pages.written.assign(format.record.passes.size(), false);
  return true;
}

// Renders and writes the pass pages of a format from its stored frames, and
// removes the pages of captures no longer listed. Returns false when the
// stored frames could not be read back.
bool WritePassPages(const PassPagesPlace& place, InputStream& frames, Format& format, const ReportObserver& observer,
                    ReportOutcome& outcome) {
  const FormatRecord& record = format.record;
  const std::string overview_href = "../../" + PercentEncode(NarrowToUtf8(place.overview_name));
  PassDetail detail;
  std::string html;  // one pass page after the other
  for (std::size_t pass = 0; pass < record.passes.size(); ++pass) {
    if (!ReplayPassDetail(frames, record, pass, detail)) return false;
    if (!format.pages_folder) continue;
    html.clear();
    RenderPassPage(html, {&record, pass, &detail, &format.pages.names, overview_href});
    const Failure failure = WritePassPage(place, record.format, format.pages.names[pass], html);
    if (failure.error != 0) {
      Fail(observer, outcome, failure);
    } else {
      format.pages.written[pass] = true;
    }
  }
  if (format.listing.error == 0) RemoveStalePages(place, record.format, format.pages.names);
  return true;
}

// Writes a format's pass pages, then its trend series (and its rows of the
// export, when there is one) from its stored frames, and renders its part
// of the overview: one format's series are held at a time.
bool WriteFormat(const PassPagesPlace& place, StagedFile* export_file, Format& format, const ReportObserver& observer,
                 ReportOutcome& outcome) {
  const auto pages = [&](InputStream& frames) { return WritePassPages(place, frames, format, observer, outcome); };
  const FrameVisitor rows = export_file ? ExportRows(*export_file, format.record.format) : FrameVisitor();
  const auto series = [&](InputStream& frames) { return ReplayTrendSeries(frames, format.record, rows); };
  if (!ReadBack(format.frames, pages, observer, outcome) || !ReadBack(format.frames, series, observer, outcome)) {
    return false;
  }
  format.section = RenderFormatSection(format.record, format.pages);
  format.record.series = {};
  format.frames = FrameStore{};  // the scratch file goes
  return true;
}

}  // namespace

ReportOutcome WriteReport(const ReportRequest& request, const ReportObserver& observer) {
  ReportOutcome outcome;
  std::vector<Format> formats;
  std::vector<CaptureListing> listings;
  for (const DownlinkFormat format : kDownlinkFormats) {
    if (!(format == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    listings.push_back(ListCaptures(request.sample_root, ConstantsOf(format)));
    formats.emplace_back().listing = listings.back();
    formats.back().record.format = format;
  }
  const std::string* limits_file = request.limits ? &request.limits->file : nullptr;
  std::vector<KeptFile> kept = KeptFiles(listings, limits_file);
  outcome.refused = Refuse(request.page, kept);
  if (!outcome.refused && request.export_file) {
    kept.push_back({request.page, "the page"});
    outcome.refused = Refuse(*request.export_file, kept);
  }
  if (outcome.refused) {
    outcome.status = kRefusedStatus;
    return outcome;
  }

  // The folder of the pass pages first: where it cannot be made, the
  // overview beside it cannot be written either.
  const PassPagesPlace place = PlacePassPages(request.page);
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
  for (Format& format : formats) {
    if (!CollectInto(place, limits, format, observer, outcome)) return outcome;
  }
  for (Format& format : formats) {
    if (!WriteFormat(place, request.export_file ? &export_file : nullptr, format, observer, outcome)) return outcome;
  }

  // The overview last, so that it never links to a page that is not there.
  OverviewInput overview{request.sample_root, limits_file, {}};
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
  return outcome;
}

}  // namespace hkcsv
