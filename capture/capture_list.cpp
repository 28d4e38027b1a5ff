// The capture files of a format folder: its ".txt" entries in byte order.
#include <algorithm>
#include <cerrno>

#include "capture/capture_listing.h"

namespace hkcsv {

namespace {

bool EndsWithTxt(const std::string& name) {
  if (name.size() < 4) return false;
  const char* tail = name.c_str() + name.size() - 4;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return tail[0] == '.' && lower(tail[1]) == 't' && lower(tail[2]) == 'x' && lower(tail[3]) == 't';
}

}  // namespace

CaptureListing ListCaptures(std::string_view sample_root, const FormatConstants& format) {
  CaptureListing listing;
  listing.folder = std::string(sample_root) + kPathSeparator + format.folder;
  listing.error = ListFolder(listing.folder + kPathSeparator, "*.txt", listing.entries);
  // A format folder that is not there below an existing base directory is
  // nothing to do; a base directory that is not there is a failure.
  if (listing.error == ENOENT && FolderExists(std::string(sample_root))) {
    listing.error = 0;
    listing.missing = true;
  }
  std::erase_if(listing.entries, [](const FolderEntry& entry) { return !EndsWithTxt(entry.name); });
  // std::string compares bytes as unsigned values: plain byte order.
  std::sort(listing.entries.begin(), listing.entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return listing;
}

std::vector<CaptureSource> CaptureSources(const CaptureListing& listing) {
  std::vector<CaptureSource> sources;
  for (const FolderEntry& entry : listing.entries) {
    if (!entry.is_folder) sources.push_back({listing.folder + kPathSeparator + entry.name, std::nullopt});
  }
  return sources;
}

}  // namespace hkcsv
