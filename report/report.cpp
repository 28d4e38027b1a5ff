#include "report/report.h"

#include <cstring>

#include "platform/files.h"
#include "report/collect.h"
#include "report/export_csv.h"
#include "report/html_text.h"
#include "report/messages.h"
#include "report/page.h"
#include "report/page_file.h"
#include "report/pass_pages.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

void TellFailure(OutputStream& errors, const std::string& file, int error) {
  TellLine(errors, "hkreport: cannot write " + file + ": " + std::strerror(error));
}

// The export file while it is written under a temporary name.
struct Export {
  std::string path;
  std::string temporary;
  OutputStream out;
  std::string pass_cells;  // the cells every row of the current pass starts with
  const PassSummary* pass = nullptr;
};

int BeginExport(Export& export_file) {
  export_file.temporary = export_file.path + ".tmp";
  File file;
  if (const int error = CreateForWriting(export_file.temporary, file)) return error;
  export_file.out = OutputToFile(std::move(file), true);
  WriteExportColumns(export_file.out);
  return 0;
}

void ExportFrame(Export& export_file, DownlinkFormat format, const PassSummary& pass, std::optional<double> ground_time,
                 const RunState& run, std::optional<LimitBand> state) {
  if (export_file.pass != &pass) {
    export_file.pass = &pass;
    export_file.pass_cells =
        ExportPassCells(ConstantsOf(format).folder, pass.name,
                        pass.time_parsed ? std::optional<double>(pass.start) : std::nullopt, pass.time_zone);
  }
  WriteExportRow(export_file.out, export_file.pass_cells, ground_time, run, state);
}

int CommitExport(Export& export_file, std::string& failed) {
  failed = export_file.temporary;
  int error = CloseOutput(export_file.out);
  if (error == 0) {
    failed = export_file.path;
    error = MoveOverFile(export_file.temporary, export_file.path);
  }
  if (error != 0) RemoveFile(export_file.temporary);
  return error;
}

}  // namespace

int WriteReport(const ReportRequest& request, OutputStream& errors) {
  const LimitTable* limits = request.limits ? &request.limits->table : nullptr;
  const PassPagesPlace place = PlacePassPages(request.page);
  // The folder of the pass pages first: where it cannot be made, the
  // overview beside it cannot be written either.
  if (const int error = MakeFolder(place.folder)) {
    TellFailure(errors, place.folder, error);
    return 1;
  }
  int status = 0;
  std::optional<Export> export_file;
  if (request.export_file) {
    export_file.emplace();
    export_file->path = *request.export_file;
    if (const int error = BeginExport(*export_file)) {
      TellFailure(errors, export_file->temporary, error);
      return 1;
    }
  }

  // One format at a time: read, write its pass pages, render its part of the
  // overview, forget its data.
  std::vector<FormatParts> parts;
  std::uint64_t files = 0;
  std::uint64_t frames = 0;
  for (const DownlinkFormat format : kDownlinkFormats) {
    if (!(format == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    if (export_file) export_file->pass = nullptr;
    CollectHooks hooks;
    hooks.pass_read = [&](FormatData& data, std::size_t pass, const PassDetail& detail) {
      if (WritePassPage(place, data, pass, detail, limits, errors) != 0) status = 1;
    };
    if (export_file) {
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
  std::string failed;
  int error = WriteWholeFile(request.page, overview, failed);
  if (error == 0 && export_file) error = CommitExport(*export_file, failed);
  if (error != 0) {
    if (export_file) {
      CloseOutput(export_file->out);
      RemoveFile(export_file->temporary);
    }
    TellFailure(errors, failed, error);
    return 1;
  }
  std::string done = "hkreport: wrote " + request.page + " (";
  AppendUnsigned(done, files);
  done += " capture files, ";
  AppendUnsigned(done, frames);
  done += " frames)";
  TellLine(errors, done);
  return status;
}

}  // namespace hkcsv
