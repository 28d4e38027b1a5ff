#include "report/output_check.h"

#include "analysis/capture.h"
#include "platform/files.h"

namespace hkcsv {

std::string OutputRefusal(const std::string& output, const std::vector<KeptFile>& kept) {
  for (const KeptFile& file : kept) {
    if (file.path == output) return "it is " + file.what + " " + file.path;
  }
  PathInfo info;
  if (InspectPath(output, info) != 0) return {};
  switch (info.kind) {
    case PathKind::kMissing:
      return {};
    case PathKind::kFolder:
      return "it is a folder";
    case PathKind::kOther:
      return "it is not a regular file";
    case PathKind::kDanglingLink:
      return "it is a symbolic link that leads nowhere";
    case PathKind::kRegularFile:
      break;
  }
  for (const KeptFile& file : kept) {
    PathInfo other;
    if (InspectPath(file.path, other) == 0 && other.kind == PathKind::kRegularFile && other.identity == info.identity) {
      return "it is " + file.what + " " + file.path;
    }
  }
  return {};
}

std::vector<KeptFile> KeptFiles(const ReportRequest& request) {
  std::vector<KeptFile> kept;
  for (const DownlinkFormat format : kDownlinkFormats) {
    if (!(format == DownlinkFormat::kFM ? request.fm : request.fsk)) continue;
    const CaptureListing listing = ListCaptures(request.sample_root, ConstantsOf(format));
    for (const FolderEntry& entry : listing.entries) {
      if (!entry.is_folder) kept.push_back({listing.folder + kPathSeparator + entry.name, "the capture file"});
    }
  }
  if (request.limits) kept.push_back({request.limits->file, "the limits file"});
  return kept;
}

}  // namespace hkcsv
