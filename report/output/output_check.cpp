// What hkreport refuses to write over.
#include "report/output/output_check.h"

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

std::vector<KeptFile> KeptFiles(const std::vector<CaptureListing>& listings, const std::string* limits_file) {
  std::vector<KeptFile> kept;
  for (const CaptureListing& listing : listings) {
    for (const CaptureSource& capture : CaptureSources(listing)) kept.push_back({capture.path, "the capture file"});
  }
  if (limits_file) kept.push_back({*limits_file, "the limits file"});
  return kept;
}

}  // namespace hkcsv
