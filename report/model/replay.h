// The stored frames read back pass by pass, in the order they were
// collected, each with its place in ground time and its limit states: the
// trend charts' series of a format, what a pass page shows of its frames,
// and the export's rows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "report/model/format_record.h"
#include "report/model/frame_store.h"

namespace hkcsv {

// A frame of a pass as read back.
struct ReplayedFrame {
  DecodedFrame frame;
  std::uint32_t index;                // in its pass
  std::optional<double> ground_time;  // none for an undated pass
  // Where its pass's own charts start a new line: at the pass's first frame,
  // after a fall or a gap in reception (the ground clock's break), and after a
  // fall or gap of its frame account.
  bool clock_break;
  bool account_break;
  ChannelBands bands;              // all inside without limits
  std::optional<LimitBand> worst;  // the worst of them; none without limits
};

using FrameVisitor = std::function<void(const PassRecord& pass, const ReplayedFrame& frame)>;

// Fills the trend series of `format` from the stored frames of every pass in
// turn (those of the charted passes), handing every frame to `also` as well
// when it is given. Returns false when the store ends first.
bool ReplayTrendSeries(InputStream& store, FormatRecord& format, const FrameVisitor& also);

// A frame as the pass page's frame table shows it.
struct FrameRow {
  std::optional<double> ground_time;
  int32_t packet_num = 0;
  int32_t uplink_num = 0;
  HkCounters counters;
  std::array<double, kEngineeringChannels> values{};
  ChannelBands bands{};
  bool repeated = false;
};

// What a pass page shows of its frames besides the pass's record.
struct PassDetail {
  ChannelStatsTable channels{};
  // Over the pass's own ground time, for a dated pass; seq is the frame's
  // index in the pass, and lines break at every gap and fall.
  std::array<TimeSeries, kEngineeringChannels> series{};
  std::vector<FrameRow> rows;  // the first kFrameTableRows frames
};

// Reads the stored frames of `format.passes[pass]`, the next in the store,
// into `detail`, whose memory is kept. Returns false when the store ends
// first.
bool ReplayPassDetail(InputStream& store, const FormatRecord& format, std::size_t pass, PassDetail& detail);

}  // namespace hkcsv
