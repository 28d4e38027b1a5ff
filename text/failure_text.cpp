// The words of failed attempts.
#include "text/failure_text.h"

namespace hkcsv {

std::string_view AttemptWords(Attempt attempt) {
  switch (attempt) {
    case Attempt::kList:
      return "Cannot list";
    case Attempt::kMissing:
      return "folder missing";
    case Attempt::kOpen:
      return "Cannot open";
    case Attempt::kRead:
      return "Cannot read";
    case Attempt::kWrite:
      return "Cannot write";
    case Attempt::kScratchWrite:
      return "Cannot write the scratch file in";
    case Attempt::kScratchRead:
      return "Cannot read back the scratch file in";
  }
  return "Cannot use";
}

}  // namespace hkcsv
