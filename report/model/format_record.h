// What the report knows of one downlink format once its capture files are
// read and the facts between its passes settled: one record per pass, each
// fact once; the statistics of each engineering channel; and the series its
// charts draw. Plain data: the pages render it and decide nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_listing.h"
#include "hk/hk_frame.h"
#include "report/model/channel_stats.h"
#include "report/model/frame_account.h"
#include "report/model/level.h"
#include "report/model/limits.h"
#include "report/model/station.h"
#include "report/model/time_series.h"

namespace hkcsv {

// The frame table of a pass page shows at most this many frames; the data
// CSV holds them all.
inline constexpr std::size_t kFrameTableRows = 5000;

// The extremes of a pass, each a point on the per-pass extremes charts.
enum PassExtreme { kMinBusVoltage, kMaxBatteryTemp, kMaxAbsGyroRate, kPassExtremes };

// One capture file: what was read of it, what its frames give, and what the
// passes around it say of it.
struct PassRecord {
  std::string name;  // the capture file's name, without its folder
  CaptureFile file;  // open and read results, the header's cells, the counts
  // The pass's ground time: its header's date and time, where they parse and
  // its frames stay within the year 9999.
  std::optional<double> start;
  bool past_calendar = false;  // its frames run past the end of the year 9999: left undated
  // The earlier capture (by index) whose header gave the frames per packet
  // that this one's packets were read with, when its own header gives none.
  std::optional<std::size_t> frames_per_packet_from;
  FrameAccount account;  // how its satellite time ran, and its repeats
  // What its header announces, and how much of that was heard:
  Announced announced;                          // the header's "Recieved Packet Number"
  std::optional<bool> announced_matches;        // none: the header has no such cell; else: it equals the packets found
  std::optional<std::int64_t> frames_expected;  // announced x frames per packet, when both are positive
  std::uint64_t frames_found = 0;               // decoded less repeated ones, at most the expected
  std::optional<double> reception;              // frames found / expected; none without frames expected
  // A digest of its frames' bytes in order, by which a copy of a capture is
  // known (0 without frames).
  std::uint64_t frames_digest = 0;
  // The counters of its first and last frame, when it has frames.
  HkCounters first{};
  HkCounters last{};
  std::array<double, kPassExtremes> extremes{};
  std::array<double, kEngineeringChannels> last_values{};  // of its last frame
  ChannelBands last_bands{};
  std::uint64_t yellow = 0;  // samples past a limit, with limits
  std::uint64_t red = 0;
  // Of the frames the frame table shows: whether each repeats an earlier one.
  std::vector<bool> repeated;

  // Settled once every pass of the format is read:
  bool far_date = false;        // dated more than a year from every other dated pass
  bool restart_before = false;  // the satellite restarted since the pass before it in ground time
  // The name of another capture that holds the same frames, when one does.
  std::string same_frames_as;
  bool copy_of_earlier = false;  // a capture listed before it holds the same frames: left out of the restart check
  std::vector<Reason> why;       // why the pass is flagged, worst first; empty: it is not
  std::optional<Level> worst;    // of its reasons; none when it is not flagged
};

// Whether a pass stands on the time axis: dated, and not far from the others.
inline bool OnTimeAxis(const PassRecord& pass) { return pass.start && !pass.far_date; }

// Whether a pass stands on the charts: on the time axis, with frames.
inline bool Charted(const PassRecord& pass) { return OnTimeAxis(pass) && pass.file.counts.frames > 0; }

// The restarts of a pass: falls of satellite time within it, and one since
// the pass before it.
inline std::uint64_t Restarts(const PassRecord& pass) {
  return pass.account.steps.falls + (pass.restart_before ? 1 : 0);
}

inline bool Unreadable(const PassRecord& pass) { return pass.file.open_error != 0 || pass.file.read_error != 0; }

struct PassTotals {
  std::uint64_t files = 0;  // capture files listed, read or not
  std::uint64_t unreadable = 0;
  std::uint64_t left_out = 0;  // read, but undated or far from every other pass
  std::uint64_t charted = 0;   // a point on the per-pass charts
  std::uint64_t frames = 0;    // decoded, charted or not
  std::uint64_t charted_frames = 0;
  std::uint64_t skipped_tokens = 0;
  std::uint64_t cut_short = 0;
  std::uint64_t missing = 0;   // frames missing in gaps (est.)
  std::uint64_t repeated = 0;  // frames equal to an earlier frame of their pass
  std::uint64_t restarts = 0;  // within passes and between them
  std::uint64_t alarms = 0;    // passes with an alarm
  std::uint64_t notices = 0;   // passes with notices and no alarm
  // The ground time of the earliest pass on the time axis.
  std::optional<double> first_start;
};

// The passes of one year, by the year of their date; a pass without a date
// has no year.
struct YearPasses {
  std::optional<std::int64_t> year;  // none: the passes without a date
  std::vector<std::size_t> passes;   // indexes into FormatRecord::passes, in listing order
  std::size_t alarms = 0;            // of them, passes with an alarm
  std::size_t notices = 0;           // and with only notices
};

struct PassLists {
  std::vector<std::size_t> alarms;  // the passes with an alarm, newest (last listed) first, at most kAlarmPassesShown
  std::size_t alarm_count = 0;      // passes with an alarm in all
  std::vector<std::size_t> recent;  // the last kRecentPasses, in listing order
  // Every year that holds a pass older than the recent ones (and the passes
  // without a date, last, if any of them is), in order: each with all its
  // passes, recent or not.
  std::vector<YearPasses> years;
};

struct FormatRecord {
  DownlinkFormat format = DownlinkFormat::kFM;
  CaptureListing listing;
  const LimitTable* limits = nullptr;  // the limits given; null when none were
  std::vector<PassRecord> passes;      // one per capture file, in listing order
  ChannelStatsTable channels{};        // over every frame

  // Settled once every pass is read:
  PassTotals totals;
  std::optional<std::size_t> newest;        // the newest pass, with frames or not: its latest-pass card's
  std::optional<std::size_t> latest_state;  // the newest pass with frames: its last frame is the latest known state
  std::vector<std::string> time_zones;      // of the passes on the time axis, as the headers give them, each once
  std::array<TimeSeries, kPassExtremes> extremes{};  // seq: the pass's index
  PassLists lists;                                   // which passes each table lists
  StationFacts station;                              // how well the station hears the satellite

  // Read back from the stored frames: the trend charts' series, of the
  // charted passes' frames.
  std::array<TimeSeries, kEngineeringChannels> series{};
};

// The path of a pass's capture file, as listed.
std::string CapturePath(const FormatRecord& format, const PassRecord& pass);

}  // namespace hkcsv
