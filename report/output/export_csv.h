// The export of every decoded frame as one tidy CSV file for spreadsheets and
// scripts: one row per frame with its format, capture file, pass time and
// ground time, the counters in decimal and the engineering values, comma-
// separated with CR LF line ends, UTF-8 with a byte-order mark.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "capture/decoded_frame.h"
#include "report/model/limits.h"
#include "text/text_output.h"

namespace hkcsv {

// The byte-order mark and the column line.
void WriteExportColumns(OutputStream& out);

// What every row of one pass starts with: format, file, pass_time and zone,
// each cell followed by its comma. `pass_time` is the pass's ground time, or
// none when its date or time does not parse.
std::string ExportPassCells(std::string_view format, std::string_view file_name, std::optional<double> pass_time,
                            std::string_view zone);

// One frame's row after the pass's cells: ground time (none for an undated
// pass), satellite time, packet and uplink numbers, switch and reset
// information, the 34 engineering values and the worst limit state (none
// without limits).
void WriteExportRow(OutputStream& out, std::string_view pass_cells, std::optional<double> ground_time,
                    const DecodedFrame& frame, std::optional<LimitBand> state);

}  // namespace hkcsv
