// Whether hkreport runs alone on its console, as after a double-click.
#include "app/lone_console.h"

namespace hkcsv {

RunEnding DecideRunEnding(bool open_requested, unsigned console_processes, bool with_arguments) {
  const bool double_clicked = console_processes == 1 && !with_arguments;
  return {open_requested || double_clicked, double_clicked};
}

}  // namespace hkcsv
