// What the report gathers from the capture files of one downlink format: one
// record per capture file, statistics per engineering channel, and the chart
// series, all in memory that does not grow with the number of frames; and,
// while one capture file is read, what its pass page shows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "hk/hk_columns.h"
#include "report/frame_account.h"
#include "report/limits.h"
#include "report/time_series.h"

namespace hkcsv {

// Where a value was taken: the pass (index into FormatData::passes) and the
// frame's ground time, none when its pass has no date.
struct FrameAt {
  std::size_t pass = 0;
  std::optional<double> ground_time;
};

struct ChannelStats {
  std::uint64_t count = 0;
  double min = 0.0;
  double max = 0.0;
  double sum = 0.0;  // in processing order
  FrameAt min_at;    // the first frame holding the extreme
  FrameAt max_at;
  // Samples past a yellow limit and not past a red one, and past a red one;
  // none when the channel has no limits.
  std::optional<std::uint64_t> yellow;
  std::optional<std::uint64_t> red;
};

// One capture file: what was read of it and what its frames give.
struct PassSummary {
  std::string path;  // as listed
  std::string name;  // without the folder
  std::string page;  // the file name of its pass page
  bool page_written = false;
  CaptureFile file;
  std::string time_zone;     // the header's zone token, as it stands ("JST")
  bool time_parsed = false;  // the header's date and time parse
  double start = 0.0;        // ground time of the pass, when parsed
  bool far_date = false;     // dated more than a year from every other pass: left out of the charts
  FrameAccount account;
  // Derived from the frames; meaningful when file.counts.frames > 0.
  double first_sat_time = 0.0;
  double last_sat_time = 0.0;
  std::int32_t first_reset_info = 0;
  std::int32_t last_reset_info = 0;
  bool restart_before = false;  // the satellite restarted since the pass before it in ground time
  double min_bus_voltage = 0.0;
  double max_battery_temp = 0.0;
  double max_abs_gyro_rate = 0.0;
  HkValues last_values{};  // of its last frame
  std::array<LimitBand, kEngineeringChannels> last_bands{};
  std::uint64_t yellow = 0;  // samples past a limit, with limits
  std::uint64_t red = 0;
};

// Whether a pass stands on the charts: dated, not far from the others, and
// with frames.
inline bool Charted(const PassSummary& pass) {
  return pass.time_parsed && !pass.far_date && pass.file.counts.frames > 0;
}

// The per-pass extremes chart: one point per pass.
enum PassExtreme { kMinBusVoltage, kMaxBatteryTemp, kMaxAbsGyroRate, kPassExtremes };

struct PassTotals {
  std::uint64_t files = 0;  // capture files listed, read or not
  std::uint64_t unreadable = 0;
  std::uint64_t left_out = 0;  // read, but undated or far from every other pass
  std::uint64_t charted = 0;   // a point on the per-pass charts
  std::uint64_t skipped_tokens = 0;
  std::uint64_t cut_short = 0;
  std::uint64_t missing = 0;   // frames missing in gaps (est.)
  std::uint64_t repeated = 0;  // frames equal to an earlier frame of their pass
  std::uint64_t restarts = 0;  // within passes and between them
  bool any_dated = false;
  double first_start = 0.0;  // ground time of the earliest and the latest charted pass
  double last_start = 0.0;
};

struct FormatData {
  DownlinkFormat format;
  CaptureListing listing;
  std::vector<std::string> folders;  // entries that are folders, not read
  PassTotals totals;
  std::vector<PassSummary> passes;    // one per capture file, in processing order
  std::optional<std::size_t> newest;  // the pass whose last frame is the latest known state
  std::array<ChannelStats, kEngineeringChannels> channels{};
  std::array<TimeSeries, kEngineeringChannels> series{};  // charted frames only
  std::array<TimeSeries, kPassExtremes> extremes{};       // seq: the pass's index
  std::uint64_t frames = 0;                               // decoded, charted or not
  std::uint64_t charted_frames = 0;
  std::vector<std::string> time_zones;  // of charted passes, as the headers give them, each once
  bool has_limits = false;
};

// A frame as the pass page's frame table shows it.
struct FrameRow {
  std::optional<double> ground_time;
  std::int32_t packet_num = 0;
  std::int32_t uplink_num = 0;
  HkValues values{};
  std::array<LimitBand, kEngineeringChannels> bands{};
  bool repeated = false;
};

// The frame table shows at most this many frames; the data CSV holds them all.
inline constexpr std::size_t kFrameTableRows = 5000;

// What a pass page shows besides the pass's summary, gathered while its
// capture file is read.
struct PassDetail {
  std::array<ChannelStats, kEngineeringChannels> channels{};
  // Over the pass's own ground time, for a dated pass; seq is the frame's
  // index in the pass, and lines break at every gap and fall of its account.
  std::array<TimeSeries, kEngineeringChannels> series{};
  std::vector<FrameRow> rows;  // the first kFrameTableRows frames
  FrameLog log;
  std::vector<std::uint32_t> clock_breaks;  // frames where the ground clock starts a new line
};

}  // namespace hkcsv
