// The report's tables of one downlink format: the summary, one row per
// capture file, and one row per engineering channel.
#pragma once

#include <string>

#include "report/report_data.h"

void AppendSummary(std::string& html, const FormatData& data);
// One row of the pass table, made as each capture file is read.
void AppendPassRow(std::string& html, const PassRecord& pass, bool limits);
void AppendPassTable(std::string& html, const FormatData& data);
void AppendChannelTable(std::string& html, const FormatData& data);
