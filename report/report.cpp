#include "report/report.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "report/page.h"
#include "report/page_text.h"
#include "report/report_data.h"

namespace {

// Writes `bytes` to a new file at `path`. Returns 0 or the error number.
int WriteNewFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = nullptr;
  if (const int error = CreateOutputFile(path, file)) return error;
  OutputStream out = OutputToFile(file, false);
  WriteBytes(out, bytes);
  return CloseOutput(out);
}

void Tell(OutputStream& errors, std::string_view text) {
  WriteText(errors, text);
  Flush(errors);
}

}  // namespace

int WriteReport(const ReportRequest& request, OutputStream& errors) {
  const LimitTable* limits = request.limits_file.empty() ? nullptr : &request.limits;
  std::vector<FormatData> formats;
  if (request.fm) formats.push_back(CollectFormat(DownlinkFormat::kFM, request.sample_root, limits, errors));
  if (request.fsk) formats.push_back(CollectFormat(DownlinkFormat::kFSK, request.sample_root, limits, errors));

  std::string html;
  AppendPage(html, {request.sample_root, request.limits_file}, formats, limits);

  int status = 0;
  for (const FormatData& data : formats) {
    if (DataMissing(data)) status = 1;
  }
  const std::string scratch = request.page + ".tmp";
  int error = WriteNewFile(scratch, html);
  if (error == 0) error = MoveOverFile(scratch, request.page);
  if (error != 0) {
    RemoveFile(scratch);
    Tell(errors, "hkreport: cannot write ");
    Tell(errors, request.page);
    Tell(errors, ": ");
    Tell(errors, std::strerror(error));
    Tell(errors, "\n");
    return 1;
  }
  std::uint64_t files = 0;
  std::uint64_t frames = 0;
  for (const FormatData& data : formats) {
    files += data.passes.size();
    frames += data.frames;
  }
  std::string done = "hkreport: wrote " + request.page + " (";
  AppendCount(done, files);
  done += " capture files, ";
  AppendCount(done, frames);
  done += " frames)\n";
  Tell(errors, done);
  return status;
}
