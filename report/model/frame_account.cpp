// The frame account of a pass: steps of satellite time, gaps and repeats.
#include "report/model/frame_account.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <unordered_set>

namespace hkcsv {

namespace {

// The finisher of SplitMix64: every input bit reaches every output bit.
std::uint64_t Mix(std::uint64_t value) {
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

// The rise from frame i - 1 to frame i, in counter steps (half seconds).
std::int64_t Step(const std::vector<std::int32_t>& sat_times, std::size_t i) {
  return static_cast<std::int64_t>(sat_times[i]) - sat_times[i - 1];
}

// The k-th smallest rise (counting from 0, k below the number of rises),
// found a byte at a time from the top: each pass over the log counts, by
// their next byte, the rises whose higher bytes are those found so far. Four
// passes, and the rises need no copy: a rise lies between 1 and 2^32 - 1.
std::int64_t KthRise(const std::vector<std::int32_t>& sat_times, std::uint64_t k) {
  std::uint64_t found = 0;  // the bytes of the rise found so far, in place
  for (int shift = 24; shift >= 0; shift -= 8) {
    std::array<std::uint64_t, 256> counts{};
    for (std::size_t i = 1; i < sat_times.size(); ++i) {
      const std::int64_t step = Step(sat_times, i);
      const auto rise = static_cast<std::uint64_t>(step);
      if (step > 0 && rise >> (shift + 8) == found >> (shift + 8)) ++counts[rise >> shift & 0xFF];
    }
    std::size_t byte = 0;
    for (; counts[byte] <= k; ++byte) k -= counts[byte];
    found |= std::uint64_t{byte} << shift;
  }
  return static_cast<std::int64_t>(found);
}

}  // namespace

std::uint64_t FrameDigest(std::span<const int32_t, kHkFrameBytes> frame) {
  std::uint64_t digest = 0x9E3779B97F4A7C15u;
  for (std::size_t i = 0; i < frame.size(); i += 2) {
    // Two values, the first in the low half: where the machine stores the
    // low half first, as the two stand in memory.
    std::uint64_t pair;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&pair, &frame[i], sizeof pair);
    } else {
      const std::uint64_t high = static_cast<std::uint32_t>(frame[i + 1]);
      pair = static_cast<std::uint32_t>(frame[i]) | high << 32;
    }
    digest = Mix(digest ^ Mix(pair + i));
  }
  return digest;
}

void LogFrame(FrameLog& log, const DecodedFrame& frame) {
  log.sat_times.push_back(frame.counters.sat_time);
  log.digests.push_back(FrameDigest(frame.bytes));
  log.chain = Mix(log.chain ^ Mix(log.digests.back() + log.digests.size()));
}

bool BreaksLine(std::int64_t step, const TimeSteps& steps) {
  // The usual step in counter steps: twice the seconds, exactly.
  return step < 0 || (steps.usual_step && static_cast<double>(step) > kGapSteps * (*steps.usual_step * 2));
}

TimeSteps CountTimeSteps(const std::vector<std::int32_t>& sat_times) {
  TimeSteps steps;
  for (std::size_t i = 1; i < sat_times.size(); ++i) {
    const std::int64_t step = Step(sat_times, i);
    if (step > 0) ++steps.rises;
    if (step < 0) ++steps.falls;
    if (step == 0) ++steps.unchanged;
  }
  // In counter steps; the mean of the middle two for an even count.
  double usual = 0;
  if (steps.rises >= 2) {
    const std::int64_t lower = KthRise(sat_times, (steps.rises - 1) / 2);
    const std::int64_t upper = steps.rises % 2 == 1 ? lower : KthRise(sat_times, steps.rises / 2);
    usual = (static_cast<double>(lower) + static_cast<double>(upper)) / 2;
    steps.usual_step = usual / 2;
    steps.gaps = 0;
    steps.missing = 0;
  }
  for (std::size_t i = 1; i < sat_times.size(); ++i) {
    const std::int64_t step = Step(sat_times, i);
    if (step > 0 && BreaksLine(step, steps)) {
      ++*steps.gaps;
      *steps.missing += static_cast<std::uint64_t>(std::llround(static_cast<double>(step) / usual)) - 1;
    }
  }
  return steps;
}

FrameRepeats FindRepeats(FrameLog& log, std::vector<bool>* marks) {
  // The first frames' marks need only those frames: a repeat repeats an earlier one.
  if (marks) {
    std::unordered_set<std::uint64_t> seen;
    for (std::size_t i = 0; i < marks->size() && i < log.digests.size(); ++i) {
      (*marks)[i] = !seen.insert(log.digests[i]).second;
    }
  }
  // Every frame but the first of its digest repeats an earlier one; every
  // frame that does not, but the first at its satellite time, stands at an
  // earlier frame's time with other bytes (a repeat has its original's time).
  // Counting distinct values needs no more memory than the log.
  const auto distinct = [](auto& values) {
    std::sort(values.begin(), values.end());
    return static_cast<std::uint64_t>(std::unique(values.begin(), values.end()) - values.begin());
  };
  const auto frames = static_cast<std::uint64_t>(log.digests.size());
  FrameRepeats repeats;
  repeats.repeated = frames - distinct(log.digests);
  repeats.same_time_other_bytes = frames - repeats.repeated - distinct(log.sat_times);
  return repeats;
}

std::optional<std::int64_t> ParseCount(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

Announced ReadAnnounced(const PassHeader& header) {
  if (header.cell_count <= kReceivedPacketsCell) return {};
  const std::string& cell = header.cells[kReceivedPacketsCell];
  if (const std::optional<std::int64_t> count = ParseCount(cell)) {
    if (*count <= kMostAnnounced) return {Announced::kCount, *count};
    return {Announced::kTooLarge, 0};
  }
  // Digits beyond what ParseCount takes still make a number, a large one.
  const std::string_view digits = std::string_view(cell).substr(cell.starts_with('+') || cell.starts_with('-') ? 1 : 0);
  const bool all_digits = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  return {all_digits ? Announced::kTooLarge : Announced::kNotANumber, 0};
}

std::optional<std::int64_t> ExpectedFrames(const Announced& announced, std::int32_t frames_per_packet) {
  if (announced.kind != Announced::kCount || announced.count <= 0 || frames_per_packet <= 0) return std::nullopt;
  return announced.count * frames_per_packet;  // at most (2^31 - 1)^2: no overflow
}

}  // namespace hkcsv
