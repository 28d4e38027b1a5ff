// The geometry of a pass from its header: reading it, the angles and
// durations of a circular orbit, the altitude of a format, tracks and the
// sky plot.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "report/model/pass_geometry.h"

using namespace hkcsv;

namespace {

TEST(PassGeometry, ReadsAPassOrSaysWhyNot) {
  struct Case {
    const char* max_angle;
    const char* aos_azimuth;
    const char* los_azimuth;
    const char* aos_time;
    const char* los_time;
    GeometryFault fault;
    PassGeometry geometry;
  };
  const Case cases[] = {
      {"45", "152", "331", "09:10:12", "09:21:40", GeometryFault::kNone, {45, 152, 331, 688}},
      {"45.5", "0", "359.5", "09:10:12", "09:10:13", GeometryFault::kNone, {45.5, 0, 359.5, 1}},
      {"90", "350", "10", "23:55:00", "00:07:00", GeometryFault::kNone, {90, 350, 10, 720}},  // across midnight
      {"", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleMissing, {}},
      {"abc", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleNotANumber, {}},
      {"45 deg", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleNotANumber, {}},
      {"nan", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleNotANumber, {}},
      {"1e999", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleNotANumber, {}},
      {"95", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleOutOfRange, {}},
      {"-3", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleOutOfRange, {}},
      {"0", "152", "331", "09:10:12", "09:21:40", GeometryFault::kMaxAngleOutOfRange, {}},
      {"45", "", "331", "09:10:12", "09:21:40", GeometryFault::kAzimuthMissing, {}},
      {"45", "152", "N", "09:10:12", "09:21:40", GeometryFault::kAzimuthNotANumber, {}},
      {"45", "360", "331", "09:10:12", "09:21:40", GeometryFault::kAzimuthOutOfRange, {}},
      {"45", "152", "720", "09:10:12", "09:21:40", GeometryFault::kAzimuthOutOfRange, {}},
      {"45", "152", "-1", "09:10:12", "09:21:40", GeometryFault::kAzimuthOutOfRange, {}},
      {"45", "152", "331", "", "09:21:40", GeometryFault::kTimeMissing, {}},
      {"45", "152", "331", "9:10:12", "09:21:40", GeometryFault::kTimeDoesNotParse, {}},
      {"45", "152", "331", "09:10:12", "24:00:00", GeometryFault::kTimeDoesNotParse, {}},
      {"45", "152", "331", "09:10:12", "09:10:12", GeometryFault::kAosEqualsLos, {}},
      // The first fault wins.
      {"abc", "720", "", "", "", GeometryFault::kMaxAngleNotANumber, {}},
  };
  for (const Case& c : cases) {
    const GeometryReading reading = ReadPassGeometry(c.max_angle, c.aos_azimuth, c.los_azimuth, c.aos_time, c.los_time);
    const PassGeometry& got = reading.geometry;
    EXPECT_EQ(reading.fault, c.fault) << c.max_angle << " " << c.aos_azimuth << " " << c.aos_time;
    EXPECT_EQ(std::vector<double>({got.max_angle_deg, got.aos_azimuth_deg, got.los_azimuth_deg, got.duration_s}),
              std::vector<double>({c.geometry.max_angle_deg, c.geometry.aos_azimuth_deg, c.geometry.los_azimuth_deg,
                                   c.geometry.duration_s}))
        << c.max_angle << " " << c.aos_azimuth << " " << c.aos_time;
  }
  EXPECT_EQ(GeometryFaultText(GeometryFault::kAzimuthOutOfRange), "azimuth out of range");
}

// At 550 km, R / r = 6371 / 6921 = 0.920532.
// Horizon: lambda(0) = arccos(0.920532) = 22.996 deg.
// Overhead: lambda(90) = arccos(0) - 90 = 0, so s0 = lambda(0) = 22.996 deg, and
// e(0) = atan2(1 - 0.920532, 0) = 90.
// 45 deg: lambda = arccos(0.920532 x 0.707107 = 0.650914) - 45 = 49.389 - 45 = 4.389 deg;
// s0 = arccos(0.920532 / cos 4.389 = 0.920532 / 0.997067 = 0.923240) = 22.596 deg.
// n = sqrt(398600.4418 / 6921^3 = 1.202355e-6) = 1.096518e-3 rad/s, so a pass
// lasts 2 x 0.401355 / n = 732.1 s overhead and 2 x 0.394373 / n = 719.3 s at 45.
TEST(PassGeometry, AnglesAndDurationsAt550Km) {
  EXPECT_NEAR(CentralAngleDeg(0, 550), 22.996, 0.001);
  EXPECT_NEAR(CentralAngleDeg(90, 550), 0.0, 1e-9);
  EXPECT_NEAR(CentralAngleDeg(45, 550), 4.389, 0.001);
  EXPECT_NEAR(ElevationDeg(4.389, 550), 45.0, 0.01);
  EXPECT_NEAR(ElevationDeg(0, 550), 90.0, 1e-9);
  EXPECT_NEAR(ElevationDeg(22.996, 550), 0.0, 0.01);
  EXPECT_NEAR(HalfArcDeg(90, 550), 22.996, 0.001);
  EXPECT_NEAR(HalfArcDeg(45, 550), 22.596, 0.001);
  EXPECT_NEAR(PassDurationS(90, 550), 732.1, 0.1);
  EXPECT_NEAR(PassDurationS(45, 550), 719.3, 0.1);

  // And back: the altitude of a duration, none where 200 to 2,000 km gives
  // no such pass (overhead at 200 km: about 417 s).
  EXPECT_NEAR(AltitudeForDuration(45, 719.3).value_or(0), 550.0, 0.5);
  EXPECT_NEAR(AltitudeForDuration(90, 732.1).value_or(0), 550.0, 0.5);
  EXPECT_EQ(AltitudeForDuration(90, 100), std::nullopt);
  EXPECT_EQ(AltitudeForDuration(10, 86000), std::nullopt);

  // A format's altitude: the median, the middle two of an even count
  // averaged, passes that give none left out; none at all gives 500 km.
  const std::vector<PassGeometry> passes{
      {45, 0, 180, PassDurationS(45, 520)},
      {20, 0, 180, PassDurationS(20, 600)},
      {90, 0, 180, 100},  // too short for any altitude
      {70, 0, 180, PassDurationS(70, 580)},
      {60, 0, 180, PassDurationS(60, 900)},
  };
  EXPECT_NEAR(FormatAltitudeKm(passes), (580.0 + 600.0) / 2, 0.01);
  EXPECT_EQ(FormatAltitudeKm({}), kUnknownAltitudeKm);
}

TEST(PassGeometry, TracksFromAosToLos) {
  struct Case {
    const char* what;
    PassGeometry pass;
    int at;  // a point of the 33, and where it stands
    SkyPoint expected;
  };
  const Case cases[] = {
      // At u = -s0 / 2 = -11.298 deg of the 45 deg pass: the azimuth turned from
      // the middle is atan(tan 11.298 / sin 4.389 = 2.6104) = 69.04 of
      // atan(tan 22.596 / sin 4.389 = 5.4385) = 79.58 at AOS, so A = 150 - 50 x
      // 0.8676 = 106.62; cos lambda = cos 4.389 x cos 11.298 = 0.977746,
      // lambda = 12.113, e = atan2(0.977746 - 0.920532, sin 12.113 = 0.20984) = 15.25.
      {"45 deg, AOS 100, LOS 200", {45, 100, 200, 719}, 8, {106.62, 15.25}},
      {"its highest point", {45, 100, 200, 719}, 16, {150, 45}},
      // The short arc crosses north: 350 to 10, middle 0.
      {"across north", {20, 350, 10, 600}, 16, {0, 20}},
      // A pass above 85 deg runs from its AOS azimuth up to the zenith on the
      // elevations of an overhead pass: at u = -11.498, cos 11.498 = 0.979932,
      // e = atan((0.979932 - 0.920532) / sin 11.498 = 0.199334) = 16.59.
      {"through the zenith", {88, 200, 20, 730}, 8, {200, 16.59}},
  };
  for (const Case& c : cases) {
    const std::vector<SkyPoint> track = PassTrack(c.pass, 550);
    ASSERT_EQ(track.size(), 33u) << c.what;
    EXPECT_NEAR(track.front().azimuth_deg, c.pass.aos_azimuth_deg, 1e-9) << c.what;
    EXPECT_NEAR(track.back().azimuth_deg, c.pass.los_azimuth_deg, 1e-9) << c.what;
    EXPECT_NEAR(track.front().elevation_deg, 0, 1e-6) << c.what;
    EXPECT_NEAR(track.back().elevation_deg, 0, 1e-6) << c.what;
    const SkyPoint& point = track[static_cast<std::size_t>(c.at)];
    EXPECT_NEAR(point.azimuth_deg, c.expected.azimuth_deg, 0.01) << c.what;
    EXPECT_NEAR(point.elevation_deg, c.expected.elevation_deg, 0.01) << c.what;
  }
}

TEST(PassGeometry, TrackAcrossNorthAndThroughTheZenithOnTheSkyPlot) {
  // Across north every point turns clockwise from 350 to 10 through 0, rising
  // to the max angle and setting again.
  const std::vector<SkyPoint> north = PassTrack({20, 350, 10, 600}, 550);
  for (std::size_t i = 1; i < north.size(); ++i) {
    const double turn = std::fmod(north[i].azimuth_deg - north[i - 1].azimuth_deg + 360, 360);
    EXPECT_TRUE(turn > 0 && turn < 5) << i;
    EXPECT_EQ(north[i].elevation_deg > north[i - 1].elevation_deg, i <= 16) << i;
  }
  // Through the zenith from the south to the north: a straight line down the
  // middle of the plot, from the bottom rim through the centre to the top.
  const std::vector<SkyPoint> zenith = PassTrack({88, 180, 0, 730}, 550);
  for (std::size_t i = 0; i < zenith.size(); ++i) {
    const PlotPoint at = SkyPlotPosition(zenith[i]);
    EXPECT_NEAR(at.x, 0, 1e-9) << i;
    if (i > 0) {
      EXPECT_LT(at.y, SkyPlotPosition(zenith[i - 1]).y) << i;
    }
  }
  EXPECT_NEAR(zenith[16].elevation_deg, 90, 1e-9);
}

TEST(PassGeometry, SkyPlotNorthUpEastRight) {
  struct Case {
    SkyPoint point;
    PlotPoint at;
  };
  const Case cases[] = {
      {{0, 0}, {0, -1}},                                // north on the rim, at the top
      {{90, 0}, {1, 0}},                                // east to the right
      {{180, 45}, {0, 0.5}},                            // south, half way down
      {{270, 30}, {-2.0 / 3, 0}}, {{123, 90}, {0, 0}},  // the zenith in the centre
  };
  for (const Case& c : cases) {
    const PlotPoint at = SkyPlotPosition(c.point);
    EXPECT_NEAR(at.x, c.at.x, 1e-12) << c.point.azimuth_deg;
    EXPECT_NEAR(at.y, c.at.y, 1e-12) << c.point.azimuth_deg;
  }
  // A pass rising in the east starts on the right half of the plot.
  const std::vector<SkyPoint> track = PassTrack({30, 80, 160, 650}, 550);
  EXPECT_GT(SkyPlotPosition(track[0]).x, 0.9);
  EXPECT_GT(SkyPlotPosition(track[4]).x, 0.5);
}

}  // namespace
