// One analysis run over the capture files of one downlink format.
#pragma once

#include <string_view>

#include "text/text_output.h"

// FM: frames received by AFSK and GMSK (menu choice 0). FSK: frames received
// by FSK (menu choice 1).
enum class DownlinkFormat { kFM, kFSK };

// Lists the format's folder below `sample_root`, recreates its two CSV files
// and processes every capture file in name order, tracing on `console`.
void AnalyzeFormat(DownlinkFormat format, std::string_view sample_root, OutputStream& console);
