// Writing a file of hkreport (the page, the export) so that nothing half
// written ever stands under its name: the bytes go to a temporary file of a
// name of its own beside it, "PATH.tmp.XXXXXX", which is renamed over PATH
// at the end, or removed. An interrupt removes it too.
#pragma once

#include <string>
#include <string_view>

#include "text/text_output.h"

namespace hkcsv {

// A failure of writing a file: which file failed and why.
struct FileFailure {
  std::string file;  // the temporary file, when it failed; otherwise the path as given
  int error = 0;     // the error number; 0 when nothing failed
};

// A file being written. Its owner begins it, writes into `out`, and commits
// or abandons it; one that goes out of scope neither committed nor
// abandoned is abandoned.
struct PageFile {
  PageFile() = default;
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;
  ~PageFile();

  std::string path;         // as given
  std::string target;       // the file replaced: the end of path's chain of links, else path itself
  std::string temporary;    // the temporary file beside target; empty when none is open
  int interrupt_slot = -1;  // where an interrupt finds the temporary file
  OutputStream out;         // into the temporary file, from a successful begin on
};

// Whether a link under the path is followed, and the file it leads to
// replaced (a file the user named), or replaced itself (a file of the
// program's own, such as a pass page: no file elsewhere is written).
enum class AtLink { kFollow, kReplace };

// Creates the temporary file beside the file `path` leads to (or beside
// `path` itself, with AtLink::kReplace), exclusively, and registers it for
// removal on an interrupt. A failure names `path`: the file cannot be written
// where it is (its folder is missing or closed).
FileFailure BeginPageFile(const std::string& path, PageFile& page, AtLink at_link = AtLink::kFollow);

// Flushes and closes the temporary file and renames it over the target. A
// failed write or close names the temporary file, a failed rename the path;
// either way the temporary file is removed.
FileFailure CommitPageFile(PageFile& page);

// Closes and removes the temporary file, if one is open; what was written
// is dropped.
void AbandonPageFile(PageFile& page);

// The whole file at once: `bytes` written to `path` as above.
FileFailure WritePageFile(const std::string& path, std::string_view bytes, AtLink at_link = AtLink::kFollow);

// "hkreport: cannot write FILE: REASON", without a line end.
std::string CannotWriteLine(const FileFailure& failure);

}  // namespace hkcsv
