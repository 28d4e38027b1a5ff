#include "report/collect.h"

#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "report/calendar.h"
#include "report/ground_clock.h"
#include "report/messages.h"
#include "report/page_names.h"
#include "report/pass_order.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr int kBatteryTemp1Slot = kTemperatureSlot;
constexpr int kBatteryTemp2Slot = kTemperatureSlot + 1;

// The reading of one format's capture files.
struct Collector {
  FormatData& data;
  const LimitTable* limits;
  const CollectHooks& hooks;
  RunState run{};  // carried from one capture file to the next, as in hkcsv
  // The capture file being read.
  std::size_t pass_index = 0;
  PassDetail detail{};
  GroundClock clock{};
  std::uint32_t frame_in_pass = 0;
  // Across the format's charts: lines join only frames of one segment.
  std::uint32_t segment = 0;
  std::uint32_t seq = 0;
};

PassSummary& CurrentPass(Collector& c) { return c.data.passes[c.pass_index]; }

// Empty counts for the channels that have limits; the others show none.
void ClearStats(std::array<ChannelStats, kEngineeringChannels>& channels, const LimitTable* limits) {
  for (std::size_t channel = 0; channel < channels.size(); ++channel) {
    channels[channel] = {};
    if (limits && (*limits)[channel] != ChannelLimits{}) {
      channels[channel].yellow = 0;
      channels[channel].red = 0;
    }
  }
}

void TakeValue(ChannelStats& stats, double value, LimitBand band, const FrameAt& at) {
  if (stats.count == 0 || value < stats.min) {
    stats.min = value;
    stats.min_at = at;
  }
  if (stats.count == 0 || value > stats.max) {
    stats.max = value;
    stats.max_at = at;
  }
  ++stats.count;
  stats.sum += value;
  if (band == LimitBand::kRed && stats.red) ++*stats.red;
  if (band == LimitBand::kYellow && stats.yellow) ++*stats.yellow;
}

// The pass's extremes of the frame: lowest bus voltage, highest battery
// temperature, largest gyro rate.
void TakeExtremes(PassSummary& pass, const HkValues& values, bool first) {
  const double battery = std::max(values[kBatteryTemp1Slot], values[kBatteryTemp2Slot]);
  double gyro = 0.0;
  for (int axis = 0; axis < kGyroAxes; ++axis) gyro = std::max(gyro, std::fabs(values[kGyroRateSlot + axis]));
  if (first) {
    pass.min_bus_voltage = values[kBusVoltageSlot];
    pass.max_battery_temp = battery;
    pass.max_abs_gyro_rate = gyro;
  } else {
    pass.min_bus_voltage = std::min(pass.min_bus_voltage, values[kBusVoltageSlot]);
    pass.max_battery_temp = std::max(pass.max_battery_temp, battery);
    pass.max_abs_gyro_rate = std::max(pass.max_abs_gyro_rate, gyro);
  }
}

void TakeFrame(Collector& c, const RunState& run) {
  PassSummary& pass = CurrentPass(c);
  const HkValues& values = run.AnalysedData;
  const double sat_time = values[kSatTimeSlot];
  const auto reset_info = static_cast<std::int32_t>(values[kResetInfoSlot]);
  const bool first = c.frame_in_pass == 0;
  TakeExtremes(pass, values, first);
  if (first) {
    pass.first_sat_time = sat_time;
    pass.first_reset_info = reset_info;
  }
  pass.last_sat_time = sat_time;
  pass.last_reset_info = reset_info;

  std::optional<double> ground_time;
  if (pass.time_parsed) {
    const FramePlace place = PlaceFrame(c.clock, pass.start, sat_time);
    ground_time = place.ground_time;
    if (place.new_line) {
      ++c.segment;
      if (!first) c.detail.clock_breaks.push_back(c.frame_in_pass);
    }
  }
  const bool charted = pass.time_parsed && !pass.far_date;

  std::array<LimitBand, kEngineeringChannels> bands{};
  std::optional<LimitBand> worst;
  if (c.limits) {
    worst = LimitBand::kInside;
    for (std::size_t channel = 0; channel < bands.size(); ++channel) {
      bands[channel] = Classify((*c.limits)[channel], values[kFirstEngineeringSlot + channel]);
      if (bands[channel] == LimitBand::kRed) ++pass.red;
      if (bands[channel] == LimitBand::kYellow) ++pass.yellow;
      worst = std::max(*worst, bands[channel]);
    }
  }
  const FrameAt at{c.pass_index, ground_time};
  for (std::size_t channel = 0; channel < bands.size(); ++channel) {
    const double value = values[kFirstEngineeringSlot + channel];
    TakeValue(c.data.channels[channel], value, bands[channel], at);
    TakeValue(c.detail.channels[channel], value, bands[channel], at);
    if (!ground_time) continue;
    AddSample(c.detail.series[channel], {*ground_time, static_cast<float>(value), c.frame_in_pass, 0});
    if (charted) AddSample(c.data.series[channel], {*ground_time, static_cast<float>(value), c.seq, c.segment});
  }
  if (charted) {
    ++c.seq;
    ++c.data.charted_frames;
  }
  ++c.data.frames;
  if (c.detail.rows.size() < kFrameTableRows) {
    c.detail.rows.push_back({ground_time, run.packet_num, run.uplink_num, values, bands, false});
  }
  LogFrame(c.detail.log, run.CDH_Data, values);
  pass.last_values = values;
  pass.last_bands = bands;
  ++c.frame_in_pass;
  if (c.hooks.frame) c.hooks.frame(pass, ground_time, run, worst);
}

// Takes the pass header: the pass's place on the time axis.
void TakeHeader(Collector& c, const PassHeader& header) {
  PassSummary& pass = CurrentPass(c);
  pass.time_zone = header.time_zone;
  if (header.cell_count > kTimeCell) {
    pass.time_parsed = ParseGroundTime(header.cells[kDateCell], header.cells[kTimeCell], pass.start);
  }
  if (header.cell_count > kReceivedPacketsCell) pass.account.announced = ParseCount(header.cells[kReceivedPacketsCell]);
  // The number the packets are read with: the header's, or the one before.
  pass.account.frames_per_packet = c.run.DataBlockNumber;
  std::vector<std::string>& zones = c.data.time_zones;
  if (pass.time_parsed && !pass.far_date && !header.time_zone.empty() &&
      std::find(zones.begin(), zones.end(), header.time_zone) == zones.end()) {
    zones.push_back(header.time_zone);
  }
}

// The line breaks of the pass's own charts: the account's gaps and falls,
// and the ground clock's new lines; each kept sample gets the number of
// breaks up to its frame as its segment.
void BreakPassLines(PassDetail& detail, std::vector<std::uint32_t> breaks) {
  breaks.insert(breaks.end(), detail.clock_breaks.begin(), detail.clock_breaks.end());
  std::sort(breaks.begin(), breaks.end());
  for (TimeSeries& series : detail.series) {
    for (Column& column : series.columns) {
      for (Sample& sample : column.kept) {
        sample.segment =
            static_cast<std::uint32_t>(std::upper_bound(breaks.begin(), breaks.end(), sample.seq) - breaks.begin());
      }
    }
  }
}

// Closes the pass's account once its capture file is read.
void CloseAccount(Collector& c) {
  PassSummary& pass = CurrentPass(c);
  PassDetail& detail = c.detail;
  const CaptureCounts& counts = pass.file.counts;
  FrameAccount& account = pass.account;
  account.tokens = counts.tokens;
  account.skipped_tokens = counts.skipped_tokens;
  account.markers = counts.packets;
  account.packets_complete = counts.packets - counts.cut_short;
  account.cut_short = counts.cut_short;
  account.frames = counts.frames;
  account.expected = ExpectedFrames(account.announced, account.frames_per_packet);
  if (counts.frames > 0) {
    account.first_sat_time = pass.first_sat_time;
    account.last_sat_time = pass.last_sat_time;
  }
  std::vector<std::uint32_t> breaks;
  account.steps = CountTimeSteps(detail.log.sat_times, &breaks);
  std::vector<bool> marks(detail.rows.size());
  account.repeats = FindRepeats(detail.log, &marks);
  detail.log = FrameLog{};  // the largest part of a long pass, not needed for its page
  for (std::size_t i = 0; i < marks.size(); ++i) detail.rows[i].repeated = marks[i];
  BreakPassLines(detail, std::move(breaks));
}

// The pass's point on the per-pass extremes charts.
void TakePassExtremes(Collector& c) {
  const PassSummary& pass = CurrentPass(c);
  if (!Charted(pass)) return;
  const std::uint32_t one_line = 0;  // the points of this chart form one line
  const double values[kPassExtremes] = {pass.min_bus_voltage, pass.max_battery_temp, pass.max_abs_gyro_rate};
  for (int i = 0; i < kPassExtremes; ++i) {
    AddSample(c.data.extremes[static_cast<std::size_t>(i)],
              {pass.start, static_cast<float>(values[i]), static_cast<std::uint32_t>(c.pass_index), one_line});
  }
}

// "hkreport: PATH: N frames, K tokens skipped, C cut short"
void ReportFile(const PassSummary& pass, OutputStream& errors) {
  std::string line = "hkreport: " + pass.path + ": ";
  AppendUnsigned(line, pass.file.counts.frames);
  line += " frames, ";
  AppendUnsigned(line, pass.file.counts.skipped_tokens);
  line += " tokens skipped, ";
  AppendUnsigned(line, pass.file.counts.cut_short);
  line += " cut short";
  TellLine(errors, line);
}

void CountPass(PassTotals& totals, const PassSummary& pass) {
  ++totals.files;
  if (pass.file.open_error != 0 || pass.file.read_error != 0) ++totals.unreadable;
  if (pass.file.open_error != 0) return;
  totals.skipped_tokens += pass.file.counts.skipped_tokens;
  totals.cut_short += pass.file.counts.cut_short;
  if (!pass.time_parsed || pass.far_date) {
    ++totals.left_out;
    return;
  }
  if (!totals.any_dated || pass.start < totals.first_start) totals.first_start = pass.start;
  if (!totals.any_dated || pass.start > totals.last_start) totals.last_start = pass.start;
  totals.any_dated = true;
  if (pass.file.counts.frames > 0) ++totals.charted;
}

void ReadPass(Collector& c, const FormatConstants& constants, OutputStream& errors) {
  // No trace and no copies of its problem lines: skipped tokens and packets
  // cut short are counted, and open and read failures told below.
  CaptureOutput out;
  out.header = [&c](const PassHeader& header) { TakeHeader(c, header); };
  out.frame = [&c](const RunState& run) { TakeFrame(c, run); };
  c.clock = GroundClock{};
  c.frame_in_pass = 0;
  c.detail.rows.clear();
  c.detail.log = FrameLog{};
  c.detail.clock_breaks.clear();
  for (TimeSeries& series : c.detail.series) ClearSeries(series);
  ClearStats(c.detail.channels, c.limits);
  PassSummary& pass = CurrentPass(c);
  pass.file = ReadCaptureFile(pass.path, constants.tail, c.run, out);
  CountPass(c.data.totals, pass);
  if (pass.file.open_error != 0) {
    TellLine(errors, "hkreport: Cannot open " + pass.path + ": " + std::strerror(pass.file.open_error));
  } else {
    if (pass.file.read_error != 0) {
      TellLine(errors, "hkreport: Cannot read " + pass.path + ": " + std::strerror(pass.file.read_error));
    }
    CloseAccount(c);
    TakePassExtremes(c);
    ReportFile(pass, errors);
  }
  if (c.hooks.pass_read) c.hooks.pass_read(c.data, c.pass_index, c.detail);
}

// The ground time of each capture file's pass, from a first look at the
// headers alone: which passes are dated far from all others must be known
// before their frames reach the charts.
std::vector<bool> FarPasses(const std::vector<PassSummary>& passes) {
  std::vector<std::optional<double>> starts;
  for (const PassSummary& pass : passes) {
    PassHeader header;
    double start = 0;
    const bool dated = ReadCaptureHeader(pass.path, header) == 0 && header.cell_count > kTimeCell &&
                       ParseGroundTime(header.cells[kDateCell], header.cells[kTimeCell], start);
    starts.push_back(dated ? std::optional<double>(start) : std::nullopt);
  }
  return FarFromEveryOther(starts);
}

}  // namespace

FormatData CollectFormat(DownlinkFormat format, std::string_view sample_root, const LimitTable* limits,
                         OutputStream& errors, const CollectHooks& hooks) {
  const FormatConstants& constants = ConstantsOf(format);
  FormatData data;
  data.format = format;
  data.has_limits = limits != nullptr;
  data.listing = ListCaptures(sample_root, constants);
  if (data.listing.error != 0) {
    TellLine(errors, "hkreport: Cannot list " + data.listing.folder + ": " + std::strerror(data.listing.error));
  }
  std::vector<std::string> names;
  for (const FolderEntry& entry : data.listing.entries) {
    if (entry.is_folder) {
      data.folders.push_back(entry.name);
    } else {
      names.push_back(entry.name);
    }
  }
  const std::vector<std::string> pages = PassPageNames(names);
  data.passes.resize(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    data.passes[i].name = names[i];
    data.passes[i].path = data.listing.folder + kPathSeparator + names[i];
    data.passes[i].page = pages[i];
  }
  const std::vector<bool> far = FarPasses(data.passes);
  for (std::size_t i = 0; i < far.size(); ++i) data.passes[i].far_date = far[i];

  Collector c{.data = data, .limits = limits, .hooks = hooks};
  ClearStats(data.channels, limits);
  for (c.pass_index = 0; c.pass_index < data.passes.size(); ++c.pass_index) ReadPass(c, constants, errors);
  MarkRestartsBetweenPasses(data.passes);
  data.newest = NewestPass(data.passes);
  for (const PassSummary& pass : data.passes) {
    data.totals.missing += pass.account.steps.missing.value_or(0);
    data.totals.repeated += pass.account.repeats.repeated;
    data.totals.restarts += pass.account.steps.falls + (pass.restart_before ? 1 : 0);
  }
  return data;
}

}  // namespace hkcsv
