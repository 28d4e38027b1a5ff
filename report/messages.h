// hkreport's lines on standard error. Names and cells in them come from
// files and folders, so no byte of them may act on the terminal: bytes below
// 0x20 and 0x7F are written as \xHH, and an echoed cell is cut short.
#pragma once

#include <string>
#include <string_view>

#include "text/text_output.h"

namespace hkcsv {

// Writes `line` with its control bytes as \xHH, then the line end, and hands
// it on at once.
void TellLine(OutputStream& errors, std::string_view line);

// An echoed cell of at most kEchoedCellMax bytes: a longer one is cut there
// and ends with "...".
inline constexpr std::size_t kEchoedCellMax = 64;
std::string Clipped(std::string_view cell);

}  // namespace hkcsv
