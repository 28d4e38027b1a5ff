// Whether hkreport runs alone on its console, as after a double-click.
#include "app/lone_console.h"

namespace hkcsv {

RunEnding DecideRunEnding(bool open_requested, unsigned console_processes) {
  const bool alone = console_processes == 1;
  return {open_requested || alone, alone};
}

}  // namespace hkcsv
