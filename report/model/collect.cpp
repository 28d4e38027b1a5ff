// The collection of a format: each capture file's record gathered from its
// header and frames as the pipeline reads it, then the facts between passes
// settled.
#include "report/model/collect.h"

#include <algorithm>
#include <cmath>

#include "capture/read_captures.h"
#include "platform/files.h"
#include "report/model/frame_store.h"
#include "report/model/ground_clock.h"
#include "report/model/pass_flags.h"
#include "report/model/pass_lists.h"
#include "report/model/pass_order.h"
#include "text/calendar.h"

namespace hkcsv {

namespace {

constexpr std::size_t kBatteryTemp1 = kTemperatureSlot - kFirstEngineeringSlot;
constexpr std::size_t kBatteryTemp2 = kBatteryTemp1 + 1;
constexpr std::size_t kBusVoltage = kBusVoltageSlot - kFirstEngineeringSlot;
constexpr std::size_t kGyroRate = kGyroRateSlot - kFirstEngineeringSlot;

// The reading of one format's capture files.
struct Collector {
  FormatRecord& format;
  OutputStream& frames;
  ChannelTally channels;  // of every frame, the format's channels once all are read
  // The capture file being read.
  std::size_t pass = 0;
  GroundClock clock{};
  std::uint32_t frame_in_pass = 0;
  bool past_calendar = false;  // a frame of the pass stands past the year 9999
  FrameLog log{};
  // The last capture whose header gave the frames per packet.
  std::optional<std::size_t> frames_per_packet_from{};
};

PassRecord& CurrentPass(Collector& c) { return c.format.passes[c.pass]; }

// The pass's extremes of the frame: lowest bus voltage, highest battery
// temperature, largest gyro rate.
void TakeExtremes(PassRecord& pass, EngineeringValues values, bool first) {
  const double battery = std::max(values[kBatteryTemp1], values[kBatteryTemp2]);
  double gyro = 0.0;
  for (std::size_t axis = 0; axis < kGyroAxes; ++axis) gyro = std::max(gyro, std::fabs(values[kGyroRate + axis]));
  const std::array<double, kPassExtremes> now{values[kBusVoltage], battery, gyro};
  if (first) {
    pass.extremes = now;
    return;
  }
  pass.extremes[kMinBusVoltage] = std::min(pass.extremes[kMinBusVoltage], now[kMinBusVoltage]);
  pass.extremes[kMaxBatteryTemp] = std::max(pass.extremes[kMaxBatteryTemp], now[kMaxBatteryTemp]);
  pass.extremes[kMaxAbsGyroRate] = std::max(pass.extremes[kMaxAbsGyroRate], now[kMaxAbsGyroRate]);
}

void TakeFrame(Collector& c, const DecodedFrame& frame) {
  PassRecord& pass = CurrentPass(c);
  const bool first = c.frame_in_pass == 0;
  TakeExtremes(pass, frame.values, first);
  if (first) pass.first = frame.counters;
  pass.last = frame.counters;
  std::optional<double> ground_time;
  if (pass.start) ground_time = PlaceFrame(c.clock, *pass.start, SatTimeSeconds(frame.counters.sat_time)).ground_time;
  if (ground_time && *ground_time >= kEndOfCalendar) c.past_calendar = true;
  ChannelBands bands;
  // Most frames have no value past a limit, or no limits to be past.
  if (const std::optional<LimitBand> worst = ClassifyFrame(c.format.limits, frame.values, bands);
      worst && *worst != LimitBand::kInside) {
    for (const LimitBand band : bands) {
      if (band == LimitBand::kRed) ++pass.red;
      if (band == LimitBand::kYellow) ++pass.yellow;
    }
  }
  TakeFrameValues(c.channels, frame.values, bands, {c.pass, ground_time});
  LogFrame(c.log, frame);
  std::copy(frame.values.begin(), frame.values.end(), pass.last_values.begin());
  pass.last_bands = bands;
  ++c.frame_in_pass;
  StoreFrame(c.frames, frame);
}

// The pass's place on the time axis, before its frames come.
void TakeHeader(Collector& c, const PassHeader& header) {
  double start = 0;
  if (header.cell_count > kTimeCell && ParseGroundTime(header.cells[kDateCell], header.cells[kTimeCell], start)) {
    CurrentPass(c).start = start;
  }
}

void BeginPass(Collector& c, std::size_t pass) {
  c.pass = pass;
  c.clock = GroundClock{};
  c.frame_in_pass = 0;
  c.past_calendar = false;
  c.log = FrameLog{};
}

// A pass whose frames run past the year 9999 stands on no calendar: its
// frames have no ground time, where the channels' extremes were taken either.
void LeaveUndated(Collector& c, PassRecord& pass) {
  pass.start.reset();
  pass.past_calendar = true;
  for (ChannelStats& stats : c.channels.table) {
    for (FrameAt* at : {&stats.min_at, &stats.max_at}) {
      if (at->pass == c.pass) at->ground_time.reset();
    }
  }
}

// What the header announces against what was found and heard.
void SettleAnnounced(PassRecord& pass) {
  const CaptureFile& file = pass.file;
  pass.announced = ReadAnnounced(file.header);
  if (pass.announced.kind != Announced::kMissing) {
    pass.announced_matches = pass.announced.kind == Announced::kCount &&
                             pass.announced.count == static_cast<std::int64_t>(file.counts.packets);
  }
  pass.frames_expected = ExpectedFrames(pass.announced, file.frames_per_packet);
  if (!pass.frames_expected) return;
  const std::uint64_t distinct = file.counts.frames - pass.account.repeats.repeated;
  pass.frames_found = std::min(distinct, static_cast<std::uint64_t>(*pass.frames_expected));
  pass.reception = static_cast<double>(pass.frames_found) / static_cast<double>(*pass.frames_expected);
}

// Closes the pass's account once its capture file is read.
void EndPass(Collector& c, const CaptureFile& file) {
  PassRecord& pass = CurrentPass(c);
  pass.file = file;
  if (c.past_calendar) LeaveUndated(c, pass);
  if (file.header.gives_frames_per_packet) {
    c.frames_per_packet_from = c.pass;
  } else if (file.open_error == 0) {
    pass.frames_per_packet_from = c.frames_per_packet_from;
  }
  pass.account.steps = CountTimeSteps(c.log.sat_times);
  pass.repeated.assign(std::min<std::uint64_t>(file.counts.frames, kFrameTableRows), false);
  pass.account.repeats = FindRepeats(c.log, &pass.repeated);
  pass.frames_digest = c.log.chain;
  SettleAnnounced(pass);
  c.log = FrameLog{};  // the largest part of a long pass
}

void CountPass(PassTotals& totals, const PassRecord& pass) {
  ++totals.files;
  if (Unreadable(pass)) ++totals.unreadable;
  totals.frames += pass.file.counts.frames;
  totals.missing += pass.account.steps.missing.value_or(0);
  totals.repeated += pass.account.repeats.repeated;
  totals.restarts += Restarts(pass);
  if (pass.worst) ++(*pass.worst == Level::kAlarm ? totals.alarms : totals.notices);
  if (pass.file.open_error != 0) return;
  totals.skipped_tokens += pass.file.counts.skipped_tokens;
  totals.cut_short += pass.file.counts.cut_short;
  if (!OnTimeAxis(pass)) {
    ++totals.left_out;
    return;
  }
  if (!totals.first_start || *pass.start < *totals.first_start) totals.first_start = pass.start;
  totals.charted_frames += pass.file.counts.frames;
  if (pass.file.counts.frames > 0) ++totals.charted;
}

// Decides what needs every pass: far dates, copies, restarts between
// passes, the newest pass and the latest known state, the totals, the zones of the time axis, the per-pass
// extremes' points, why each pass is flagged, and which table lists it.
void Settle(FormatRecord& format) {
  std::vector<std::optional<double>> starts;
  for (const PassRecord& pass : format.passes) starts.push_back(pass.start);
  const std::vector<bool> far = FarFromEveryOther(starts);
  for (std::size_t i = 0; i < far.size(); ++i) format.passes[i].far_date = far[i];
  FindSameFrames(format.passes);
  MarkRestartsBetweenPasses(format.passes);
  format.newest = NewestPass(format.passes);
  format.latest_state = LatestStatePass(format.passes);
  std::vector<std::string>& zones = format.time_zones;
  for (std::size_t i = 0; i < format.passes.size(); ++i) {
    PassRecord& pass = format.passes[i];
    pass.why = WhyFlagged(pass);
    pass.worst = WorstLevel(pass.why);
    CountPass(format.totals, pass);
    const std::string& zone = pass.file.header.time_zone;
    if (OnTimeAxis(pass) && !zone.empty() && std::find(zones.begin(), zones.end(), zone) == zones.end()) {
      zones.push_back(zone);
    }
    if (Charted(pass)) {
      const std::uint32_t one_line = 0;  // the points of a per-pass chart form one line
      for (std::size_t k = 0; k < kPassExtremes; ++k) {
        AddSample(format.extremes[k],
                  {*pass.start, static_cast<float>(pass.extremes[k]), static_cast<std::uint32_t>(i), one_line});
      }
    }
  }
  format.lists = ListPasses(format);
  format.station = SettleStation(format);
}

}  // namespace

std::string CapturePath(const FormatRecord& format, const PassRecord& pass) {
  return format.listing.folder + kPathSeparator + pass.name;
}

FormatRecord CollectFormat(DownlinkFormat format, const CaptureListing& listing,
                           std::span<const CaptureSource> captures, const LimitTable* limits, OutputStream& frames,
                           const PassRead& pass_read) {
  FormatRecord record;
  record.format = format;
  record.listing = listing;
  record.limits = limits;
  record.passes.resize(captures.size());
  for (std::size_t i = 0; i < captures.size(); ++i) {
    const std::string& path = captures[i].path;
    record.passes[i].name = path.substr(path.find_last_of(kPathSeparators) + 1);
  }
  Collector c{.format = record, .frames = frames, .channels = EmptyTally(limits)};
  std::size_t opened = 0;
  CaptureEvents events;
  events.opened = [&](const std::string&, int) { BeginPass(c, opened++); };
  events.header = [&c](const PassHeader& header) { TakeHeader(c, header); };
  events.frame = [&c](const DecodedFrame& frame) { TakeFrame(c, frame); };
  events.read = [&](const CaptureFile& file) {
    EndPass(c, file);
    if (pass_read) pass_read(record, CurrentPass(c));
  };
  ReadCaptures(captures, ConstantsOf(format).tail, events);
  record.channels = TalliedStats(c.channels);
  Settle(record);
  return record;
}

}  // namespace hkcsv
