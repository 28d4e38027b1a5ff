// How the passes of a format relate in ground time: passes dated far from
// all others, restarts of the satellite between passes, and the newest pass.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "report/model/format_record.h"

namespace hkcsv {

// A dated pass more than this from every other dated pass is taken for a
// mistyped date.
inline constexpr double kFarFromOtherPasses = 365 * 86400.0;

// Per pass, whether it is dated and lies more than kFarFromOtherPasses from
// every other dated pass; with fewer than three dated passes, none is.
std::vector<bool> FarFromEveryOther(const std::vector<std::optional<double>>& starts);

// Sets restart_before of every charted pass whose satellite restarted since
// the charted pass before it in ground time order (the listing order breaking
// ties; a pass dated far from the others stands nowhere in that order): its
// first satellite time lies below that pass's last, or its reset information
// differs from that pass's last.
void MarkRestartsBetweenPasses(std::vector<PassRecord>& passes);

// The pass whose last frame is the satellite's latest known state: the newest
// charted pass by ground time, the last in listing order on a tie; when no
// pass is charted, the last pass with frames in listing order. None when no
// pass has frames.
std::optional<std::size_t> NewestPass(const std::vector<PassRecord>& passes);

}  // namespace hkcsv
