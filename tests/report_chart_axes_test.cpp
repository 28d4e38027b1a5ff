// The axis choices of a chart: round value ticks, calendar time ticks, the
// grid of time columns and the text of a column width.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "report/charts/chart_axes.h"

using namespace hkcsv;

namespace {

TEST(ChartAxes, ValueTicksAreRoundNumbers) {
  struct Case {
    double low, high;
    std::vector<std::string> labels;  // bottom to top
  };
  const Case cases[] = {
      {0, 1, {"0", "0.2", "0.4", "0.6", "0.8", "1"}},
      {5, 5, {"4.4", "4.6", "4.8", "5", "5.2", "5.4", "5.6"}},  // one value: widened by a tenth
      {0, 0, {"-1", "-0.5", "0", "0.5", "1"}},
      {1200, 1250, {"1200", "1210", "1220", "1230", "1240", "1250"}},
      {0.125, 0.25, {"0.1", "0.15", "0.2", "0.25"}},
      {0, 3e6, {"0", "1000000", "2000000", "3000000"}},
      // Beyond 9 zeros or 12 decimals: digits and a power of ten.
      {0, 3e11, {"0", "1e11", "2e11", "3e11"}},
      {-1.2e-15, 1.2e-15, {"-15e-16", "-1e-15", "-5e-16", "0", "5e-16", "1e-15", "15e-16"}},
  };
  for (const Case& c : cases) {
    const ValueTicks ticks = ChooseValueTicks(c.low, c.high);
    std::vector<std::string> labels;
    for (std::int64_t k = ticks.first; k <= ticks.last; ++k) AppendTickLabel(labels.emplace_back(), ticks, k);
    EXPECT_EQ(labels, c.labels) << c.low << ' ' << c.high;
  }
}

TEST(ChartAxes, TimeTicksFollowTheCalendar) {
  struct Case {
    double from, to;
    std::vector<std::string> labels, dates;
    int max_steps = 8;
    bool with_seconds = false;
  };
  const double jan10 = 1547111730;  // 2019-01-10 09:15:30
  const Case cases[] = {
      // A pass of 11 minutes: 120 s steps would be 5.5 of them.
      {jan10, jan10 + 660, {"09:20:00", "09:25:00"}, {"2019-01-10"}, 5, true},
      {jan10, jan10 + 600, {"09:16", "09:18", "09:20", "09:22", "09:24"}, {"2019-01-10"}},
      // One-minute steps show no seconds unless asked to.
      {jan10, jan10 + 360, {"09:16", "09:17", "09:18", "09:19", "09:20", "09:21"}, {"2019-01-10"}},
      // Weeks start on Monday: 2019-01-10 is a Thursday.
      {jan10,
       jan10 + 42 * 86400,
       {"2019-01-14", "2019-01-21", "2019-01-28", "2019-02-04", "2019-02-11", "2019-02-18"},
       {}},
      {jan10,
       jan10 + 3 * 86400,
       {"12:00", "00:00", "12:00", "00:00", "12:00", "00:00"},
       {"2019-01-10", "2019-01-11", "2019-01-12", "2019-01-13"}},
      {jan10, jan10 + 151 * 86400, {"2019-02", "2019-03", "2019-04", "2019-05", "2019-06"}, {}},  // to 2019-06-10
      {jan10 - 6574 * 86400, jan10, {"2005", "2010", "2015"}, {}},                                // from 2001-01-10
      // 20 s widened to a minute around them (see TimeGridSpansTheSamples): 09:15:10.5 to 09:16:10.5
      {jan10 - 19.5,
       jan10 + 40.5,
       {"09:15:20", "09:15:30", "09:15:40", "09:15:50", "09:16:00", "09:16:10"},
       {"2019-01-10"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> labels, dates;
    for (const TimeTick& tick : ChooseTimeTicks(c.from, c.to, c.max_steps, c.with_seconds)) {
      labels.push_back(tick.label);
      if (!tick.date.empty()) dates.push_back(tick.date);
    }
    EXPECT_EQ(labels, c.labels) << c.labels.front();
    EXPECT_EQ(dates, c.dates) << c.labels.front();
  }
}

TEST(ChartAxes, TimeGridSpansTheSamplesInAtMost1000Columns) {
  struct Case {
    double t_min, t_max, widest;
    TimeGrid grid;
  };
  const double jan10 = 1547111730;  // column 3094223460 of 0.5 s
  const Case cases[] = {
      // 41 columns of 20 s, widened to a minute: 120 columns, 39 of them before the first sample's.
      {jan10, jan10 + 20, 0.5, {0.5, 3094223460 - 39, 120, 41}},
      // 1201 columns of 0.5 s are too many: 601 of 1 s.
      {jan10, jan10 + 600, 0.5, {1, 1547111730, 601, 601}},
      // A series of 16 s columns keeps its width: jan10 / 16 = 96694483.125.
      {jan10, jan10, 16, {16, 96694483 - 1, 4, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseTimeGrid(c.t_min, c.t_max, c.widest), c.grid) << c.t_max - c.t_min;
}

TEST(ChartAxes, DurationNamesTheWholeUnitsOfAColumnWidth) {
  const std::pair<double, const char*> cases[] = {
      {0.5, "0.5 s"}, {256, "4 min 16 s"}, {3600, "1 h"}, {93600, "1 d 2 h"}, {131072, "1 d 12 h 24 min 32 s"},
  };
  for (const auto& [seconds, text] : cases) {
    std::string out;
    AppendDuration(out, seconds);
    EXPECT_EQ(out, text) << seconds;
  }
}

TEST(ChartAxes, LabelsThatWouldTouchMoveApartAsLittleAsTheyCan) {
  struct Case {
    const char* what;
    std::vector<std::int64_t> wanted, placed;  // gap 110, within [0, 1000]
  };
  const Case cases[] = {
      {"apart already", {100, 500, 210}, {100, 500, 210}},
      {"two too close share the move", {540, 500}, {575, 465}},
      {"equal ones, a third far enough", {500, 500, 900}, {445, 555, 900}},
      {"a chain", {100, 200, 300}, {90, 200, 310}},  // offsets 100, 90, 80 from a run's start: mean 90
      {"held at the top", {10, 20}, {0, 110}},
      {"held at the bottom", {990, 1000}, {890, 1000}},
      {"more than fit run on past the bottom",
       std::vector<std::int64_t>(11, 500),
       {0, 110, 220, 330, 440, 550, 660, 770, 880, 990, 1100}},
  };
  for (const Case& c : cases) EXPECT_EQ(SpreadLabels(c.wanted, 110, 0, 1000), c.placed) << c.what;
}

}  // namespace
