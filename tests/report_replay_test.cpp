// The frames kept aside and read back: as they were stored, each pass's
// lines broken where its account and its ground clock break them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "report/model/frame_account.h"
#include "report/model/frame_store.h"
#include "report/model/replay.h"

using namespace hkcsv;

namespace {

HkFrame FrameAt(int32_t counter) {
  HkFrame frame{};
  frame[2] = counter >> 8;
  frame[3] = counter & 0xFF;
  return frame;
}

TEST(FrameStore, FramesComeBackAsTheyWereStored) {
  // A frame of received bytes, and one with values no byte holds, as a dump may.
  HkFrame narrow = FrameAt(300);
  narrow[77] = 0xFF;
  HkFrame wide = FrameAt(20);
  wide[40] = 0x1FF;
  wide[5] = -1;
  std::string bytes;
  OutputStream store = OutputToMemory(&bytes, false);
  HkValues values{};
  StoreFrame(store, FrameRecord(1, 3, narrow, values));
  StoreFrame(store, FrameRecord(-2, 0x7FFFFFFF, wide, values));
  Flush(store);
  EXPECT_EQ(bytes.size(), 87u + 1 + 8 + 78 * 4);
  InputStream in = InputFromText(bytes, false);
  for (const auto& [packet, uplink, frame] : {std::tuple{1, 3, narrow}, std::tuple{-2, 0x7FFFFFFF, wide}}) {
    StoredFrame loaded;
    ASSERT_TRUE(LoadFrame(in, loaded));
    EXPECT_EQ(loaded.packet_num, packet);
    EXPECT_EQ(loaded.uplink_num, uplink);
    EXPECT_EQ(loaded.bytes, frame);
    DecodeHkFrame(frame, values);
    EXPECT_EQ(loaded.values, values);
  }
  StoredFrame none;
  EXPECT_FALSE(LoadFrame(in, none));
  InputStream cut = InputFromText(std::string_view(bytes).substr(0, 87 + 20), false);
  EXPECT_TRUE(LoadFrame(cut, none));
  EXPECT_FALSE(LoadFrame(cut, none));  // a store that ends short
  // Stepped over, a frame of bytes leaves the store at the next frame, and
  // one of words at the end.
  InputStream skipped = InputFromText(bytes, false);
  ASSERT_TRUE(SkipFrames(skipped, 1));
  StoredFrame after;
  ASSERT_TRUE(LoadFrame(skipped, after));
  EXPECT_EQ(after.bytes, wide);
  InputStream both = InputFromText(bytes, false);
  EXPECT_TRUE(SkipFrames(both, 2));
  EXPECT_FALSE(SkipFrames(both, 1));
  InputStream cut_short = InputFromText(std::string_view(bytes).substr(0, bytes.size() - 1), false);
  EXPECT_FALSE(SkipFrames(cut_short, 2));
}

// The segment of each frame on the first channel's chart of a pass page, by frame.
std::vector<uint32_t> Segments(const PassDetail& detail) {
  std::vector<Sample> samples;
  for (const Column& column : detail.series[0].columns) {
    for (std::size_t i = 0; i < column.count && i < kKeptPerColumn; ++i) samples.push_back(column.kept[i]);
  }
  std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.seq < b.seq; });
  std::vector<uint32_t> segments;
  for (const Sample& sample : samples) segments.push_back(sample.segment);
  return segments;
}

TEST(Replay, APassPageBreaksItsLinesAtItsOwnGapsAndFallsOnly) {
  // a: SatTime 100, 110, 120 s, 150 s after a gap of the account (30 s, three
  // usual steps of 10 s: no gap of the ground clock), 160, 170, 180 s, then a
  // restart to 20 s (a fall of both), 30, 40 s. b, read next: steady.
  const std::vector<std::vector<int32_t>> counters{{200, 220, 240, 300, 320, 340, 360, 40, 60, 80}, {100, 120, 140}};
  FormatRecord format;
  std::string bytes;
  OutputStream store = OutputToMemory(&bytes, false);
  for (const std::vector<int32_t>& pass : counters) {
    PassRecord& record = format.passes.emplace_back();
    record.start = 1547111730;  // 2019-01-10 09:15:30
    record.file.counts.frames = pass.size();
    record.account.steps = CountTimeSteps(pass);
    record.repeated.assign(pass.size(), false);
    for (const int32_t counter : pass) StoreFrame(store, FrameRecord(1, 1, FrameAt(counter), HkValues{}));
  }
  Flush(store);
  InputStream in = InputFromText(bytes, false);
  PassDetail detail;
  ASSERT_TRUE(ReplayPassDetail(in, format, 0, detail));
  // Each break counts once per kind: the fall breaks the account's line and the clock's.
  EXPECT_EQ(Segments(detail), (std::vector<uint32_t>{0, 0, 0, 1, 1, 1, 1, 3, 3, 3}));
  std::vector<double> times;
  for (const FrameRow& row : detail.rows) times.push_back(*row.ground_time - 1547111730);
  EXPECT_EQ(times, (std::vector<double>{0, 10, 20, 50, 60, 70, 80, 80, 90, 100}));
  ASSERT_TRUE(ReplayPassDetail(in, format, 1, detail));
  EXPECT_EQ(Segments(detail), (std::vector<uint32_t>{0, 0, 0}));  // nothing of a's breaks
  EXPECT_EQ(detail.rows.size(), 3u);
}

TEST(Replay, TrendSeriesStepOverAPassWithoutAStartAsTheyReadIt) {
  // An undated pass between two dated ones, its frames of bytes and of
  // words: the series are the same whether its frames are handed on or not,
  // and a store that ends within it ends the replay either way.
  FormatRecord format;
  std::string bytes;
  OutputStream store = OutputToMemory(&bytes, false);
  const std::vector<std::vector<int32_t>> counters{{200, 220}, {100, 120, 140}, {400, 420, 440}};
  for (std::size_t pass = 0; pass < counters.size(); ++pass) {
    PassRecord& record = format.passes.emplace_back();
    if (pass != 1) record.start = 1547111730 + 86400.0 * static_cast<double>(pass);
    record.file.counts.frames = counters[pass].size();
    record.account.steps = CountTimeSteps(counters[pass]);
    for (const int32_t counter : counters[pass]) {
      HkFrame frame = FrameAt(counter);
      if (pass == 1 && counter == 120) frame[20] = 0x100;  // stored as words
      StoreFrame(store, FrameRecord(1, 1, frame, HkValues{}));
    }
  }
  Flush(store);
  std::vector<TimeSeries> results;
  for (const bool hand_on : {false, true}) {
    InputStream in = InputFromText(bytes, false);
    std::size_t handed = 0;
    const FrameVisitor count = [&](const PassRecord&, const ReplayedFrame&) { ++handed; };
    ASSERT_TRUE(ReplayTrendSeries(in, format, hand_on ? count : FrameVisitor()));
    EXPECT_EQ(handed, hand_on ? 8u : 0u);
    EXPECT_EQ(format.series[0].samples, 5u);
    results.push_back(format.series[0]);
    const std::size_t within = 2 * 87 + 87 + 1 + 8 + 78 * 4;  // the first pass, and two frames of the second
    InputStream cut = InputFromText(std::string_view(bytes).substr(0, within), false);
    EXPECT_FALSE(ReplayTrendSeries(cut, format, hand_on ? count : FrameVisitor()));
  }
  EXPECT_EQ(results[0], results[1]);
}

}  // namespace
