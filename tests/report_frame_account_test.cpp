// The frame account of a pass: steps of satellite time, gaps, missing and repeated frames, header counts.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "report/model/frame_account.h"

using namespace hkcsv;

namespace {

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
      // Rises 255, 256, 65536, 2^24 and 1: the median 256 (128 s) shares its
      // high bytes with 255 and its low byte with 65536 and 2^24, the gaps.
      {"rises of every byte", {0, 255, 511, 66047, 16843263, 16843264}, 5, 0, 128.0, 2, 255 + 65535, {3, 4}},
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
  // The lists of judged captures keep digests from run to run: the values
  // as a separate implementation of the digest's definition (SplitMix64's
  // finisher over the values in pairs, the first in the low half) gives them.
  HkFrame e{};
  e[5] = -1;
  e[77] = 0xFF;
  EXPECT_EQ(FrameDigest(c), 0x26BE84F6C74FBFF2u);
  EXPECT_EQ(FrameDigest(e), 0xC5D0F1A23760206Bu);
}

TEST(FrameAccount, PacketsAnnouncedByTheHeader) {
  struct Case {
    const char* cell;
    Announced::Kind kind;
    std::int64_t count;
  };
  const Case cases[] = {
      {"3", Announced::kCount, 3},
      {"03", Announced::kCount, 3},
      {"+3", Announced::kCount, 3},
      {"-2", Announced::kCount, -2},
      {"0", Announced::kCount, 0},
      {"", Announced::kNotANumber, 0},
      {"3a", Announced::kNotANumber, 0},
      {" 3", Announced::kNotANumber, 0},
      {"-", Announced::kNotANumber, 0},
      {"2147483647", Announced::kCount, 2147483647},
      // No pass holds more packets than a 32-bit count: a number, but a wrong one.
      {"2147483648", Announced::kTooLarge, 0},
      {"123456789012345678", Announced::kTooLarge, 0},
      {"99999999999999999999999", Announced::kTooLarge, 0},
      {"-99999999999999999999999", Announced::kTooLarge, 0},
  };
  for (const Case& c : cases) {
    PassHeader header;
    header.cell_count = kReceivedPacketsCell + 1;
    header.cells[kReceivedPacketsCell] = c.cell;
    const Announced announced = ReadAnnounced(header);
    EXPECT_EQ(announced.kind, c.kind) << c.cell;
    EXPECT_EQ(announced.count, c.count) << c.cell;
  }
  EXPECT_EQ(ReadAnnounced(PassHeader{}).kind, Announced::kMissing);  // a header cut short before the cell
  EXPECT_EQ(ParseCount("1234567890123456789"), std::nullopt);        // 19 digits
  const Announced twelve{Announced::kCount, 12};
  const Announced most{Announced::kCount, kMostAnnounced};
  EXPECT_EQ(ExpectedFrames(twelve, 2), 24);
  EXPECT_EQ(ExpectedFrames(most, 2147483647), std::int64_t{2147483647} * 2147483647);  // no overflow
  EXPECT_EQ(ExpectedFrames(twelve, 0), std::nullopt);
  EXPECT_EQ(ExpectedFrames({Announced::kCount, 0}, 2), std::nullopt);
  EXPECT_EQ(ExpectedFrames({Announced::kTooLarge, 0}, 2), std::nullopt);
}

}  // namespace
