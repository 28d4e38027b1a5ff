// A failure of the report's run, as data: what was tried, on which path, and
// the error number. The program words it; the report only tells it.
#pragma once

#include <string>

namespace hkcsv {

enum class Attempt {
  kList,     // a format folder
  kMissing,  // a format folder that is gone while its pages stand: they are kept
  kOpen,     // a capture file
  kRead,     // a capture file
  kWrite,    // a file or folder of the report's own
  // The scratch file that holds the frames between reading and writing, in
  // the page's folder: it has no name of its own.
  kScratchWrite,
  kScratchRead,
};

struct Failure {
  Attempt attempt = Attempt::kWrite;
  std::string path;
  int error = 0;  // 0: nothing failed
};

}  // namespace hkcsv
