// The limits file read strictly, a message for every bad line, and values classified against limits.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "report/model/limits.h"

using namespace hkcsv;

namespace {

constexpr int kBusVoltage = 0;    // "Buss Voltage"
constexpr int kBatteryTemp1 = 8;  // "Battery Temp1"
constexpr int kMagX = 30;
constexpr int kMagY = 31;
constexpr int kMagZ = 32;
constexpr int kMagReference = 33;  // "Mag_ref"

struct LimitsCase {
  std::string text;
  std::vector<std::string> errors;
};

TEST(ParseLimitsTest, ReportsEachBadLineWithItsMessage) {
  const std::vector<LimitsCase> cases{
      {"Bus Voltage,3.5,3.6,4.0,4.1\n", {"lim.txt:1: unknown column \"Bus Voltage\""}},
      {"buss voltage,,,,\n", {"lim.txt:1: unknown column \"buss voltage\""}},
      {"+Xsc Temp,,,,\n", {"lim.txt:1: unknown column \"+Xsc Temp\""}},
      {"SatTime,,,,\n", {"lim.txt:1: unknown column \"SatTime\""}},
      {" ,1,2,3,4\n", {"lim.txt:1: unknown column \"\""}},
      {"Mag_x,1,2,3,4\n# again\nMag_x , 1,2,3,4\n", {"lim.txt:3: \"Mag_x\" appears again (first on line 1)"}},
      {"Buss Voltage,3.5,3.6,4.0\n", {"lim.txt:1: expected 5 cells, found 4"}},
      {"Buss Voltage,3.5,3.6,4.0,4.1,\n", {"lim.txt:1: expected 5 cells, found 6"}},
      {"Buss Voltage\n", {"lim.txt:1: expected 5 cells, found 1"}},
      {"Buss Voltage,1,2,3,1.2.3\n", {"lim.txt:1: red high \"1.2.3\" is not a number"}},
      {"Buss Voltage,,3.5 V,,\n", {"lim.txt:1: yellow low \"3.5 V\" is not a number"}},
      {"Buss Voltage,1e999,,,\n", {"lim.txt:1: red low \"1e999\" is out of the range of a double"}},
      {"Buss Voltage,,,-1e-400,\n", {"lim.txt:1: yellow high \"-1e-400\" is out of the range of a double"}},
      {"Buss Voltage,,3.5,3.0,\n", {"lim.txt:1: yellow low 3.5 is above yellow high 3.0"}},
      {"Buss Voltage,3.6,3.5,3.9,4.0\n", {"lim.txt:1: red low 3.6 is above yellow low 3.5"}},
      {"Buss Voltage,3.4,3.5,4.1,4.0\n", {"lim.txt:1: yellow high 4.1 is above red high 4.0"}},
      {"Buss Voltage,4,,,3.9\n", {"lim.txt:1: red low 4 is above red high 3.9"}},
      {"Buss Voltage,,1e1,,9.5\n", {"lim.txt:1: yellow low 1e1 is above red high 9.5"}},
      // Echoed cells are cut at 64 bytes.
      {std::string(70, 'A') + ",,,,\n", {"lim.txt:1: unknown column \"" + std::string(64, 'A') + "...\""}},
      {"Buss Voltage,1e" + std::string(70, '9') + ",,,\n",
       {"lim.txt:1: red low \"1e" + std::string(62, '9') + "...\" is out of the range of a double"}},
      {"Buss Voltage,,4." + std::string(70, '5') + ",,3." + std::string(62, '0') + "\n",
       {"lim.txt:1: yellow low 4." + std::string(62, '5') + "... is above red high 3." + std::string(62, '0')}},
      // Equal limits are in order.
      {"Buss Voltage,3.5,3.5,3.5,3.5\n", {}},
  };
  for (const LimitsCase& c : cases) {
    LimitTable limits;
    std::vector<std::string> errors;
    EXPECT_EQ(ParseLimits(c.text, "lim.txt", limits, errors), c.errors.empty()) << c.text;
    EXPECT_EQ(errors, c.errors) << c.text;
  }
}

TEST(ParseLimitsTest, AcceptsOnlyPlainDecimalNumbers) {
  const char* const bad[] = {"inf", "-inf",  "nan",   "0x10", "1e", "1e+", ".5",   "5.",           "+-1",
                             "--1", "1 000", "1_000", "e5",   "+",  "-",   "1.5f", "\xEF\xBC\x91", "1\r"};
  for (const char* number : bad) {
    LimitTable limits;
    std::vector<std::string> errors;
    EXPECT_FALSE(ParseLimits(std::string("Mag_z,") + number + ",,,", "f", limits, errors)) << number;
    ASSERT_EQ(errors.size(), 1u) << number;
    EXPECT_EQ(errors[0], std::string("f:1: red low \"") + number + "\" is not a number");
  }
  struct Good {
    const char* text;
    double value;
  };
  const Good good[] = {{"0", 0.0},        {"-0", -0.0},   {"+7", 7.0},   {"007.250", 7.25},
                       {"-1.5e3", -1500}, {"2E-2", 0.02}, {"1e+2", 100}, {"4.9e-324", 4.9e-324}};
  for (const Good& g : good) {
    LimitTable limits;
    std::vector<std::string> errors;
    EXPECT_TRUE(ParseLimits(std::string("Mag_z,") + g.text + ",,,", "f", limits, errors)) << g.text;
    EXPECT_EQ(limits[kMagZ][kRedLow], g.value) << g.text;
  }
}

TEST(ParseLimitsTest, AcceptsByteOrderMarkCrLfCommentsBlanksAndEmptyCells) {
  const char text[] =
      "\xEF\xBB\xBF# hkreport limits\r\n"
      "\r\n"
      " \t \r\n"
      "Buss Voltage , 3.6,3.7 ,\t4.0\t, 4.1\r\n"
      "#Battery Temp1,1,2,3,4\n"
      "Battery Temp1,,-5,+45,\n"
      "+Xsc Tepm,,,,\n"
      "Mag_ref,-1.5e3,-1E+3,1e3,15E2";  // no line end
  LimitTable limits;
  std::vector<std::string> errors;
  ASSERT_TRUE(ParseLimits(text, "lim.txt", limits, errors));
  EXPECT_TRUE(errors.empty());
  for (int i = 0; i < kEngineeringChannels; ++i) {
    const ChannelLimits& l = limits[static_cast<std::size_t>(i)];
    if (i == kBusVoltage) {
      EXPECT_EQ(l[kRedLow], 3.6);
      EXPECT_EQ(l[kYellowLow], 3.7);
      EXPECT_EQ(l[kYellowHigh], 4.0);
      EXPECT_EQ(l[kRedHigh], 4.1);
    } else if (i == kBatteryTemp1) {
      EXPECT_FALSE(l[kRedLow]);
      EXPECT_EQ(l[kYellowLow], -5.0);
      EXPECT_EQ(l[kYellowHigh], 45.0);
      EXPECT_FALSE(l[kRedHigh]);
    } else if (i == kMagReference) {
      EXPECT_EQ(l[kRedLow], -1500.0);
      EXPECT_EQ(l[kYellowLow], -1000.0);
      EXPECT_EQ(l[kYellowHigh], 1000.0);
      EXPECT_EQ(l[kRedHigh], 1500.0);
    } else {
      EXPECT_EQ(l, ChannelLimits{}) << i;  // including "+Xsc Tepm", listed with no limits
    }
  }
}

TEST(ParseLimitsTest, ReportsEveryBadLineAndKeepsTheGoodOnes) {
  const char text[] =
      "# limits\n"
      "Buss Voltage,3.6,3.7,4.0,4.1\n"
      "Bus Voltage,1,2,3,4\n"
      "\n"
      "Buss Voltage,1,2,3,4\n"
      "Mag_x,1,2,3\n"
      "Mag_y,a,,,\n"
      "Mag_y,1,2,3,4\n"
      "Mag_z,,,,5\n";
  LimitTable limits;
  limits[kMagReference][kRedLow] = 1.0;  // replaced, not merged
  std::vector<std::string> errors{"earlier"};
  EXPECT_FALSE(ParseLimits(text, "dir/l.txt", limits, errors));
  const std::vector<std::string> expected{
      "earlier",
      "dir/l.txt:3: unknown column \"Bus Voltage\"",
      "dir/l.txt:5: \"Buss Voltage\" appears again (first on line 2)",
      "dir/l.txt:6: expected 5 cells, found 4",
      "dir/l.txt:7: red low \"a\" is not a number",
      "dir/l.txt:8: \"Mag_y\" appears again (first on line 7)",
  };
  EXPECT_EQ(errors, expected);
  EXPECT_EQ(limits[kBusVoltage][kRedHigh], 4.1);
  EXPECT_EQ(limits[kMagZ][kRedHigh], 5.0);
  EXPECT_EQ(limits[kMagY], ChannelLimits{});
  EXPECT_EQ(limits[kMagReference], ChannelLimits{});
}

TEST(ReadLimitsTest, ReadsAFileAndReportsOneThatCannotBeOpened) {
  const std::string path = testing::TempDir() + "report_limits_test.txt";
  std::ofstream(path, std::ios::binary) << "Mag_x,,-2,2,\nMag_y,1,2,x,4\n";
  LimitTable limits;
  std::vector<std::string> errors;
  EXPECT_FALSE(ReadLimits(path, limits, errors));
  EXPECT_EQ(errors, std::vector<std::string>{path + ":2: yellow high \"x\" is not a number"});
  EXPECT_EQ(limits[kMagX][kYellowHigh], 2.0);

  const std::string missing = testing::TempDir() + "no such folder/limits.txt";
  errors.clear();
  EXPECT_FALSE(ReadLimits(missing, limits, errors));
  EXPECT_EQ(errors, std::vector<std::string>{missing + ": " + std::strerror(ENOENT)});
  EXPECT_EQ(limits[kMagX], ChannelLimits{});
}

TEST(ClassifyTest, EqualIsInsideAndStrictlyBeyondIsOut) {
  const ChannelLimits all{-10.0, -5.0, 5.0, 10.0};
  const ChannelLimits yellow_only{std::nullopt, -5.0, 5.0, std::nullopt};
  const ChannelLimits red_only{-10.0, std::nullopt, std::nullopt, 10.0};
  const ChannelLimits high_only{std::nullopt, std::nullopt, 5.0, std::nullopt};
  const ChannelLimits none{};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const ChannelLimits& limits;
    double value;
    LimitBand band;
  };
  const Case cases[] = {
      {all, -10.5, LimitBand::kRed},
      {all, std::nextafter(-10.0, -11.0), LimitBand::kRed},
      {all, -10.0, LimitBand::kYellow},
      {all, std::nextafter(-5.0, -6.0), LimitBand::kYellow},
      {all, -5.0, LimitBand::kInside},
      {all, 0.0, LimitBand::kInside},
      {all, 5.0, LimitBand::kInside},
      {all, std::nextafter(5.0, 6.0), LimitBand::kYellow},
      {all, 10.0, LimitBand::kYellow},
      {all, std::nextafter(10.0, 11.0), LimitBand::kRed},
      {all, nan, LimitBand::kInside},
      {yellow_only, -1e300, LimitBand::kYellow},
      {yellow_only, 1e300, LimitBand::kYellow},
      {yellow_only, 5.0, LimitBand::kInside},
      {red_only, -10.5, LimitBand::kRed},
      {red_only, 9.0, LimitBand::kInside},
      {red_only, 10.0, LimitBand::kInside},
      {high_only, -1e300, LimitBand::kInside},
      {high_only, 5.5, LimitBand::kYellow},
      {none, 1e300, LimitBand::kInside},
  };
  for (const Case& c : cases) EXPECT_EQ(Classify(c.limits, c.value), c.band) << c.value;
}

}  // namespace
