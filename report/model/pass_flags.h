// Why a pass is flagged: short reasons in the operator's words, each with
// the level of what it asks of the operator, worst first, as the pass table,
// the latest pass and the pass page show them.
#pragma once

#include <vector>

#include "report/model/format_record.h"
#include "report/model/level.h"

namespace hkcsv {

// The reasons, alarms first: "cannot open", "cannot read", "header cut
// short", "no frames decoded" (packets but no frame, or a capture read whole
// without a packet), "N restarts",
// "restarted since the previous pass", "N samples past red"; then notices:
// "date does not parse", "frames run past the year 9999", "date far from
// every other pass", "the same frames as NAME" (NAME narrow, as the capture
// is named), "N packets missing", "N packets more than announced",
// "packet count is not a number" or "packet count too large", "cut short",
// "N frames missing (est.)", "N tokens skipped". None: the pass is not
// flagged.
std::vector<Reason> WhyFlagged(const PassRecord& pass);

}  // namespace hkcsv
