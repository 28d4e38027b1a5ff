#include "report/report.h"

#include <cstring>

#include "platform/files.h"
#include "report/collect.h"
#include "report/html_text.h"
#include "report/page.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

void Tell(OutputStream& errors, std::string_view text) {
  WriteText(errors, text);
  Flush(errors);
}

// Hands a finished piece of the page to its file and empties it.
void Emit(OutputStream& page, std::string& piece) {
  WriteBytes(page, piece);
  piece.clear();
}

}  // namespace

int WriteReport(const ReportRequest& request, OutputStream& errors) {
  const LimitTable* limits = request.limits ? &request.limits->table : nullptr;
  const std::string scratch = request.page + ".tmp";
  File scratch_file;
  int error = CreateForWriting(scratch, scratch_file);
  OutputStream page = OutputToFile(std::move(scratch_file), false);

  // One format at a time: read, render, write, forget.
  std::string piece;
  AppendPageStart(piece, {request.sample_root, request.limits ? &request.limits->file : nullptr});
  if (error == 0) Emit(page, piece);
  int status = 0;
  std::uint64_t files = 0;
  std::uint64_t frames = 0;
  for (const DownlinkFormat format : kDownlinkFormats) {
    if (!(format == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    const FormatData data = CollectFormat(format, request.sample_root, limits, errors);
    if (DataMissing(data)) status = 1;
    files += data.totals.files;
    frames += data.frames;
    if (error != 0) continue;  // the page cannot be written; the files are still told
    AppendFormat(piece, data, limits);
    Emit(page, piece);
  }
  AppendPageEnd(piece, files);
  if (error == 0) {
    Emit(page, piece);
    error = CloseOutput(page);
  }
  if (error == 0) error = MoveOverFile(scratch, request.page);
  if (error != 0) {
    RemoveFile(scratch);  // left-over scratch: whether it goes changes nothing
    Tell(errors, "hkreport: cannot write ");
    Tell(errors, request.page);
    Tell(errors, ": ");
    Tell(errors, std::strerror(error));
    Tell(errors, "\n");
    return 1;
  }
  std::string done = "hkreport: wrote " + request.page + " (";
  AppendUnsigned(done, files);
  done += " capture files, ";
  AppendUnsigned(done, frames);
  done += " frames)\n";
  Tell(errors, done);
  return status;
}

}  // namespace hkcsv
