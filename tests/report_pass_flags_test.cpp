// Why a pass is flagged: its reasons in words, each with its level, alarms first.
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <ostream>
#include <vector>

#include "report/model/format_record.h"
#include "report/model/pass_flags.h"

namespace hkcsv {

// A reason as a failed expectation shows it.
void PrintTo(const Reason& reason, std::ostream* out) { *out << LevelName(reason.level) << ": " << reason.text; }

}  // namespace hkcsv

using namespace hkcsv;

namespace {

TEST(PassFlags, AlarmsComeFirstThenNoticesEachInTheirOrder) {
  PassRecord pass;
  pass.file.read_error = EIO;
  pass.file.header.cell_count = kReceivedPacketsCell + 1;  // cut short after the packet count
  pass.announced = {Announced::kTooLarge, 0};              // "99999999999999999999"
  pass.announced_matches = false;
  pass.file.counts = {.tokens = 9, .packets = 3, .frames = 0, .skipped_tokens = 1, .cut_short = 1};
  pass.account.steps.falls = 2;
  pass.account.steps.missing = 3;
  pass.restart_before = true;
  pass.same_frames_as = "p - Copy.txt";
  pass.red = 1;
  const Level alarm = Level::kAlarm;
  const Level notice = Level::kNotice;
  EXPECT_EQ(WhyFlagged(pass), (std::vector<Reason>{{alarm, "cannot read"},
                                                   {alarm, "header cut short"},
                                                   {alarm, "no frames decoded"},
                                                   {alarm, "2 restarts"},
                                                   {alarm, "restarted since the previous pass"},
                                                   {alarm, "1 sample past red"},
                                                   {notice, "date does not parse"},
                                                   {notice, "the same frames as p - Copy.txt"},
                                                   {notice, "packet count too large"},
                                                   {notice, "cut short"},
                                                   {notice, "3 frames missing (est.)"},
                                                   {notice, "1 token skipped"}}));
  EXPECT_EQ(WorstLevel(WhyFlagged(pass)), alarm);

  // Reception and data quality alone are notices; a pass whose frames run
  // past the year 9999 is undated for that reason, not for its date.
  PassRecord notices;
  notices.file.header.complete = true;
  notices.past_calendar = true;
  notices.announced = {Announced::kCount, 2};
  notices.announced_matches = false;
  notices.file.counts.packets = 3;
  notices.file.counts.frames = 3;
  EXPECT_EQ(WhyFlagged(notices),
            (std::vector<Reason>{{notice, "frames run past the year 9999"}, {notice, "1 packet more than announced"}}));
  EXPECT_EQ(WorstLevel(WhyFlagged(notices)), notice);
  notices.file.open_error = ENOENT;
  EXPECT_EQ(WhyFlagged(notices), (std::vector<Reason>{{alarm, "cannot open"}}));
  EXPECT_EQ(WorstLevel({}), std::nullopt);

  // Read whole, and no packet came: the radio was off.
  PassRecord silent;
  silent.file.header.complete = true;
  EXPECT_EQ(WhyFlagged(silent), (std::vector<Reason>{{alarm, "no frames decoded"}, {notice, "date does not parse"}}));
}

}  // namespace
