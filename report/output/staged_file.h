// A staged file: a file of hkreport (a page, the export) written so that
// nothing half written ever stands under its name. The bytes go to a
// temporary file of a name of its own beside it, "PATH.tmp.XXXXXX" (or
// ".hkreport.tmp.XXXXXX" where that name would be too long for a file name),
// which is renamed over PATH at the end, or removed. An interrupt removes it
// too. A failure names PATH, whichever step failed.
#pragma once

#include <string>
#include <string_view>

#include "report/model/failure.h"
#include "text/text_output.h"

namespace hkcsv {

// A file being staged. Its owner begins it, writes into `out`, and commits
// or abandons it; one that goes out of scope neither committed nor
// abandoned is abandoned.
struct StagedFile {
  StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

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
// removal on an interrupt. A failure (a kWrite failure, or error 0 when none)
// names `path`: the file cannot be written where it is (its folder is
// missing or closed).
Failure BeginStagedFile(const std::string& path, StagedFile& file, AtLink at_link = AtLink::kFollow);

// Flushes and closes the temporary file and renames it over the target. On a
// failure the temporary file is removed.
Failure CommitStagedFile(StagedFile& file);

// Closes and removes the temporary file, if one is open; what was written
// is dropped.
void AbandonStagedFile(StagedFile& file);

// The whole file at once: `bytes` written to `path` as above.
Failure WriteStagedFile(const std::string& path, std::string_view bytes, AtLink at_link = AtLink::kFollow);

}  // namespace hkcsv
