// Why a pass is flagged: its reasons, in words, most important first.
#include "report/model/pass_flags.h"

#include "text/number_format.h"

namespace hkcsv {

namespace {

// "1 packet missing", "2 packets missing".
std::string Counted(std::uint64_t count, const char* one, const char* many, const char* after = "") {
  std::string text;
  AppendUnsigned(text, count);
  text += ' ';
  text += count == 1 ? one : many;
  text += after;
  return text;
}

}  // namespace

std::optional<bool> AnnouncedMatches(const PassRecord& pass) {
  if (pass.file.header.cell_count <= kReceivedPacketsCell) return std::nullopt;
  const std::optional<std::int64_t> announced = AnnouncedPackets(pass.file.header);
  return announced && *announced == static_cast<std::int64_t>(pass.file.counts.packets);
}

std::vector<std::string> WhyFlagged(const PassRecord& pass) {
  const CaptureFile& file = pass.file;
  if (file.open_error != 0) return {"cannot open"};
  std::vector<std::string> why;
  if (file.read_error != 0) why.push_back("cannot read");
  if (!file.header.complete) why.push_back("header cut short");
  if (!pass.start) why.push_back("date does not parse");
  if (pass.far_date) why.push_back("date far from every other pass");
  if (file.counts.packets > 0 && file.counts.frames == 0) why.push_back("no frames decoded");
  if (AnnouncedMatches(pass) == false) {
    const std::optional<std::int64_t> announced = AnnouncedPackets(file.header);
    const auto found = static_cast<std::int64_t>(file.counts.packets);
    if (!announced) {
      why.push_back("packet count is not a number");
    } else if (*announced > found) {
      why.push_back(Counted(static_cast<std::uint64_t>(*announced - found), "packet", "packets", " missing"));
    } else {
      why.push_back(
          Counted(static_cast<std::uint64_t>(found - *announced), "packet", "packets", " more than announced"));
    }
  }
  if (file.counts.cut_short > 0) why.push_back("cut short");
  const std::optional<std::uint64_t> missing = pass.account.steps.missing;
  if (missing && *missing > 0) why.push_back(Counted(*missing, "frame", "frames", " missing (est.)"));
  if (file.counts.skipped_tokens > 0) why.push_back(Counted(file.counts.skipped_tokens, "token", "tokens", " skipped"));
  if (pass.account.steps.falls > 0) why.push_back(Counted(pass.account.steps.falls, "restart", "restarts"));
  if (pass.restart_before) why.push_back("restarted since the previous pass");
  if (pass.red > 0) why.push_back(Counted(pass.red, "sample", "samples", " past red"));
  return why;
}

}  // namespace hkcsv
