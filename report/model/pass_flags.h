// Why a pass is flagged as a problem: short reasons, most important first,
// as the pass table's "why" cell and the pass page show them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/model/format_record.h"

namespace hkcsv {

// The packets the header announces against those found: none when the header
// gives no such cell, else whether the cell is a number equal to the count.
std::optional<bool> AnnouncedMatches(const PassRecord& pass);

// The reasons, in this order: "cannot open", "cannot read", "header cut
// short", "date does not parse", "date far from every other pass", "no frames
// decoded" (packets but no frame), "N packets missing", "N packets more than
// announced" or "packet count is not a number", "cut short", "N frames
// missing (est.)", "N tokens skipped", "N restarts", "restarted since the
// previous pass", "N samples past red". None: the pass is not flagged.
std::vector<std::string> WhyFlagged(const PassRecord& pass);

}  // namespace hkcsv
