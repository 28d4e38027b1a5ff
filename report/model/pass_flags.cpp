// Why a pass is flagged: its reasons, in words, alarms before notices.
#include "report/model/pass_flags.h"

#include "text/number_format.h"

namespace hkcsv {

namespace {

// "1 packet missing", "2 packets missing".
Reason Counted(Level level, std::uint64_t count, const char* one, const char* many, const char* after = "") {
  Reason reason{level, {}};
  AppendCounted(reason.text, count, one, many);
  reason.text += after;
  return reason;
}

void AddAlarms(const PassRecord& pass, std::vector<Reason>& why) {
  const CaptureFile& file = pass.file;
  if (file.read_error != 0) why.push_back({Level::kAlarm, "cannot read"});
  if (!file.header.complete) why.push_back({Level::kAlarm, "header cut short"});
  // Packets, but the header gives no frames per packet; or read whole and
  // no packet came at all (the radio was off, the antenna pointed away).
  if (file.counts.frames == 0 && (file.counts.packets > 0 || (file.header.complete && file.read_error == 0))) {
    why.push_back({Level::kAlarm, "no frames decoded"});
  }
  if (pass.account.steps.falls > 0)
    why.push_back(Counted(Level::kAlarm, pass.account.steps.falls, "restart", "restarts"));
  if (pass.restart_before) why.push_back({Level::kAlarm, "restarted since the previous pass"});
  if (pass.red > 0) why.push_back(Counted(Level::kAlarm, pass.red, "sample", "samples", " past red"));
}

void AddPacketCount(const PassRecord& pass, std::vector<Reason>& why) {
  if (pass.announced_matches != false) return;
  const Announced& announced = pass.announced;
  const auto found = static_cast<std::int64_t>(pass.file.counts.packets);
  if (announced.kind == Announced::kNotANumber) {
    why.push_back({Level::kNotice, "packet count is not a number"});
  } else if (announced.kind == Announced::kTooLarge) {
    why.push_back({Level::kNotice, "packet count too large"});
  } else if (announced.count > found) {
    why.push_back(
        Counted(Level::kNotice, static_cast<std::uint64_t>(announced.count - found), "packet", "packets", " missing"));
  } else {
    why.push_back(Counted(Level::kNotice, static_cast<std::uint64_t>(found - announced.count), "packet", "packets",
                          " more than announced"));
  }
}

void AddNotices(const PassRecord& pass, std::vector<Reason>& why) {
  const CaptureFile& file = pass.file;
  if (pass.past_calendar) {
    why.push_back({Level::kNotice, "frames run past the year 9999"});
  } else if (!pass.start) {
    why.push_back({Level::kNotice, "date does not parse"});
  }
  if (pass.far_date) why.push_back({Level::kNotice, "date far from every other pass"});
  if (!pass.same_frames_as.empty()) why.push_back({Level::kNotice, "the same frames as " + pass.same_frames_as});
  AddPacketCount(pass, why);
  if (file.counts.cut_short > 0) why.push_back({Level::kNotice, "cut short"});
  const std::optional<std::uint64_t> missing = pass.account.steps.missing;
  if (missing && *missing > 0) why.push_back(Counted(Level::kNotice, *missing, "frame", "frames", " missing (est.)"));
  if (file.counts.skipped_tokens > 0) {
    why.push_back(Counted(Level::kNotice, file.counts.skipped_tokens, "token", "tokens", " skipped"));
  }
}

}  // namespace

std::vector<Reason> WhyFlagged(const PassRecord& pass) {
  if (pass.file.open_error != 0) return {{Level::kAlarm, "cannot open"}};
  std::vector<Reason> why;
  AddAlarms(pass, why);
  AddNotices(pass, why);
  return why;
}

}  // namespace hkcsv
