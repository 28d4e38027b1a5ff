// The overview's tables of one downlink format: the summary, one row per
// capture file, one row per engineering channel, and the latest pass; and
// the pieces the pass page shares with them.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "report/model/format_record.h"
#include "report/pages/page_names.h"

namespace hkcsv {

void AppendSummary(std::string& html, const FormatRecord& format);
// The pass table of the passes `passes` (indexes into format.passes), in
// that order.
void AppendPassTable(std::string& html, const FormatRecord& format, const PassPageLinks& links,
                     std::span<const std::size_t> passes);
// The passes `passes` by their file, why they are flagged and their time
// alone: the first three columns of the pass table.
void AppendAlarmTable(std::string& html, const FormatRecord& format, const PassPageLinks& links,
                      std::span<const std::size_t> passes);
void AppendChannelTable(std::string& html, const FormatRecord& format, const PassPageLinks& links);

// Where a channel's extremes were taken, as the two cells "Min at" and "Max at".
using ExtremeCells = std::function<void(std::string& html, const ChannelStats& stats)>;

// A channel table: per channel its unit, min, mean and max, its value in
// the last frame of `last` (none: empty), coloured by its limit state where
// it has limits, with `at` where its extremes were taken, and with `limits`
// the counts past them.
void AppendChannelRows(std::string& html, const ChannelStatsTable& channels, const PassRecord* last,
                       const LimitTable* limits, const ExtremeCells* at);

// The newest pass, linked to its page: its time, its frame account in brief,
// why it is flagged and every channel's value in its last frame.
void AppendLatestPass(std::string& html, const FormatRecord& format, const PassPageLinks& links);

// The paragraph of why a pass is flagged, as the latest pass and the pass
// page show it; nothing when it is not.
void AppendWhyLine(std::string& html, const std::vector<Reason>& why);

// Satellite time in seconds, to its counter's resolution of half a second:
// "1214189.5" of 2428379 half seconds.
void AppendSatTime(std::string& html, std::int64_t halves);

}  // namespace hkcsv
