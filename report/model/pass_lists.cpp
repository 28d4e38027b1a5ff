// The passes each table of the report lists.
#include "report/model/pass_lists.h"

#include <algorithm>
#include <map>

#include "text/calendar.h"

namespace hkcsv {

namespace {

std::optional<std::int64_t> YearOf(const PassRecord& pass) {
  if (!pass.start) return std::nullopt;
  return CivilFromDays(FloorDiv(static_cast<std::int64_t>(*pass.start), kSecondsPerDay)).year;
}

}  // namespace

PassLists ListPasses(const FormatRecord& format) {
  PassLists lists;
  const std::size_t count = format.passes.size();
  for (std::size_t i = count; i-- > 0;) {
    if (format.passes[i].worst != Level::kAlarm) continue;
    ++lists.alarm_count;
    if (lists.alarms.size() < kAlarmPassesShown) lists.alarms.push_back(i);
  }
  const std::size_t first_recent = count > kRecentPasses ? count - kRecentPasses : 0;
  for (std::size_t i = first_recent; i < count; ++i) lists.recent.push_back(i);
  // The years that hold an older pass, then all their passes; the passes
  // without a date after them, as a year of none.
  std::map<std::int64_t, std::vector<std::size_t>> years;
  std::vector<std::size_t> undated;
  bool older_undated = false;
  for (std::size_t i = 0; i < first_recent; ++i) {
    if (const std::optional<std::int64_t> year = YearOf(format.passes[i])) {
      years.try_emplace(*year);
    } else {
      older_undated = true;
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<std::int64_t> year = YearOf(format.passes[i]);
    if (!year) {
      undated.push_back(i);
    } else if (const auto listed = years.find(*year); listed != years.end()) {
      listed->second.push_back(i);
    }
  }
  for (auto& [year, passes] : years) lists.years.push_back({year, std::move(passes)});
  if (older_undated) lists.years.push_back({std::nullopt, std::move(undated)});
  for (YearPasses& year : lists.years) {
    for (const std::size_t i : year.passes) {
      const std::optional<Level> level = format.passes[i].worst;
      if (level == Level::kAlarm) ++year.alarms;
      if (level == Level::kNotice) ++year.notices;
    }
  }
  return lists;
}

}  // namespace hkcsv
