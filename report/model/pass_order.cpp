// The passes of a format in ground time: far dates, copies, restarts between passes, the newest.
#include "report/model/pass_order.h"

#include <algorithm>
#include <unordered_map>

#include "text/calendar.h"

namespace hkcsv {

namespace {

// The charted passes (dated, not far from the others, with frames) that are
// no copy of a capture listed before them, in ground time order, the listing
// order breaking ties.
std::vector<std::size_t> ChartedInTimeOrder(const std::vector<PassRecord>& passes) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < passes.size(); ++i) {
    if (Charted(passes[i]) && !passes[i].copy_of_earlier) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&passes](std::size_t a, std::size_t b) { return *passes[a].start < *passes[b].start; });
  return order;
}

std::optional<std::size_t> NewestOf(const std::vector<PassRecord>& passes, bool with_frames_only) {
  std::vector<PassTime> times;
  times.reserve(passes.size());
  for (const PassRecord& pass : passes) {
    times.push_back({OrderTime(pass), !with_frames_only || pass.file.counts.frames > 0});
  }
  return NewestByTime(times);
}

}  // namespace

std::vector<bool> FarFromEveryOther(const std::vector<std::optional<double>>& starts) {
  std::vector<std::size_t> dated;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    if (starts[i]) dated.push_back(i);
  }
  std::vector<bool> far(starts.size());
  if (dated.size() < 3) return far;
  std::sort(dated.begin(), dated.end(), [&starts](std::size_t a, std::size_t b) { return *starts[a] < *starts[b]; });
  // The nearest other pass is the one before or after in time.
  for (std::size_t k = 0; k < dated.size(); ++k) {
    const double at = *starts[dated[k]];
    const bool before_far = k == 0 || at - *starts[dated[k - 1]] > kFarFromOtherPasses;
    const bool after_far = k + 1 == dated.size() || *starts[dated[k + 1]] - at > kFarFromOtherPasses;
    far[dated[k]] = before_far && after_far;
  }
  return far;
}

void FindSameFrames(std::vector<PassRecord>& passes) {
  // The first capture of each run of frames, by its digest and count.
  std::unordered_map<std::uint64_t, std::size_t> first;
  for (std::size_t i = 0; i < passes.size(); ++i) {
    PassRecord& pass = passes[i];
    if (pass.file.counts.frames == 0) continue;
    const std::uint64_t key = pass.frames_digest ^ (pass.file.counts.frames * 0x9E3779B97F4A7C15u);
    const auto [at, inserted] = first.try_emplace(key, i);
    if (inserted) continue;
    PassRecord& original = passes[at->second];
    pass.same_frames_as = original.name;
    pass.copy_of_earlier = true;
    if (original.same_frames_as.empty()) original.same_frames_as = pass.name;
  }
}

void MarkRestartsBetweenPasses(std::vector<PassRecord>& passes) {
  const std::vector<std::size_t> order = ChartedInTimeOrder(passes);
  for (std::size_t k = 1; k < order.size(); ++k) {
    const PassRecord& before = passes[order[k - 1]];
    PassRecord& pass = passes[order[k]];
    pass.restart_before = pass.first.sat_time < before.last.sat_time || pass.first.reset_info != before.last.reset_info;
  }
}

std::optional<std::size_t> NewestByTime(std::span<const PassTime> passes) {
  std::optional<std::size_t> latest;  // by time
  std::optional<std::size_t> last;    // eligible, in listing order
  for (std::size_t i = 0; i < passes.size(); ++i) {
    if (!passes[i].eligible) continue;
    last = i;
    if (passes[i].time && (!latest || *passes[i].time >= *passes[*latest].time)) latest = i;
  }
  if (!latest) return last;
  // The last eligible capture listed after the latest dated one, when it has no usable date.
  for (std::size_t i = passes.size(); i-- > *latest + 1;) {
    if (passes[i].eligible && !passes[i].time) return i;
  }
  return latest;
}

std::optional<double> OrderTime(const PassRecord& pass) {
  if (!OnTimeAxis(pass)) return std::nullopt;
  const std::optional<std::int64_t> offset = ZoneOffset(pass.file.header.time_zone);
  return *pass.start - static_cast<double>(offset.value_or(0));
}

std::optional<std::size_t> NewestPass(const std::vector<PassRecord>& passes) { return NewestOf(passes, false); }

std::optional<std::size_t> LatestStatePass(const std::vector<PassRecord>& passes) { return NewestOf(passes, true); }

}  // namespace hkcsv
