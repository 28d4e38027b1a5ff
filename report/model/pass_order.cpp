// The passes of a format in ground time: far dates, restarts between passes, the newest.
#include "report/model/pass_order.h"

#include <algorithm>
#include <numeric>

namespace hkcsv {

namespace {

// The charted passes (dated, not far from the others, with frames), in
// ground time order, the listing order breaking ties.
std::vector<std::size_t> ChartedInTimeOrder(const std::vector<PassRecord>& passes) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < passes.size(); ++i) {
    if (Charted(passes[i])) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&passes](std::size_t a, std::size_t b) { return *passes[a].start < *passes[b].start; });
  return order;
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

void MarkRestartsBetweenPasses(std::vector<PassRecord>& passes) {
  const std::vector<std::size_t> order = ChartedInTimeOrder(passes);
  for (std::size_t k = 1; k < order.size(); ++k) {
    const PassRecord& before = passes[order[k - 1]];
    PassRecord& pass = passes[order[k]];
    pass.restart_before = pass.first.sat_time < before.last.sat_time || pass.first.reset_info != before.last.reset_info;
  }
}

std::optional<std::size_t> NewestPass(const std::vector<PassRecord>& passes) {
  std::optional<std::size_t> newest;
  bool newest_charted = false;
  for (std::size_t i = 0; i < passes.size(); ++i) {
    const PassRecord& pass = passes[i];
    if (pass.file.counts.frames == 0) continue;
    const bool charted = Charted(pass);
    if (newest_charted && (!charted || *pass.start < *passes[*newest].start)) continue;
    newest = i;
    newest_charted = charted;
  }
  return newest;
}

}  // namespace hkcsv
