// The passes of a format in ground time order: far dates, restarts between passes, the newest pass.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
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
  EXPECT_EQ(NewestPass(passes), 3u);  // c: d has no frames, e is far
  passes[4].file.counts.frames = 1;
  EXPECT_EQ(NewestPass(passes), 4u);  // a tie in time: the later in listing order
  for (PassRecord& pass : passes) pass.start.reset();
  EXPECT_EQ(NewestPass(passes), 5u);  // none charted: the last with frames
  EXPECT_EQ(NewestPass({}), std::nullopt);
}

}  // namespace
