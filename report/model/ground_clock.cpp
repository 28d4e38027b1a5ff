// The ground clock: where each frame of a pass stands in ground time.
#include "report/model/ground_clock.h"

namespace hkcsv {

FramePlace PlaceFrame(GroundClock& clock, double start, double sat_time) {
  FramePlace place{start, true};
  if (clock.started) {
    const double rise = sat_time - clock.sat_time;
    place.new_line = rise < 0.0 || rise > kMaxFrameGapSeconds;
    place.ground_time = clock.ground_time + (rise < 0.0 ? 0.0 : rise);
  }
  clock = {true, sat_time, place.ground_time};
  return place;
}

}  // namespace hkcsv
