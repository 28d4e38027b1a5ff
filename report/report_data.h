// What the report gathers from the capture files of one downlink format: one
// record per capture file, statistics per engineering channel, and the chart
// series, all in memory that does not grow with the number of frames.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "hk/hk_columns.h"
#include "report/time_series.h"

namespace hkcsv {

struct ChannelStats {
  std::uint64_t count = 0;
  double min = 0.0;
  double max = 0.0;
  double sum = 0.0;  // in processing order
  double last = 0.0;
  std::string min_at;  // date and time of the pass where the extreme first occurred
  std::string max_at;
  std::uint64_t yellow = 0;  // samples past a yellow limit and not past a red one
  std::uint64_t red = 0;     // samples past a red limit
};

// One capture file: what was read of it and what its frames give.
struct PassSummary {
  std::string path;  // as listed
  std::string name;  // without the folder
  CaptureFile file;
  std::string time_text;     // the header's date and time cells: "2019/01/10 09:15:30"
  bool time_parsed = false;  // the header's date and time parse
  double start = 0.0;        // ground time of the pass, when parsed
  bool far_date = false;     // dated more than a year from every other pass: left out of the charts
  // Derived from the frames; meaningful when file.counts.frames > 0.
  double first_sat_time = 0.0;
  double last_sat_time = 0.0;
  std::int32_t first_reset_info = 0;
  std::int32_t last_reset_info = 0;
  std::uint64_t restarts = 0;   // frames whose satellite time is below the previous frame's
  bool restart_before = false;  // the satellite restarted since the pass before it in ground time
  double min_bus_voltage = 0.0;
  double max_battery_temp = 0.0;
  double max_abs_gyro_rate = 0.0;
  std::uint64_t yellow = 0;
  std::uint64_t red = 0;
};

// The per-pass extremes chart: one point per pass.
enum PassExtreme { kMinBusVoltage, kMaxBatteryTemp, kMaxAbsGyroRate, kPassExtremes };

struct PassTotals {
  std::uint64_t files = 0;  // capture files listed, read or not
  std::uint64_t unreadable = 0;
  std::uint64_t undated = 0;  // read, but their date or time does not parse
  std::uint64_t charted = 0;  // dated and with frames: a point on the per-pass charts
  std::uint64_t skipped_tokens = 0;
  std::uint64_t cut_short = 0;
  bool any_dated = false;
  double first_start = 0.0;  // ground time of the earliest and the latest dated pass
  double last_start = 0.0;
};

struct FormatData {
  DownlinkFormat format;
  CaptureListing listing;
  std::vector<std::string> folders;  // entries that are folders, not read
  PassTotals totals;
  std::vector<PassSummary> passes;  // one per capture file, in processing order
  std::array<ChannelStats, kEngineeringChannels> channels{};
  std::array<TimeSeries, kEngineeringChannels> series{};  // charted frames only
  std::array<TimeSeries, kPassExtremes> extremes{};
  std::uint64_t frames = 0;             // decoded, charted or not
  std::uint64_t charted_frames = 0;     // of passes whose date and time parse
  std::vector<std::string> time_zones;  // as the headers give them, each once
  bool has_limits = false;
};

}  // namespace hkcsv
