// hkreport started by a double-click on Windows: its console window is its
// own, and closes the moment the program ends.
#pragma once

namespace hkcsv {

struct RunEnding {
  bool open_page;       // show the page in the browser
  bool wait_for_enter;  // keep the console open until Enter
};

// When hkreport is the only process on its console and was given no
// argument (a double-click gives none), it shows the page as with --open
// and waits for Enter before it ends. Otherwise it does as asked: a
// scheduled task that starts it alone on a console of its own, with its
// options, neither opens a browser nor waits. `console_processes` is 0 where
// there is no such count.
RunEnding DecideRunEnding(bool open_requested, unsigned console_processes, bool with_arguments);

}  // namespace hkcsv
