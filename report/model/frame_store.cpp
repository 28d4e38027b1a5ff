// The frame store: frames written as bytes and read back.
#include "report/model/frame_store.h"

#include <algorithm>
#include <cstring>

namespace hkcsv {

namespace {

enum : unsigned char { kByteValues = 1, kWordValues = 4 };

constexpr std::size_t kNumbers = 2 * sizeof(int32_t);
constexpr std::size_t kLargest = 1 + kNumbers + kHkFrameBytes * sizeof(int32_t);
static_assert(kLargest <= kOutputBlockSize);

// Steps over `count` bytes as they stand. Returns false when the input ends
// (or fails) first.
bool SkipBytes(InputStream& in, std::size_t count) {
  while (count > 0) {
    if (in.next == in.end && !FillInput(in, 1)) return false;
    const std::size_t piece = std::min(count, static_cast<std::size_t>(in.end - in.next));
    in.next += piece;
    count -= piece;
  }
  return true;
}

}  // namespace

void StoreFrame(OutputStream& store, const DecodedFrame& frame) {
  uint32_t bits = 0;  // of every value: all fit a byte when none is set above bit 7
  for (const int32_t value : frame.bytes) bits |= static_cast<uint32_t>(value);
  const bool bytes = bits <= 0xFF;
  char* const start = Reserve(store, kLargest);
  char* at = start;
  *at++ = static_cast<char>(bytes ? kByteValues : kWordValues);
  std::memcpy(at, &frame.packet_num, sizeof(int32_t));
  std::memcpy(at + sizeof(int32_t), &frame.uplink_num, sizeof(int32_t));
  at += kNumbers;
  if (bytes) {
    for (const int32_t value : frame.bytes) *at++ = static_cast<char>(value);
  } else {
    std::memcpy(at, frame.bytes.data(), frame.bytes.size_bytes());
    at += frame.bytes.size_bytes();
  }
  store.used += static_cast<std::size_t>(at - start);
}

bool LoadFrame(InputStream& store, StoredFrame& frame) {
  unsigned char head[1 + kNumbers];
  if (!ReadBytes(store, head, sizeof head)) return false;
  std::memcpy(&frame.packet_num, head + 1, sizeof(int32_t));
  std::memcpy(&frame.uplink_num, head + 1 + sizeof(int32_t), sizeof(int32_t));
  if (head[0] == kByteValues) {
    unsigned char values[kHkFrameBytes];
    if (!ReadBytes(store, values, sizeof values)) return false;
    for (std::size_t i = 0; i < frame.bytes.size(); ++i) frame.bytes[i] = values[i];
  } else if (head[0] != kWordValues || !ReadBytes(store, frame.bytes.data(), sizeof frame.bytes)) {
    return false;
  }
  DecodeHkFrame(frame.bytes, frame.values);
  return true;
}

bool SkipFrames(InputStream& store, std::uint64_t count) {
  for (std::uint64_t i = 0; i < count; ++i) {
    unsigned char head = 0;
    if (!ReadBytes(store, &head, 1)) return false;
    if (head != kByteValues && head != kWordValues) return false;
    const std::size_t value_bytes = head == kByteValues ? 1 : sizeof(int32_t);
    if (!SkipBytes(store, kNumbers + kHkFrameBytes * value_bytes)) return false;
  }
  return true;
}

}  // namespace hkcsv
