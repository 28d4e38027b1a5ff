// The report's tables of one downlink format: the summary, one row per
// capture file, and one row per engineering channel.
#pragma once

#include <string>

#include "report/report_data.h"

namespace hkcsv {

void AppendSummary(std::string& html, const FormatData& data);
void AppendPassTable(std::string& html, const FormatData& data);
void AppendChannelTable(std::string& html, const FormatData& data);

}  // namespace hkcsv
