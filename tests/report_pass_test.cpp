// The report's reckoning of one pass and of the passes of a format: ground
// time of each frame, the frame account, page names, far dates, restarts
// between passes and the newest pass.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "report/model/frame_account.h"
#include "report/model/ground_clock.h"
#include "report/model/pass_order.h"
#include "report/output/export_csv.h"
#include "report/pages/page_names.h"

using namespace hkcsv;

namespace {

TEST(GroundClock, RisesUpTo300SecondsAdvanceAndFallsOrGapsStartALine) {
  struct Case {
    const char* what;
    std::vector<double> sat_times;
    std::vector<FramePlace> places;  // the pass starts at 1000
  };
  const Case cases[] = {
      {"a rise of exactly 300 s is no gap", {150, 450}, {{1000, true}, {1300, false}}},
      {"a rise just above is", {150, 450.5}, {{1000, true}, {1000, true}}},
      {"a fall starts a line at the previous frame's time",
       {150, 200, 10, 60},
       {{1000, true}, {1050, false}, {1050, true}, {1100, false}}},
      {"equal times stand together", {7, 7}, {{1000, true}, {1000, false}}},
  };
  for (const Case& c : cases) {
    GroundClock clock;
    std::vector<FramePlace> places;
    for (double sat_time : c.sat_times) places.push_back(PlaceFrame(clock, 1000, sat_time));
    ASSERT_EQ(places.size(), c.places.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
      EXPECT_EQ(places[i].ground_time, c.places[i].ground_time) << c.what << ", frame " << i;
      EXPECT_EQ(places[i].new_line, c.places[i].new_line) << c.what << ", frame " << i;
    }
  }
}

TEST(FrameAccount, UsualStepGapsMissingFramesAndBreaks) {
  struct Case {
    const char* what;
    std::vector<std::int32_t> counter;  // half seconds
    std::uint64_t rises, falls;
    std::optional<double> step;
    std::optional<std::uint64_t> gaps, missing;
    std::vector<std::uint32_t> breaks;
  };
  const Case cases[] = {
      {"no frame", {}, 0, 0, {}, {}, {}, {}},
      {"one rise: no usual step", {0, 20}, 1, 0, {}, {}, {}, {}},
      {"one rise and a fall", {0, 20, 4}, 1, 1, {}, {}, {}, {2}},
      // Rises 20, 20, 60, 20: median 20 (10 s); 60 > 1.5 x 20 is a gap of 3
      // steps, 2 frames missing.
      {"a gap", {0, 20, 40, 100, 120}, 4, 0, 10.0, 1, 2, {3}},
      // Rises 20, 30 (exactly 1.5 steps: no gap), 51 (2.55 steps: 2 missing),
      // 20, a fall, 20: the median of 20, 20, 20, 30, 51 is 20.
      {"edges of a gap", {0, 20, 50, 101, 121, 0, 20}, 5, 1, 10.0, 1, 2, {3, 5}},
      // Rises 20 and 40: an even count takes the mean of the middle two, 30.
      {"even count", {0, 20, 60, 60}, 2, 0, 15.0, 0, 0, {}},
      {"extreme counters", {-2147483647 - 1, 2147483647, -2147483647 - 1, 2147483647}, 2, 1, 2147483647.5, 0, 0, {2}},
  };
  for (const Case& c : cases) {
    const TimeSteps steps = CountTimeSteps(c.counter);
    std::vector<std::uint32_t> breaks;
    for (std::size_t i = 1; i < c.counter.size(); ++i) {
      if (BreaksLine(static_cast<std::int64_t>(c.counter[i]) - c.counter[i - 1], steps)) breaks.push_back(i);
    }
    EXPECT_EQ(steps.rises, c.rises) << c.what;
    EXPECT_EQ(steps.falls, c.falls) << c.what;
    EXPECT_EQ(steps.usual_step, c.step) << c.what;
    EXPECT_EQ(steps.gaps, c.gaps) << c.what;
    EXPECT_EQ(steps.missing, c.missing) << c.what;
    EXPECT_EQ(breaks, c.breaks) << c.what;
  }
}

TEST(FrameAccount, RepeatsAndFramesAtAnEarlierTimeWithOtherBytes) {
  // Frames A, B, A again, C at B's time, C again, D at A's time.
  HkFrame a{}, b{}, c{}, d{};
  b[3] = 20;
  c[3] = 20;
  c[40] = 0x1FF;  // unmasked bytes count as they are
  d[77] = 1;
  FrameLog log;
  for (const HkFrame* frame : {&a, &b, &a, &c, &c, &d}) LogFrame(log, FrameRecord(0, 0, *frame, HkValues{}));
  std::vector<bool> marks(4);
  const FrameRepeats repeats = FindRepeats(log, &marks);
  EXPECT_EQ(repeats.repeated, 2u);
  EXPECT_EQ(repeats.same_time_other_bytes, 2u);  // C and D
  EXPECT_EQ(marks, (std::vector<bool>{false, false, true, false}));
  EXPECT_NE(FrameDigest(a), FrameDigest(d));
}

TEST(FrameAccount, CountsOfTheHeader) {
  const std::pair<const char*, std::optional<std::int64_t>> counts[] = {
      {"3", 3},
      {"03", 3},
      {"+3", 3},
      {"-2", -2},
      {"0", 0},
      {"", std::nullopt},
      {"3a", std::nullopt},
      {" 3", std::nullopt},
      {"-", std::nullopt},
      {"123456789012345678", 123456789012345678},
      {"1234567890123456789", std::nullopt},
  };
  for (const auto& [text, value] : counts) EXPECT_EQ(ParseCount(text), value) << text;
  EXPECT_EQ(ExpectedFrames(12, 2), 24);
  EXPECT_EQ(ExpectedFrames(12, 0), std::nullopt);
  EXPECT_EQ(ExpectedFrames(0, 2), std::nullopt);
  EXPECT_EQ(ExpectedFrames(std::nullopt, 2), std::nullopt);
}

TEST(PageNames, EndingReplacedCollisionsNumberedLinksEncoded) {
  EXPECT_EQ(PassPageNames({"A.txt", "a.TXT", "a~2.txt", "b.Txt", "pass 1.txt"}),
            (std::vector<std::string>{"A.html", "a~2.html", "a~2~2.html", "b.html", "pass 1.html"}));
  EXPECT_EQ(PercentEncode("FM/a b#%&\xE8\xA7\xA3~x-y_z.html"), "FM/a%20b%23%25%26%E8%A7%A3~x-y_z.html");
  EXPECT_EQ(PagesFolderName("HK_Report.html"), "HK_Report_files");
  EXPECT_EQ(PagesFolderName("report"), "report_files");
  EXPECT_EQ(PagesFolderName("a.b.htm"), "a.b_files");
}

TEST(Export, PassCellsAreQuotedWhereCsvNeedsIt) {
  const std::tuple<const char*, std::optional<double>, const char*, std::string> cases[] = {
      {"pass.txt", 1547111730, "JST", "FM,pass.txt,2019-01-10 09:15:30,JST,"},
      {"a, \"b\".txt", std::nullopt, "JST", "FM,\"a, \"\"b\"\".txt\",,JST,"},
      {"line\nbreak.txt", std::nullopt, "J,S", "FM,\"line\nbreak.txt\",,\"J,S\","},
      // Bytes that are not UTF-8 as the pages write them; UTF-8 as it is.
      {"x\xFF\xE8\xA7\xA3.txt", std::nullopt, "", "FM,x\\xFF\xE8\xA7\xA3.txt,,,"},
  };
  for (const auto& [name, time, zone, cells] : cases) EXPECT_EQ(ExportPassCells("FM", name, time, zone), cells) << name;
}

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
  set(5, 3e9, 5, 700, 800, 2);       // far, but dated: its reset differs from c's
  passes[5].far_date = true;
  MarkRestartsBetweenPasses(passes);
  std::vector<bool> restarted;
  for (const PassRecord& pass : passes) restarted.push_back(pass.restart_before);
  EXPECT_EQ(restarted, (std::vector<bool>{false, false, false, true, false, true}));
  EXPECT_EQ(NewestPass(passes), 3u);  // c: d has no frames, e is far
  passes[4].file.counts.frames = 1;
  EXPECT_EQ(NewestPass(passes), 4u);  // a tie in time: the later in listing order
  for (PassRecord& pass : passes) pass.start.reset();
  EXPECT_EQ(NewestPass(passes), 5u);  // none charted: the last with frames
  EXPECT_EQ(NewestPass({}), std::nullopt);
}

}  // namespace
