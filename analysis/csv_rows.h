// The two CSV files' column lines and the data CSV row of one frame.
#pragma once

#include "analysis/capture/decoded_frame.h"
#include "text/text_output.h"

namespace hkcsv {

void WriteHeaderColumnLine(OutputStream& header_csv);
void WriteDataColumnLine(OutputStream& data_csv);

// packet_num and uplink_num with "%X,", the satellite time with "%4f,", the
// switch and reset information with "%X, ", then the 34 engineering values
// with "%4f," each, and the line end.
void WriteDataRow(OutputStream& data_csv, const DecodedFrame& frame);

}  // namespace hkcsv
