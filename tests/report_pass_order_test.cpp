// The passes of a format in ground time order: far dates, restarts between passes, the newest pass.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/model/pass_order.h"

using namespace hkcsv;

namespace {

TEST(PassOrder, FarDatesRestartsBetweenPassesAndTheNewestPass) {
  constexpr double kDay = 86400;
  const std::optional<double> none;
  EXPECT_EQ(FarFromEveryOther({0, 400 * kDay}), (std::vector<bool>{false, false}));  // two: neither
  EXPECT_EQ(FarFromEveryOther({0, kDay, none, 70 * 365 * kDay, 2 * kDay}),
            (std::vector<bool>{false, false, false, true, false}));
  // 365 days exactly is not more than a year.
  EXPECT_EQ(FarFromEveryOther({0, kDay, 366 * kDay}), (std::vector<bool>{false, false, false}));

  // In listing order: b (day 2), a (day 1), undated, c (day 3), d (day 3, no frames), e (far).
  std::vector<PassRecord> passes(6);
  const auto set = [&](std::size_t i, std::optional<double> start, std::uint64_t frames, std::int32_t first,
                       std::int32_t last, std::int32_t reset) {
    PassRecord& pass = passes[i];
    pass.start = start;
    pass.file.counts.frames = frames;
    pass.first = {first, 0, reset};
    pass.last = {last, 0, reset};
  };
  set(0, 2 * kDay, 5, 500, 600, 1);  // after a: later counter, same reset: no restart
  set(1, kDay, 5, 100, 200, 1);      // the first in time
  set(2, none, 5, 0, 10, 9);         // undated: out of the order
  set(3, 3 * kDay, 5, 550, 650, 1);  // below b's last: a restart
  set(4, 3 * kDay, 0, 0, 0, 0);      // no frames
  set(5, 3e9, 5, 700, 800, 2);       // far: out of the order, though its reset differs from c's
  passes[5].far_date = true;
  MarkRestartsBetweenPasses(passes);
  std::vector<bool> restarted;
  for (const PassRecord& pass : passes) restarted.push_back(pass.restart_before);
  EXPECT_EQ(restarted, (std::vector<bool>{false, false, false, true, false, false}));

  // Against the last frame of the pass before, not its first: ResetInfo
  // went from 3 to 4 within a pass, and the next pass starts at 4.
  std::vector<PassRecord> two(2);
  for (std::size_t i = 0; i < two.size(); ++i) {
    two[i].start = kDay * static_cast<double>(i);
    two[i].file.counts.frames = 2;
  }
  two[0].first = {100, 0, 3};
  two[0].last = {200, 0, 4};
  two[1].first = {300, 0, 4};
  two[1].last = {400, 0, 4};
  MarkRestartsBetweenPasses(two);
  EXPECT_FALSE(two[1].restart_before);
}

TEST(PassOrder, TheNewestPassIsTheLatestDatedOrAnUndatedOneListedAfterIt) {
  const std::optional<double> none;
  struct Case {
    const char* what;
    std::vector<PassTime> passes;
    std::optional<std::size_t> newest;
  };
  const Case cases[] = {
      {"the latest by time", {{1}, {3}, {2}}, 1},
      {"a tie: the later listed", {{3}, {3}}, 1},
      {"undated, listed after the latest: the last such", {{1}, {3}, {none}, {2}, {none}, {0}}, 4},
      {"undated, listed before the latest", {{none}, {1}}, 1},
      {"no time at all: the last listed", {{none}, {none}}, 1},
      {"never one that may not be chosen", {{1}, {3, false}, {none, false}}, 0},
      {"none may be chosen", {{1, false}}, none},
      {"no pass", {}, none},
  };
  for (const Case& c : cases) EXPECT_EQ(NewestByTime(c.passes), c.newest) << c.what;

  // By the time in UTC where the zone is known: 19:00 JST is 10:00 UTC,
  // older than 11:00 UTC. The newest holds no frame: the latest known state
  // is the newest of those with frames.
  std::vector<PassRecord> passes(2);
  passes[0].start = 19 * 3600;
  passes[0].file.header.time_zone = "JST";
  passes[0].file.counts.frames = 3;
  passes[1].start = 11 * 3600;
  passes[1].file.header.time_zone = "UTC";
  EXPECT_EQ(NewestPass(passes), 1u);
  EXPECT_EQ(LatestStatePass(passes), 0u);
  passes[1].far_date = true;  // off the time axis, but listed after the latest dated pass
  EXPECT_EQ(NewestPass(passes), 1u);
}

// A copy of a capture beside it (named "... - Copy.txt", it lists first) is
// told on both, and only the first listed stands in the restart check: the
// second's falling satellite time is no restart.
TEST(PassOrder, ACopyOfACaptureIsToldAndLeftOutOfTheRestartCheck) {
  std::vector<PassRecord> passes(4);
  const char* const names[] = {"p - Copy.txt", "p.txt", "q.txt", "r.txt"};
  for (std::size_t i = 0; i < passes.size(); ++i) {
    passes[i].name = names[i];
    passes[i].start = i < 2 ? 0.0 : 86400.0 * static_cast<double>(i);
    passes[i].file.counts.frames = 2;
    passes[i].frames_digest = 0xC0FFEE;
    passes[i].first = {100, 0, 1};
    passes[i].last = {200, 0, 1};
  }
  passes[2].frames_digest = 1;  // q: other frames, a later clock
  passes[2].first = {300, 0, 1};
  passes[2].last = {400, 0, 1};
  passes[3].file.counts.frames = 3;  // r: the same digest of other frames is no copy
  passes[3].frames_digest = 0xC0FFEE;
  passes[3].first = {500, 0, 1};
  passes[3].last = {600, 0, 1};
  FindSameFrames(passes);
  MarkRestartsBetweenPasses(passes);
  std::vector<std::string> same;
  std::vector<bool> copies, restarted;
  for (const PassRecord& pass : passes) {
    same.push_back(pass.same_frames_as);
    copies.push_back(pass.copy_of_earlier);
    restarted.push_back(pass.restart_before);
  }
  EXPECT_EQ(same, (std::vector<std::string>{"p.txt", "p - Copy.txt", "", ""}));
  EXPECT_EQ(copies, (std::vector<bool>{false, true, false, false}));
  EXPECT_EQ(restarted, (std::vector<bool>{false, false, false, false}));
}

}  // namespace
