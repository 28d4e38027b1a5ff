#include "report/report.h"

#include <cstring>
#include <vector>

#include "platform/files.h"
#include "report/collect.h"
#include "report/messages.h"
#include "report/output_check.h"
#include "report/page.h"
#include "report/page_file.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr int kRefusedStatus = 2;

// Hands a finished piece of the page to its file and empties it.
void Emit(OutputStream& page, std::string& piece) {
  WriteBytes(page, piece);
  piece.clear();
}

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

}  // namespace

int WriteReport(const ReportRequest& request, OutputStream& errors) {
  std::vector<KeptFile> kept = KeptFiles(request);
  if (Refused(request.page, kept, errors)) return kRefusedStatus;
  if (request.export_file) {
    kept.push_back({request.page, "the page"});
    if (Refused(*request.export_file, kept, errors)) return kRefusedStatus;
  }

  const LimitTable* limits = request.limits ? &request.limits->table : nullptr;
  PageFile page;
  const FileFailure begun = BeginPageFile(request.page, page);
  const bool writing = begun.error == 0;

  // One format at a time: read, render, write, forget.
  std::string piece;
  AppendPageStart(piece, {request.sample_root, request.limits ? &request.limits->file : nullptr});
  if (writing) Emit(page.out, piece);
  int status = 0;
  std::uint64_t files = 0;
  std::uint64_t frames = 0;
  for (const DownlinkFormat format : kDownlinkFormats) {
    if (!(format == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    const FormatData data = CollectFormat(format, request.sample_root, limits, errors);
    if (DataMissing(data)) status = 1;
    files += data.totals.files;
    frames += data.frames;
    if (!writing) continue;  // the page cannot be written; the files are still told
    AppendFormat(piece, data, limits);
    Emit(page.out, piece);
  }
  AppendPageEnd(piece, files);
  FileFailure failure = begun;
  if (writing) {
    Emit(page.out, piece);
    failure = CommitPageFile(page);
  }
  if (failure.error != 0) {
    TellLine(errors, CannotWriteLine(failure));
    return 1;
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
