// Inside the platform layer: the one temporary file that an interrupt
// removes. An interrupt's handler (a signal handler on POSIX, the console's
// handler thread on Windows) reaches nothing but globals and may neither
// allocate nor wait: so the path waits in a fixed buffer, and `registered`
// (lock-free, so safe to read there) says whether it is whole.
#pragma once

#include <atomic>

namespace hkcsv {

struct InterruptFile {
  char path[4096];
  std::atomic<bool> registered;
};

extern InterruptFile interrupt_file;

}  // namespace hkcsv
