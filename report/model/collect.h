// The collection of one downlink format: its capture files read through the
// capture pipeline, as hkcsv reads them, into one record per pass and the
// format's channel statistics; then the facts between its passes settled.
#pragma once

#include <functional>
#include <span>

#include "capture/capture_listing.h"
#include "report/model/format_record.h"
#include "text/text_output.h"

namespace hkcsv {

// Told of each pass once its capture file is read, or could not be opened.
using PassRead = std::function<void(const FormatRecord& format, const PassRecord& pass)>;

// Reads `captures`, the capture files of `listing` (or texts standing for
// them), in order, and returns the format's settled record. `limits` is null
// when none were given. Every frame is also stored in `frames`
// (frame_store.h), in the same order, for the charts and the pass pages.
FormatRecord CollectFormat(DownlinkFormat format, const CaptureListing& listing,
                           std::span<const CaptureSource> captures, const LimitTable* limits, OutputStream& frames,
                           const PassRead& pass_read);

// Whether anything of this format means data is missing (exit status 1).
inline bool DataMissing(const FormatRecord& format) {
  return format.listing.error != 0 || format.totals.unreadable > 0;
}

}  // namespace hkcsv
