// The overview's tables of one downlink format: the summary, one row per
// capture file, one row per engineering channel, and the latest pass.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "report/report_data.h"

namespace hkcsv {

// Where the overview page stands: the name of its pass pages' folder beside
// it, as the links to them start.
struct PageContext {
  std::string pages_folder;  // narrow, as on disk: "HK_Report_files"
};

void AppendSummary(std::string& html, const FormatData& data);
void AppendPassTable(std::string& html, const PageContext& context, const FormatData& data);
void AppendChannelTable(std::string& html, const PageContext& context, const FormatData& data);

// Where a channel's extremes were taken, as the two cells "Min at" and "Max at".
using ExtremeCells = std::function<void(std::string& html, const ChannelStats& stats)>;

// A channel table: per channel its unit, min, mean and max, its value in
// the last frame of `last` (none: empty), coloured by its limit state where
// it has limits, with `at` where its extremes were taken, and with `limits`
// the counts past them.
void AppendChannelRows(std::string& html, const std::array<ChannelStats, kEngineeringChannels>& channels,
                       const PassSummary* last, bool limits, const ExtremeCells* at);
// The newest pass, linked to its page: its time, its frame account in brief
// and every channel's value in its last frame.
void AppendLatestPass(std::string& html, const PageContext& context, const FormatData& data);

}  // namespace hkcsv
