// The station's facts of a format, settled from its pass records: which
// passes count against exposure and which are left out, by reason; the
// passes the sky plot draws; and the reception of the station card.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "report/model/format_record.h"
#include "report/model/station.h"

using namespace hkcsv;

namespace {

constexpr double kDay = 86400;

struct Header {
  std::string max_angle, aos_azimuth, los_azimuth, aos, los;
};

PassRecord Pass(const Header& header, std::optional<std::int64_t> expected, std::uint64_t found, double day) {
  PassRecord pass;
  pass.start = day * kDay;
  PassHeader& cells = pass.file.header;
  cells.cell_count = kPassHeaderColumns;
  cells.cells[kMaxAngleCell] = header.max_angle;
  cells.cells[kAzimuthAosCell] = header.aos_azimuth;
  cells.cells[kAzimuthLosCell] = header.los_azimuth;
  cells.cells[kAosTimeCell] = header.aos;
  cells.cells[kLosTimeCell] = header.los;
  cells.cells[kModulationCell] = "GMSK";
  cells.cells[kPolarizationCell] = "Right Hand";
  cells.cells[kSMeterCell].assign(1, '5');  // assign: GCC 12 warns of a one-letter literal in error
  pass.frames_expected = expected;
  pass.frames_found = found;
  if (expected) pass.reception = static_cast<double>(found) / static_cast<double>(*expected);
  return pass;
}

TEST(Station, PassesCountAgainstExposureAndTheOthersAreLeftOutByReason) {
  const Header good{"45", "100", "280", "09:00:00", "09:12:00"};
  FormatRecord format;
  format.passes = {
      Pass(good, 100, 50, 0),                                           // 0: counted
      Pass({"60", "90", "270", "10:00:00", "10:12:00"}, 10, 10, 40),    // 1: counted
      Pass({"abc", "100", "280", "09:00:00", "09:12:00"}, 30, 30, 41),  // 2: no track
      Pass({"95", "100", "280", "09:00:00", "09:12:00"}, 30, 30, 41),   // 3
      Pass({"-3", "100", "280", "09:00:00", "09:12:00"}, 30, 30, 41),   // 4
      Pass({"45", "360", "280", "09:00:00", "09:12:00"}, 30, 30, 41),   // 5
      Pass({"45", "100", "280", "09:00:00", "09:00:00"}, 30, 30, 41),   // 6: AOS equals LOS
      Pass({"30", "350", "10", "23:55:00", "00:07:00"}, 20, 5, 41),     // 7: across midnight, counted
      Pass(good, std::nullopt, 0, 41),                                  // 8: a track, no frames expected
      Pass(good, 30, 30, 41),                                           // 9: not read
  };
  format.passes[9].file.open_error = 2;
  const StationFacts station = SettleStation(format);
  EXPECT_EQ(station.left_out, (std::vector<std::pair<std::string, std::size_t>>{{"capture not read", 1},
                                                                                {"max angle is not a number", 1},
                                                                                {"max angle out of range", 2},
                                                                                {"azimuth out of range", 1},
                                                                                {"AOS equals LOS", 1},
                                                                                {"frames expected unknown", 1}}));
  EXPECT_EQ(station.fitted, 3u);
  // Against exposure: 65 of 130 frames, not the mean of 50%, 100% and 25%.
  EXPECT_EQ(station.sums.bands[ElevationBand(45)].found + station.sums.bands[ElevationBand(60)].found +
                station.sums.bands[ElevationBand(30)].found,
            65);
  // The card: every pass with frames expected (the ones left out by their
  // geometry too), and those of the 30 days to the newest, day 41.
  EXPECT_EQ(station.whole.passes, 9);
  EXPECT_EQ(station.whole.expected, 100 + 10 + 5 * 30 + 20 + 30);
  EXPECT_EQ(station.recent.passes, 8);  // all but pass 0, of day 0
  // Every pass with a track is drawn, the one without frames expected too.
  EXPECT_EQ(station.drawn, (std::vector<std::size_t>{0, 1, 7, 8}));
  EXPECT_FALSE(station.passes[2]);
  EXPECT_TRUE(station.passes[8] && !station.passes[8]->reception);
  EXPECT_EQ(station.passes[7]->geometry.duration_s, 720);
}

TEST(Station, TheSkyPlotDrawsTheLastThousandPasses) {
  FormatRecord format;
  for (int i = 0; i < 1003; ++i) {
    format.passes.push_back(Pass({"45", "100", "280", "09:00:00", "09:12:00"}, 10, 10, i));
  }
  const StationFacts station = SettleStation(format);
  ASSERT_EQ(station.drawn.size(), kDrawnPassesMax);
  EXPECT_EQ(station.drawn.front(), 3u);
  EXPECT_EQ(station.drawn.back(), 1002u);
  EXPECT_EQ(station.not_drawn, 3u);
}

}  // namespace
