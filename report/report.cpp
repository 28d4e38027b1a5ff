#include "report/report.h"

#include <cstring>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "report/collect.h"
#include "report/export_csv.h"
#include "report/messages.h"
#include "report/output_check.h"
#include "report/page.h"
#include "report/page_file.h"
#include "report/pass_pages.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr int kRefusedStatus = 2;

// Tells why `output` may not be written, when it may not.
bool Refused(const std::string& output, const std::vector<KeptFile>& kept, OutputStream& errors) {
  const std::string why = OutputRefusal(output, kept);
  if (!why.empty()) TellLine(errors, "hkreport: refusing to write " + output + ": " + why);
  return !why.empty();
}

// Shows the written page in the default browser. A page that does not open
// is told, and the run has not failed for it.
void OpenPage(const std::string& page, OutputStream& errors) {
  int exit_status = 0;
  const int error = OpenInBrowser(page, exit_status);
  std::string line = "hkreport: cannot show " + page + ": " + kBrowserOpener;
  if (error != 0) {
    TellLine(errors, line + ": " + std::strerror(error));
  } else if (exit_status != 0) {
    line += " ended with status ";
    AppendUnsigned(line, static_cast<unsigned>(exit_status));
    TellLine(errors, line);
  }
}

// The export of every frame while it is written: the cells every row of the
// current pass starts with are made once per pass.
struct Export {
  PageFile file;
  std::string pass_cells;
  const PassSummary* pass = nullptr;
};

void ExportFrame(Export& export_file, DownlinkFormat format, const PassSummary& pass, std::optional<double> ground_time,
                 const RunState& run, std::optional<LimitBand> state) {
  if (export_file.pass != &pass) {
    export_file.pass = &pass;
    export_file.pass_cells =
        ExportPassCells(ConstantsOf(format).folder, pass.name,
                        pass.time_parsed ? std::optional<double>(pass.start) : std::nullopt, pass.time_zone);
  }
  WriteExportRow(export_file.file.out, export_file.pass_cells, ground_time, run, state);
}

}  // namespace

int WriteReport(const ReportRequest& request, OutputStream& errors) {
  std::vector<KeptFile> kept = KeptFiles(request);
  if (Refused(request.page, kept, errors)) return kRefusedStatus;
  if (request.export_file) {
    kept.push_back({request.page, "the page"});
    if (Refused(*request.export_file, kept, errors)) return kRefusedStatus;
  }
  const LimitTable* limits = request.limits ? &request.limits->table : nullptr;
  const PassPagesPlace place = PlacePassPages(request.page);
  // The folder of the pass pages first: where it cannot be made, the
  // overview beside it cannot be written either.
  if (const int error = MakeFolder(place.folder)) {
    TellLine(errors, CannotWriteLine({place.folder, error}));
    return 1;
  }
  std::optional<Export> export_file;
  if (request.export_file) {
    export_file.emplace();
    if (const FileFailure failure = BeginPageFile(*request.export_file, export_file->file); failure.error != 0) {
      TellLine(errors, CannotWriteLine(failure));
      return 1;
    }
    WriteExportColumns(export_file->file.out);
  }

  // One format at a time: read, write its pass pages, render its part of the
  // overview, forget its data.
  int status = 0;
  std::string page_buffer;  // one pass page after the other
  std::vector<FormatParts> parts;
  std::uint64_t files = 0;
  std::uint64_t frames = 0;
  for (const DownlinkFormat format : kDownlinkFormats) {
    if (!(format == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    CollectHooks hooks;
    if (MakePassPagesFolder(place, format, errors) == 0) {
      hooks.pass_read = [&](FormatData& data, std::size_t pass, const PassDetail& detail) {
        if (WritePassPage(place, data, pass, detail, limits, page_buffer, errors) != 0) status = 1;
      };
    } else {
      status = 1;
    }
    if (export_file) {
      export_file->pass = nullptr;
      hooks.frame = [&](const PassSummary& pass, std::optional<double> ground_time, const RunState& run,
                        std::optional<LimitBand> state) {
        ExportFrame(*export_file, format, pass, ground_time, run, state);
      };
    }
    const FormatData data = CollectFormat(format, request.sample_root, limits, errors, hooks);
    if (DataMissing(data)) status = 1;
    if (data.listing.error == 0) RemoveStalePages(place, data);
    files += data.totals.files;
    frames += data.frames;
    parts.push_back(RenderFormat(data, limits, {place.folder_name}));
  }

  // The overview last, so that it never links to a page that is not there.
  const std::string overview = RenderOverview(
      {request.sample_root, request.limits ? &request.limits->file : nullptr, {place.folder_name}}, parts);
  FileFailure failure = WritePageFile(request.page, overview);
  if (failure.error == 0 && export_file) failure = CommitPageFile(export_file->file);
  if (failure.error != 0) {
    TellLine(errors, CannotWriteLine(failure));
    return 1;  // an export not committed is abandoned with its file
  }
  std::string done = "hkreport: wrote " + request.page + " (";
  AppendUnsigned(done, files);
  done += " capture files, ";
  AppendUnsigned(done, frames);
  done += " frames)";
  TellLine(errors, done);
  if (request.open_page) OpenPage(request.page, errors);
  return status;
}

}  // namespace hkcsv
