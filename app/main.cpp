// hkcsv: turns ground-station capture files of HK telemetry into CSV tables.
// It takes no arguments; every location lies below the built-in base
// directory.
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "app/menu.h"

extern const char kSampleRoot[];

int main() {
  InputStream keyboard = InputFromDescriptor(StandardInput(), false);
  OutputStream console = OutputToFile(stdout, false);
  int status = RunMenu(keyboard, console, kSampleRoot);
  Flush(console);
  if (console.error != 0) {
    std::fprintf(stderr, "hkcsv: cannot write standard output: %s\n", std::strerror(console.error));
    status = 1;
  }
  return status;
}
