// Reads the capture files of one downlink format through the capture
// pipeline and gathers what the report shows of them.
#pragma once

#include <string_view>

#include "report/limits.h"
#include "report/report_data.h"
#include "text/text_output.h"

namespace hkcsv {

// A rise of satellite time above this many seconds between two frames of a
// pass is a gap in reception: the line breaks there.
inline constexpr double kMaxFrameGapSeconds = 300.0;

// Lists and reads the format's capture files below `sample_root`, as hkcsv
// reads them, and gathers the report's data; `limits` is null when none were
// given. Writes one line per capture file to `errors` ("hkreport: PATH: N
// frames, K tokens skipped, C cut short"), and the failures of listing and
// reading.
FormatData CollectFormat(DownlinkFormat format, std::string_view sample_root, const LimitTable* limits,
                         OutputStream& errors);

// Whether anything of this format means data is missing (exit status 1).
inline bool DataMissing(const FormatData& data) { return data.listing.error != 0 || data.totals.unreadable > 0; }

}  // namespace hkcsv
