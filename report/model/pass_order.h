// How the passes of a format relate: passes dated far from all others,
// captures that hold the same frames as another, restarts of the satellite
// between passes, and the newest pass.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "report/model/format_record.h"

namespace hkcsv {

// A dated pass more than this from every other dated pass is taken for a
// mistyped date.
inline constexpr double kFarFromOtherPasses = 365 * 86400.0;

// Per pass, whether it is dated and lies more than kFarFromOtherPasses from
// every other dated pass; with fewer than three dated passes, none is.
std::vector<bool> FarFromEveryOther(const std::vector<std::optional<double>>& starts);

// Finds the captures with frames whose frames equal another capture's (a
// copy beside its original): sets same_frames_as of each to the name of
// the first other one in listing order, and copy_of_earlier of all but the
// first of them.
void FindSameFrames(std::vector<PassRecord>& passes);

// Sets restart_before of every charted pass whose satellite restarted since
// the charted pass before it in ground time order (the listing order breaking
// ties; a pass dated far from the others, or the copy of a capture listed
// before it, stands nowhere in that order): its first satellite time lies
// below that pass's last, or its reset information differs from that pass's
// last.
void MarkRestartsBetweenPasses(std::vector<PassRecord>& passes);

// A pass as NewestByTime weighs it: its time (none: no usable date), and
// whether it may be chosen at all.
struct PassTime {
  std::optional<double> time;
  bool eligible = true;
};

// The newest of passes in listing order: the latest eligible pass by time
// (the later listed on a tie), unless eligible passes without a usable date
// are listed after it: then the last of those (the station names its
// captures by date and time). With no time at all, the last eligible pass.
// None when no pass is eligible.
std::optional<std::size_t> NewestByTime(std::span<const PassTime> passes);

// The time by which a dated pass on the time axis counts as newer than
// another: its ground time read in its zone where the zone is known (UTC,
// JST, +09:00, ...), so that passes logged in mixed zones compare rightly;
// its ground time as it stands otherwise. None off the time axis.
std::optional<double> OrderTime(const PassRecord& pass);

// The newest pass of a format, as its latest-pass card shows it: by
// NewestByTime over every pass, so that a newest capture without frames,
// without a date or with a cut header is the one shown, saying what it lacks.
std::optional<std::size_t> NewestPass(const std::vector<PassRecord>& passes);

// The pass whose last frame is the satellite's latest known state: the
// newest pass, by the same rule, of those with frames.
std::optional<std::size_t> LatestStatePass(const std::vector<PassRecord>& passes);

}  // namespace hkcsv
