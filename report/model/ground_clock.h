// Where the frames of a pass stand on the ground time axis: the first at the
// pass's time from its header, each next one at the previous frame's time
// plus the rise of satellite time. A rise above kMaxFrameGapSeconds (a gap in
// reception) starts a new line, and the clock runs on through it. A fall (a
// restart of the satellite's clock) starts a new line too, whose first frame
// stands at the previous frame's time: how long the satellite was down is not
// known.
#pragma once

namespace hkcsv {

// A rise of satellite time above this many seconds between two frames of a
// pass is a gap in reception: the line breaks there.
inline constexpr double kMaxFrameGapSeconds = 300.0;

struct GroundClock {
  bool started = false;
  double sat_time = 0.0;     // the previous frame's, seconds
  double ground_time = 0.0;  // the previous frame's, seconds since 1970
};

struct FramePlace {
  double ground_time;
  bool new_line;  // the frame starts a line: the first of its pass, or after a fall or a gap
};

// Places the next frame of a pass that starts at `start`.
FramePlace PlaceFrame(GroundClock& clock, double start, double sat_time);

}  // namespace hkcsv
