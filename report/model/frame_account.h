// The frame account of one pass: the log kept of its frames while it is read
// (their times and digests), how its satellite time ran, which frames were
// lost between the packets that arrived, repeated, or stand at an earlier
// frame's time with other bytes, and what its header announces (the packets,
// and the frames expected of them).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "capture/capture_listing.h"
#include "hk/hk_frame.h"

namespace hkcsv {

// What is kept of each frame of a pass until its account is closed: 12 bytes
// a frame, the only memory of a pass that grows with its frames.
struct FrameLog {
  std::vector<std::int32_t> sat_times;  // the satellite time counter: half seconds
  std::vector<std::uint64_t> digests;   // of all 78 bytes
  std::uint64_t chain = 0;              // of every frame in order, by which two captures compare
};

// A 64-bit digest of the frame's 78 values: two frames with equal digests are
// taken as equal (for a pass of a million frames the chance of a false match
// is below one in 10^7).
std::uint64_t FrameDigest(std::span<const int32_t, kHkFrameBytes> frame);

// Adds a decoded frame to the log: its satellite time counter and the digest
// of its bytes, which the chain takes in too.
void LogFrame(FrameLog& log, const DecodedFrame& frame);

// A rise of satellite time past this many usual steps is a gap in reception.
inline constexpr double kGapSteps = 1.5;

// How the satellite time ran from frame to frame.
struct TimeSteps {
  std::uint64_t rises = 0;      // steps up between consecutive frames
  std::uint64_t falls = 0;      // steps down: restarts of the satellite's clock
  std::uint64_t unchanged = 0;  // steps to the same time: rises, falls and these are one less than the frames
  // The median of the rises, in seconds; none with fewer than two rises, and
  // then no gaps and no missing frames either.
  std::optional<double> usual_step;
  std::optional<std::uint64_t> gaps;     // rises of more than kGapSteps usual steps
  std::optional<std::uint64_t> missing;  // per gap, the rise over the usual step, rounded, less one
};

// Counts the steps of a pass's satellite times (counter values, in order).
TimeSteps CountTimeSteps(const std::vector<std::int32_t>& sat_times);

// Whether the step from one frame to the next (in counter steps) breaks the
// pass's line on its charts: a fall, or a gap of the account `steps`.
bool BreaksLine(std::int64_t step, const TimeSteps& steps);

// Frames equal to an earlier frame of the pass, and frames that are not but
// stand at an earlier frame's satellite time.
struct FrameRepeats {
  std::uint64_t repeated = 0;
  std::uint64_t same_time_other_bytes = 0;
};

// Counts the repeats of the logged frames, sorting the log in place (count
// the time steps first); with `marks`, sets whether each of the first
// `marks->size()` frames is repeated.
FrameRepeats FindRepeats(FrameLog& log, std::vector<bool>* marks);

// What a pass's frames tell beyond the capture file's counts: how its
// satellite time ran and which frames repeat. Counts that cannot be known
// are empty, never 0.
struct FrameAccount {
  TimeSteps steps;
  FrameRepeats repeats;
};

// Whole decimal text, as a header cell gives a count: an optional sign and
// digits ("03" is 3). Anything else, or more than 18 digits, is none.
std::optional<std::int64_t> ParseCount(std::string_view text);

// The packets the header announces ("Recieved Packet Number"): a count, or
// why there is none. A count above kMostAnnounced is taken for a wrong one:
// no pass holds so many packets, and its frames expected would not fit a
// count.
inline constexpr std::int64_t kMostAnnounced = 2147483647;
struct Announced {
  enum Kind { kMissing, kCount, kNotANumber, kTooLarge } kind = kMissing;
  std::int64_t count = 0;  // of a kCount
};

Announced ReadAnnounced(const PassHeader& header);

// Frames expected: announced x per packet when both are positive.
std::optional<std::int64_t> ExpectedFrames(const Announced& announced, std::int32_t frames_per_packet);

}  // namespace hkcsv
