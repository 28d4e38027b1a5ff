// The two CSV files' column lines and the data CSV row of one frame.
#pragma once

#include "capture/decoded_frame.h"
#include "capture/pass_header.h"
#include "text/text_output.h"

namespace hkcsv {

void WriteHeaderColumnLine(OutputStream& header_csv);

// A capture's row of the header CSV: each cell followed by ", ", and the
// line end. A header cut short ends its row where it ends (inside a cell of
// two words, after the first word and its space), and still ends the line
// when it holds anything, so that the next file's row starts on its own.
void WriteHeaderRow(OutputStream& header_csv, const PassHeader& header);
void WriteDataColumnLine(OutputStream& data_csv);

// packet_num and uplink_num with "%X,", the satellite time with "%4f,", the
// switch and reset information with "%X, ", then the 34 engineering values
// with "%4f," each, and the line end.
void WriteDataRow(OutputStream& data_csv, const DecodedFrame& frame);

}  // namespace hkcsv
