// The capture files of a format folder: every name ending in ".txt" in any
// letter case, files and folders alike, in byte order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "capture/capture_file.h"
#include "capture/downlink_format.h"
#include "platform/files.h"

namespace hkcsv {

struct CaptureListing {
  std::string folder;  // base directory, separator, format folder: "/data/passes/FSK"
  std::vector<FolderEntry> entries;
  bool missing = false;  // no such folder below an existing base directory: nothing to do
  int error = 0;         // why the folder could not be listed (then no entry), or 0
};

CaptureListing ListCaptures(std::string_view sample_root, const FormatConstants& format);

// The capture files of a listing, its folders left out, in listing order.
std::vector<CaptureSource> CaptureSources(const CaptureListing& listing);

}  // namespace hkcsv
