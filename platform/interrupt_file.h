// Inside the platform layer: the temporary files that an interrupt removes,
// a few at a time (the export and the page being written). An interrupt's
// handler (a signal handler on POSIX, the console's handler thread on
// Windows) reaches nothing but globals and may neither allocate nor wait: so
// each path waits in a fixed buffer, and `registered` (lock-free, so safe to
// read there) says whether it is whole.
#pragma once

#include <array>
#include <atomic>

namespace hkcsv {

struct InterruptFile {
  char path[4096];
  std::atomic<bool> registered;
};

inline constexpr std::size_t kInterruptFiles = 4;

extern std::array<InterruptFile, kInterruptFiles> interrupt_files;

}  // namespace hkcsv
