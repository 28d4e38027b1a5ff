// hkcsv: turns ground-station capture files of HK telemetry into CSV tables.
// It takes no arguments; every location lies below the built-in base
// directory.
#include <cstdio>
#include <cstring>

#include "app/sample_root.h"
#include "hkcsv/menu.h"
#include "platform/files.h"

int main() {
  using namespace hkcsv;
  InputStream keyboard = InputFromDescriptor(StandardInput(), false);
  OutputStream console = OutputToDescriptor(StandardOutput(), false);
  OutputStream errors = OutputToDescriptor(StandardError(), false);
  ProblemReport problems;
  problems.errors = &errors;
  // Problem lines of the trace are copied to standard error, unless it is the
  // console itself, where they would show twice.
  problems.copy_trace = !SameFile(StandardOutput(), StandardError());
  int status = RunMenu(keyboard, console, problems, kSampleRoot);
  Flush(console);
  if (console.error != 0) {
    std::fprintf(stderr, "hkcsv: cannot write standard output: %s\n", std::strerror(console.error));
    status = 1;
  }
  return status;
}
