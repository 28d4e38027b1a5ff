// The ground clock: where each frame of a pass stands in ground time, and where its line breaks.
#include <gtest/gtest.h>

#include <vector>

#include "report/model/ground_clock.h"

using namespace hkcsv;

namespace {

TEST(GroundClock, RisesAdvanceTheClockAndFallsOrGapsStartALine) {
  struct Case {
    const char* what;
    std::vector<double> sat_times;
    std::vector<FramePlace> places;  // the pass starts at 1000
  };
  const Case cases[] = {
      {"a rise of exactly 300 s is no gap", {150, 450}, {{1000, true}, {1300, false}}},
      // A gap breaks the line, not the clock.
      {"a rise just above is a gap", {150, 450.5}, {{1000, true}, {1300.5, true}}},
      {"time runs on through a gap", {0, 10, 321, 331}, {{1000, true}, {1010, false}, {1321, true}, {1331, false}}},
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

}  // namespace
