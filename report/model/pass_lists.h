// Which passes each table of the report lists, so that the overview stays
// the same size however old the archive: the passes with an alarm, newest
// first, up to a bound; the recent ones; and the older ones, by the year of
// their date, each year on a page of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "report/model/format_record.h"

namespace hkcsv {

// The overview's table of recent passes holds the last this many capture
// files in listing order (the station names them by date and time).
inline constexpr std::size_t kRecentPasses = 100;
// Its table of the passes with an alarm holds at most this many.
inline constexpr std::size_t kAlarmPassesShown = 50;

// The lists of a format whose passes are settled.
PassLists ListPasses(const FormatRecord& format);

}  // namespace hkcsv
