// What hkreport must never write over: the capture files it reads, its
// limits file, and anything that is not a regular file. A link to a regular
// file is fine: the file it leads to is replaced.
#pragma once

#include <string>
#include <vector>

#include "analysis/capture/capture.h"

namespace hkcsv {

// A file that a run reads, which no output of it may be.
struct KeptFile {
  std::string path;
  std::string what;  // "the capture file", "the limits file", "the page"
};

// Why `output` may not be written, as "it is the limits file PATH", "it is a
// folder", "it is not a regular file" or "it is a symbolic link that leads
// nowhere"; empty when it may. It may not be the same file (by identity,
// under any name) as a kept one, nor name one that does not exist yet by
// the same text. A path that cannot be looked at is left to the write,
// which tells its own reason.
std::string OutputRefusal(const std::string& output, const std::vector<KeptFile>& kept);

// The files a run reads: every capture file of `listings`, and the limits
// file when `limits_file` is given.
std::vector<KeptFile> KeptFiles(const std::vector<CaptureListing>& listings, const std::string* limits_file);

}  // namespace hkcsv
