// A failure of the report's run, as data: what was tried, on which path, and
// the error number. The program words it; the report only tells it.
#pragma once

#include <string>

#include "text/failure_text.h"

namespace hkcsv {

struct Failure {
  Attempt attempt = Attempt::kWrite;
  std::string path;
  int error = 0;  // 0: nothing failed
};

}  // namespace hkcsv
