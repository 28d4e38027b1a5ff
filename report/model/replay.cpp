// The stored frames read back: ground time, line breaks and limit states of
// each, into the trend series and the pass pages' details.
#include "report/model/replay.h"

#include <algorithm>

#include "report/model/ground_clock.h"

namespace hkcsv {

namespace {

// Reads the stored frames of `format.passes[pass]`, the next in the store,
// and hands each to `visit`. Returns false when the store ends first.
bool ReplayPass(InputStream& store, const FormatRecord& format, std::size_t pass, const FrameVisitor& visit) {
  const PassRecord& record = format.passes[pass];
  GroundClock clock;
  StoredFrame stored;
  int32_t previous = 0;
  for (std::uint64_t i = 0; i < record.file.counts.frames; ++i) {
    if (!LoadFrame(store, stored)) return false;
    ReplayedFrame frame{RecordOf(stored), static_cast<std::uint32_t>(i), std::nullopt, false, false, {}, {}};
    const int32_t sat_time = frame.frame.counters.sat_time;
    if (record.start) {
      const FramePlace place = PlaceFrame(clock, *record.start, SatTimeSeconds(sat_time));
      frame.ground_time = place.ground_time;
      frame.clock_break = place.new_line;
    }
    frame.account_break = i > 0 && BreaksLine(static_cast<int64_t>(sat_time) - previous, record.account.steps);
    previous = sat_time;
    frame.worst = ClassifyFrame(format.limits, frame.frame.values, frame.bands);
    visit(record, frame);
  }
  return true;
}

}  // namespace

bool ReplayTrendSeries(InputStream& store, FormatRecord& format, const FrameVisitor& also) {
  for (TimeSeries& series : format.series) ClearSeries(series);
  // Across the format's charts: lines join only the frames of one segment,
  // and seq numbers the charted frames in order.
  std::uint32_t segment = 0;
  std::uint32_t seq = 0;
  for (std::size_t pass = 0; pass < format.passes.size(); ++pass) {
    // A pass without a start has no frame on the charts and breaks no line:
    // unless its frames are handed on, they need no decoding.
    if (!also && !format.passes[pass].start) {
      if (!SkipFrames(store, format.passes[pass].file.counts.frames)) return false;
      continue;
    }
    const bool charted = Charted(format.passes[pass]);
    const bool replayed = ReplayPass(store, format, pass, [&](const PassRecord& record, const ReplayedFrame& frame) {
      if (frame.clock_break) ++segment;
      if (charted) {
        for (std::size_t channel = 0; channel < format.series.size(); ++channel) {
          AddSample(format.series[channel],
                    {*frame.ground_time, static_cast<float>(frame.frame.values[channel]), seq, segment});
        }
        ++seq;
      }
      if (also) also(record, frame);
    });
    if (!replayed) return false;
  }
  return true;
}

bool ReplayPassDetail(InputStream& store, const FormatRecord& format, std::size_t pass, PassDetail& detail) {
  ChannelTally channels = EmptyTally(format.limits);
  for (TimeSeries& series : detail.series) ClearSeries(series);
  detail.rows.clear();
  detail.rows.reserve(std::min<std::uint64_t>(format.passes[pass].file.counts.frames, kFrameTableRows));
  std::uint32_t segment = 0;  // lines break at every gap and fall, of the clock or of the account
  const bool replayed = ReplayPass(store, format, pass, [&](const PassRecord& record, const ReplayedFrame& frame) {
    const EngineeringValues values = frame.frame.values;
    TakeFrameValues(channels, values, frame.bands, {pass, frame.ground_time});
    if (frame.index > 0) segment += (frame.clock_break ? 1 : 0) + (frame.account_break ? 1 : 0);
    if (frame.ground_time) {
      for (std::size_t channel = 0; channel < detail.series.size(); ++channel) {
        AddSample(detail.series[channel],
                  {*frame.ground_time, static_cast<float>(values[channel]), frame.index, segment});
      }
    }
    if (detail.rows.size() < kFrameTableRows) {
      FrameRow& row = detail.rows.emplace_back();
      row.ground_time = frame.ground_time;
      row.packet_num = frame.frame.packet_num;
      row.uplink_num = frame.frame.uplink_num;
      row.counters = frame.frame.counters;
      std::copy(values.begin(), values.end(), row.values.begin());
      row.bands = frame.bands;
      row.repeated = record.repeated[frame.index];
    }
  });
  detail.channels = TalliedStats(channels);
  return replayed;
}

}  // namespace hkcsv
