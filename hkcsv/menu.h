// The format menu and the program's main loop.
#pragma once

#include <string_view>

#include "hkcsv/analysis.h"
#include "text/text_input.h"
#include "text/text_output.h"

namespace hkcsv {

// Asks for a downlink format on `console`, reading choices from `keyboard`,
// and runs one analysis per choice of 0 or 1 until choice 2 or the end of
// the input. Problems are also told on `problems.errors`. Returns the exit
// status: 1 when a file could not be listed, read, created or written.
int RunMenu(InputStream& keyboard, OutputStream& console, ProblemReport& problems, std::string_view sample_root);

}  // namespace hkcsv
