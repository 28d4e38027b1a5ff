// Reads the capture files of one downlink format through the capture
// pipeline and gathers what the report shows of them.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "report/limits.h"
#include "report/report_data.h"
#include "text/text_output.h"

namespace hkcsv {

// What the caller does while the passes are read; either may be empty.
struct CollectHooks {
  // Each frame as it is decoded, with its ground time (none when its pass
  // has no date) and its worst limit state (none without limits).
  std::function<void(const PassSummary& pass, std::optional<double> ground_time, const RunState& run,
                     std::optional<LimitBand> state)>
      frame;
  // Each capture file once it is read (or could not be opened): its summary
  // is data.passes[pass], and `detail` holds what its pass page shows.
  std::function<void(FormatData& data, std::size_t pass, const PassDetail& detail)> pass_read;
};

// Lists and reads the format's capture files below `sample_root`, as hkcsv
// reads them, and gathers the report's data; `limits` is null when none were
// given. Writes one line per capture file to `errors` ("hkreport: PATH: N
// frames, K tokens skipped, C cut short"), and the failures of listing and
// reading.
FormatData CollectFormat(DownlinkFormat format, std::string_view sample_root, const LimitTable* limits,
                         OutputStream& errors, const CollectHooks& hooks);

// Whether anything of this format means data is missing (exit status 1).
inline bool DataMissing(const FormatData& data) { return data.listing.error != 0 || data.totals.unreadable > 0; }

}  // namespace hkcsv
