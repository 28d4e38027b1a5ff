// The pass header at the top of a capture file: 17 fields, each of name
// tokens, a colon token and a fixed number of value tokens.
#pragma once

#include <cstdint>

#include "text/text_input.h"
#include "text/text_output.h"

// Reads the header, echoes its tokens on `console`, appends the file's row to
// the header CSV and sets `DataBlockNumber` from the last field (it keeps its
// value when the header sets none). Stops right after the last token of the
// header, or at the end of the file.
void ReadPassHeader(InputStream& in, OutputStream& header_csv, OutputStream& console, int32_t& DataBlockNumber);
