#include "report/collect.h"

#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "report/calendar.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::string_view kProgram = "hkreport";

constexpr int kBatteryTemp1Slot = kTemperatureSlot;
constexpr int kBatteryTemp2Slot = kTemperatureSlot + 1;

// Where the frames of the current capture file stand on the ground time axis.
struct FrameClock {
  bool has_frame = false;  // a frame of this file came before
  double sat_time = 0.0;   // the previous frame's
  double ground_time = 0.0;
  std::uint32_t segment = 0;
};

struct Collector {
  FormatData& data;
  const LimitTable* limits;
  PassSummary* pass = nullptr;
  std::uint32_t pass_index = 0;
  FrameClock clock;
  std::uint32_t next_segment = 0;
  std::uint32_t seq = 0;
};

void TakeChannel(Collector& c, int channel, double value) {
  ChannelStats& stats = c.data.channels[static_cast<std::size_t>(channel)];
  if (stats.count == 0 || value < stats.min) {
    stats.min = value;
    stats.min_at = c.pass->time_text;
  }
  if (stats.count == 0 || value > stats.max) {
    stats.max = value;
    stats.max_at = c.pass->time_text;
  }
  ++stats.count;
  stats.sum += value;
  stats.last = value;
  if (c.limits) {
    const LimitBand band = Classify((*c.limits)[static_cast<std::size_t>(channel)], value);
    if (band == LimitBand::kRed) {
      ++stats.red;
      ++c.pass->red;
    } else if (band == LimitBand::kYellow) {
      ++stats.yellow;
      ++c.pass->yellow;
    }
  }
}

// Places the frame on the ground time axis: the first frame of a pass at the
// pass's time, each next one at the previous frame's time plus the rise of
// satellite time. A fall (a restart of the satellite's clock) or a rise above
// the gap starts a new segment, whose first frame stands at the previous
// frame's time.
void Advance(Collector& c, double sat_time) {
  FrameClock& clock = c.clock;
  if (!clock.has_frame) {
    clock.ground_time = c.pass->start;
    clock.segment = c.next_segment++;
  } else {
    const double rise = sat_time - clock.sat_time;
    if (rise < 0.0 || rise > kMaxFrameGapSeconds) {
      clock.segment = c.next_segment++;
    } else {
      clock.ground_time += rise;
    }
  }
}

void TakeFrame(Collector& c, const HkValues& values) {
  PassSummary& pass = *c.pass;
  const double sat_time = values[kSatTimeSlot];
  const double battery = std::max(values[kBatteryTemp1Slot], values[kBatteryTemp2Slot]);
  double gyro = 0.0;
  for (int axis = 0; axis < kGyroAxes; ++axis) gyro = std::max(gyro, std::fabs(values[kGyroRateSlot + axis]));
  if (!c.clock.has_frame) {
    pass.first_sat_time = sat_time;
    pass.min_bus_voltage = values[kBusVoltageSlot];
    pass.max_battery_temp = battery;
    pass.max_abs_gyro_rate = gyro;
  } else {
    if (sat_time < c.clock.sat_time) ++pass.restarts;
    pass.min_bus_voltage = std::min(pass.min_bus_voltage, values[kBusVoltageSlot]);
    pass.max_battery_temp = std::max(pass.max_battery_temp, battery);
    pass.max_abs_gyro_rate = std::max(pass.max_abs_gyro_rate, gyro);
  }
  pass.last_sat_time = sat_time;

  ++c.data.frames;
  for (int channel = 0; channel < kEngineeringChannels; ++channel) {
    TakeChannel(c, channel, values[static_cast<std::size_t>(kFirstEngineeringSlot + channel)]);
  }
  if (pass.time_parsed) {
    Advance(c, sat_time);
    ++c.data.charted_frames;
    for (int channel = 0; channel < kEngineeringChannels; ++channel) {
      const double value = values[static_cast<std::size_t>(kFirstEngineeringSlot + channel)];
      AddSample(c.data.series[static_cast<std::size_t>(channel)],
                {c.clock.ground_time, static_cast<float>(value), c.seq, c.clock.segment});
    }
    ++c.seq;
  }
  c.clock.has_frame = true;
  c.clock.sat_time = sat_time;
}

// The pass's point on the per-pass extremes chart.
void TakePassExtremes(Collector& c) {
  const PassSummary& pass = *c.pass;
  if (!pass.time_parsed || pass.file.counts.frames == 0) return;
  const std::uint32_t one_line = 0;  // the points of this chart form one line
  const double values[kPassExtremes] = {pass.min_bus_voltage, pass.max_battery_temp, pass.max_abs_gyro_rate};
  for (int i = 0; i < kPassExtremes; ++i) {
    AddSample(c.data.extremes[static_cast<std::size_t>(i)],
              {pass.start, static_cast<float>(values[i]), c.pass_index, one_line});
  }
}

void WriteCount(OutputStream& out, std::uint64_t value) {
  char text[kUnsignedTextMax];
  WriteBytes(out, std::string_view(text, static_cast<std::size_t>(FormatUnsigned(value, text) - text)));
}

// "hkreport: PATH: N frames, K tokens skipped, C cut short"
void ReportFile(const PassSummary& pass, OutputStream& errors) {
  WriteBytes(errors, "hkreport: ");
  WriteBytes(errors, pass.path);
  WriteBytes(errors, ": ");
  WriteCount(errors, pass.file.counts.frames);
  WriteBytes(errors, " frames, ");
  WriteCount(errors, pass.file.counts.skipped_tokens);
  WriteBytes(errors, " tokens skipped, ");
  WriteCount(errors, pass.file.counts.cut_short);
  WriteBytes(errors, " cut short");
  WriteLineEnd(errors);
  Flush(errors);
}

// Takes the pass header: the pass's place on the time axis.
void TakeHeader(Collector& c, const PassHeader& header) {
  PassSummary& pass = *c.pass;
  if (header.cell_count > kTimeCell) {
    pass.time_text = header.cells[kDateCell] + " " + header.cells[kTimeCell];
    pass.time_parsed = ParseGroundTime(header.cells[kDateCell], header.cells[kTimeCell], pass.start);
  }
  std::vector<std::string>& zones = c.data.time_zones;
  if (pass.time_parsed && !header.time_zone.empty() &&
      std::find(zones.begin(), zones.end(), header.time_zone) == zones.end()) {
    zones.push_back(header.time_zone);
  }
}

void ReadPass(Collector& c, const FormatConstants& constants, RunState& run, OutputStream& errors) {
  // No trace and no copies of its problem lines: skipped tokens and packets
  // cut short are counted, and open and read failures told below.
  CaptureOutput out;
  out.header = [&c](const PassHeader& header) { TakeHeader(c, header); };
  out.frame = [&c](const RunState& state) { TakeFrame(c, state.AnalysedData); };
  c.clock = FrameClock{};
  PassSummary& pass = *c.pass;
  pass.file = ReadCaptureFile(pass.path, constants.tail, run, out);
  PassTotals& totals = c.data.totals;
  ++totals.files;
  if (pass.file.open_error != 0) {
    ++totals.unreadable;
    ReportPathProblem({nullptr, &errors}, kProgram, "Cannot open", pass.path, pass.file.open_error);
    return;
  }
  if (pass.file.read_error != 0) {
    ++totals.unreadable;
    ReportPathProblem({nullptr, &errors}, kProgram, "Cannot read", pass.path, pass.file.read_error);
  }
  totals.skipped_tokens += pass.file.counts.skipped_tokens;
  totals.cut_short += pass.file.counts.cut_short;
  if (!pass.time_parsed) {
    ++totals.undated;
  } else {
    if (!totals.any_dated || pass.start < totals.first_start) totals.first_start = pass.start;
    if (!totals.any_dated || pass.start > totals.last_start) totals.last_start = pass.start;
    totals.any_dated = true;
    if (pass.file.counts.frames > 0) ++totals.charted;
  }
  TakePassExtremes(c);
  ReportFile(pass, errors);
}

}  // namespace

FormatData CollectFormat(DownlinkFormat format, std::string_view sample_root, const LimitTable* limits,
                         OutputStream& errors) {
  const FormatConstants& constants = ConstantsOf(format);
  FormatData data;
  data.format = format;
  data.has_limits = limits != nullptr;
  data.listing = ListCaptures(sample_root, constants);
  if (data.listing.error != 0) {
    ReportPathProblem({nullptr, &errors}, kProgram, "Cannot list", data.listing.folder, data.listing.error);
  }
  Collector c{data, limits, nullptr, 0, FrameClock{}, 0, 0};
  RunState run;  // carried from one capture file to the next, as in hkcsv
  for (const FolderEntry& entry : data.listing.entries) {
    if (entry.is_folder) {
      data.folders.push_back(entry.name);
      continue;
    }
    PassSummary pass;
    pass.name = entry.name;
    pass.path = data.listing.folder + kPathSeparator + entry.name;
    c.pass = &pass;
    ReadPass(c, constants, run, errors);
    data.passes.push_back(std::move(pass));
    ++c.pass_index;
  }
  return data;
}

}  // namespace hkcsv
