// Reception against exposure: bands and sectors, the sums of a cell, the
// multiplicative fit and the weak sectors it shows.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "report/model/reception_fit.h"

using namespace hkcsv;

namespace {

TEST(ReceptionFit, BandsAndSectorsTakeTheirBoundsFromAbove) {
  const std::vector<std::pair<double, std::size_t>> bands{{0.5, 0}, {9.99, 0}, {10, 1}, {45, 4}, {80, 8}, {90, 8}};
  for (const auto& [angle, band] : bands) EXPECT_EQ(ElevationBand(angle), band) << angle;
  const std::vector<std::pair<double, std::size_t>> sectors{{0, 0},     {22.4, 0},  {22.5, 1}, {180, 4},
                                                            {337.4, 7}, {337.5, 0}, {359.9, 0}};
  for (const auto& [azimuth, sector] : sectors) EXPECT_EQ(Sector(azimuth), sector) << azimuth;
  EXPECT_EQ(kSectorNames[Sector(200)], "S");
  EXPECT_EQ(kElevationBandNames[ElevationBand(90)], "80-90");
}

TEST(ReceptionFit, SumsWeighPassesByTheirFrames) {
  // 100 expected / 50 found and 10 / 10: 60 of 110 (54.5%), not the mean of
  // the ratios (75%). The S meter median of a band: the middle two of 5, 6,
  // 7, 8 averaged; a pass without one counts but its S meter does not.
  std::vector<PassReception> passes{
      {45, 30, 200, 100, 50, 0, 0, 5.0}, {48, 30, 150, 10, 10, 0, 0, 8.0}, {41, 300, 170, 20, 20, 0, 0, 6.0},
      {42, 300, 200, 20, 0, 0, 0, 7.0},  {44, 300, 200, 10, 5, 0, 0, {}},  {15, 100, 250, 0, 0, 0, 0, 2.0},
  };
  const ReceptionSums sums = SumReception(std::span(passes.data(), 2));
  EXPECT_NEAR(ReceptionPercent(sums.bands[4]).value_or(0), 100.0 * 60 / 110, 1e-9);
  EXPECT_EQ(sums.rising[1].passes, 2);
  EXPECT_EQ(sums.setting[4].expected, 100);
  EXPECT_EQ(sums.setting[3].found, 10);

  const ReceptionSums all = SumReception(passes);
  EXPECT_EQ((std::vector<std::int64_t>{all.bands[4].passes, all.bands[4].expected, all.bands[4].found}),
            (std::vector<std::int64_t>{5, 160, 85}));
  EXPECT_EQ(all.band_s_meter[4], 6.5);
  EXPECT_EQ(all.band_s_meter[1], 2.0);
  EXPECT_EQ(all.band_s_meter[0], std::nullopt);
  EXPECT_EQ(ReceptionPercent(all.bands[1]), std::nullopt);  // a pass with no frames expected
  EXPECT_EQ(all.rising[7].passes, 3);
}

// Passes made exactly of known factors, every band, rising sector, setting
// sector and modulation crossed, 1,000 frames expected each.
std::vector<PassReception> KnownFactorPasses(const std::vector<std::pair<double, double>>& bands,
                                             const std::vector<std::pair<double, double>>& rising,
                                             const std::vector<std::pair<double, double>>& setting,
                                             const std::vector<double>& modulation) {
  std::vector<PassReception> passes;
  for (const auto& [angle, b] : bands) {
    for (const auto& [aos, r] : rising) {
      for (const auto& [los, s] : setting) {
        for (std::size_t m = 0; m < modulation.size(); ++m) {
          const double found = 1000 * b * r * s * modulation[m];
          passes.push_back({angle, aos, los, 1000, static_cast<std::int64_t>(found + 0.5), m, 0, {}});
        }
      }
    }
  }
  return passes;
}

void ExpectFactors(const std::vector<FitFactor>& got, const std::vector<FitFactor>& expected, const char* what) {
  ASSERT_EQ(got.size(), expected.size()) << what;
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].has_value(), expected[i].has_value()) << what << " " << i;
    if (got[i]) {
      EXPECT_NEAR(*got[i], *expected[i], 0.002) << what << " " << i;
    }
  }
}

template <std::size_t N>
std::vector<FitFactor> List(const std::array<FitFactor, N>& factors) {
  return {factors.begin(), factors.end()};
}

TEST(ReceptionFit, GivesKnownFactorsBack) {
  // Bands 20-30 at 0.8 and 60-70 at 1; rising N 1, NE 0.5, S 1; setting N
  // 0.625, SE 1, S 1; modulations 1 and 0.5. Rising and setting have a median
  // of 1 already; the modulations' median is 0.75, so they come back as 4/3
  // and 2/3 and the bands as 0.8 x 0.75 = 0.6 and 0.75.
  const std::vector<PassReception> passes = KnownFactorPasses({{25, 0.8}, {65, 1}}, {{0, 1}, {45, 0.5}, {180, 1}},
                                                              {{0, 0.625}, {135, 1}, {180, 1}}, {1, 0.5});
  const ReceptionFit fit = FitReception(passes);
  EXPECT_TRUE(fit.converged);
  EXPECT_LE(fit.rounds, kFitRoundsMax);
  const std::nullopt_t none = std::nullopt;
  ExpectFactors(List(fit.band), {none, none, 0.6, none, none, none, 0.75, none, none}, "bands");
  ExpectFactors(List(fit.rising), {1.0, 0.5, none, none, 1.0, none, none, none}, "rising");
  ExpectFactors(List(fit.setting), {0.625, none, none, 1.0, 1.0, none, none, none}, "setting");
  ExpectFactors(fit.modulation, {4.0 / 3, 2.0 / 3}, "modulation");
  ExpectFactors(fit.polarization, {1.0}, "polarization");

  // Rising NE and setting N, 12 passes each, are weak.
  const std::vector<WeakSector> weak = WeakSectors(fit, SumReception(passes));
  ASSERT_EQ(weak.size(), 2u);
  EXPECT_EQ((std::vector{weak[0].side, weak[1].side}), (std::vector{PassSide::kRising, PassSide::kSetting}));
  EXPECT_EQ((std::vector<std::size_t>{weak[0].sector, weak[1].sector}), (std::vector<std::size_t>{1, 0}));
  EXPECT_EQ((std::vector<std::int64_t>{weak[0].passes, weak[1].passes}), (std::vector<std::int64_t>{12, 12}));

  // Every direction alike: the bands differ, no sector is weak.
  const std::vector<PassReception> alike =
      KnownFactorPasses({{5, 0.5}, {35, 0.9}, {85, 1}}, {{0, 1}, {90, 1}, {200, 1}}, {{10, 1}, {170, 1}}, {1});
  const ReceptionFit alike_fit = FitReception(alike);
  ExpectFactors(List(alike_fit.band), {0.5, none, none, 0.9, none, none, none, none, 1.0}, "alike bands");
  EXPECT_TRUE(WeakSectors(alike_fit, SumReception(alike)).empty());
}

TEST(ReceptionFit, FactorModelledAsZeroKeepsItsValue) {
  // Nothing heard in 10-20, whose passes all rise in the north: its band goes
  // to 0 first, and then the north's factor has nothing to be set by.
  const std::vector<PassReception> passes{
      {15, 0, 180, 1000, 0, 0, 0, {}},
      {55, 180, 0, 1000, 500, 0, 0, {}},
      {55, 180, 0, 0, 0, 0, 0, {}},  // no frames expected: takes no part
  };
  const ReceptionFit fit = FitReception(passes);
  const std::nullopt_t none = std::nullopt;
  ExpectFactors(List(fit.band), {none, 0.0, none, none, none, 0.5, none, none, none}, "bands");
  ExpectFactors(List(fit.rising), {1.0, none, none, none, 1.0, none, none, none}, "rising");
  EXPECT_TRUE(fit.converged);
}

TEST(ReceptionFit, WeakSectorsNeedFivePassesAndAtMostFourFifths) {
  ReceptionFit fit;
  ReceptionSums sums;
  const auto sector = [&](PassSide side, std::size_t at, FitFactor factor, std::int64_t passes) {
    (side == PassSide::kRising ? fit.rising : fit.setting)[at] = factor;
    (side == PassSide::kRising ? sums.rising : sums.setting)[at].passes = passes;
  };
  sector(PassSide::kRising, 0, 0.80, 5);     // weak, just
  sector(PassSide::kRising, 1, 0.81, 40);    // not weak
  sector(PassSide::kRising, 2, 0.10, 4);     // too few passes to say
  sector(PassSide::kRising, 3, {}, 9);       // no factor
  sector(PassSide::kSetting, 5, 0.344, 40);  // weak
  const std::vector<WeakSector> weak = WeakSectors(fit, sums);
  ASSERT_EQ(weak.size(), 2u);
  EXPECT_EQ(WeakSectorLine(weak[0]),
            "Rising passes from N are heard at 0.80 of what passes as high get from other directions (5 passes): "
            "an obstruction or a pointing offset toward N?");
  EXPECT_EQ(WeakSectorLine(weak[1]),
            "Setting passes toward SW are heard at 0.34 of what passes as high get from other directions (40 "
            "passes): an obstruction or a pointing offset toward SW?");
}

}  // namespace
