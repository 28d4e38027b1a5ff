// The pass header at the top of a capture file: 17 fields, each of name
// tokens, a colon token and a fixed number of value tokens.
#pragma once

#include <cstdint>

#include "analysis/capture/capture.h"
#include "text/text_input.h"

namespace hkcsv {

// Reads the header, echoes its tokens on `out.trace`, appends the file's row
// to `out.header_csv`, keeps its cells in `header`, and sets
// `DataBlockNumber` from the last field (it keeps its value when the header
// sets none). Stops right after the last token of the header, or at the end
// of the file.
void ReadPassHeader(InputStream& in, CaptureOutput& out, PassHeader& header, int32_t& DataBlockNumber);

}  // namespace hkcsv
