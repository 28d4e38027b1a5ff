// How a failed attempt on a file or folder is told, in the same words by
// hkcsv's problem lines, hkreport's lines on standard error and its pages:
// "Cannot open PATH: REASON".
#pragma once

#include <string_view>

namespace hkcsv {

enum class Attempt {
  kList,     // a format folder
  kMissing,  // a format folder that is gone while its report's pages stand: they are kept
  kOpen,     // a capture file, or a file to write
  kRead,     // a capture file
  kWrite,    // a file or folder written
  // The scratch file that holds hkreport's frames between reading and
  // writing, in its pages' folder: it has no name of its own.
  kScratchWrite,
  kScratchRead,
};

// "Cannot list", "folder missing", "Cannot open", "Cannot read", "Cannot
// write", "Cannot write the scratch file in", "Cannot read back the scratch
// file in".
std::string_view AttemptWords(Attempt attempt);

}  // namespace hkcsv
