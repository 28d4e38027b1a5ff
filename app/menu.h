// The format menu and the program's main loop.
#pragma once

#include <string_view>

#include "text/text_input.h"
#include "text/text_output.h"

// Asks for a downlink format on `console`, reading choices from `keyboard`,
// and runs one analysis per choice of 0 or 1 until choice 2 or the end of
// the input. Returns the exit status.
int RunMenu(InputStream& keyboard, OutputStream& console, std::string_view sample_root);
