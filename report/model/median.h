// The median of a list of numbers, as the station page takes it for the
// altitude of a format, the S meter of a band and the scale of a fit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace hkcsv {

// The middle value; of an even count, the mean of the middle two. None of no
// value. Takes the list by value: it is reordered.
inline std::optional<double> Median(std::vector<double> values) {
  if (values.empty()) return std::nullopt;
  const std::size_t half = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
  const double upper = values[half];
  if (values.size() % 2 == 1) return upper;
  const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half));
  return (lower + upper) / 2;
}

}  // namespace hkcsv
