// The token reader: blocks of input read as "%s", "%d" and "%X" read them.
#include "text/text_input.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace hkcsv {

namespace {

inline bool IsDecimalDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

// Skips white space. Returns false at the end of the input.
bool SkipWhiteSpace(InputStream& in) {
  for (;;) {
    while (in.next != in.end) {
      if (!IsWhiteSpace(*in.next)) return true;
      ++in.next;
    }
    if (!FillInput(in, 1)) return false;
  }
}

}  // namespace

InputStream InputFromDescriptor(int fd, bool ctrl_z_ends_input, std::size_t block_size) {
  InputStream in;
  in.fd = fd;
  in.ctrl_z_ends_input = ctrl_z_ends_input;
  in.block_size = block_size;
  in.block = std::make_unique_for_overwrite<unsigned char[]>(block_size);
  in.next = in.end = in.block.get();
  return in;
}

InputStream InputFromText(std::string_view text, bool ctrl_z_ends_input) {
  InputStream in;
  in.ctrl_z_ends_input = ctrl_z_ends_input;
  in.next = reinterpret_cast<const unsigned char*>(text.data());
  in.end = in.next + text.size();
  if (ctrl_z_ends_input) {
    if (const void* stop = std::memchr(in.next, 0x1A, text.size())) in.end = static_cast<const unsigned char*>(stop);
  }
  in.exhausted = true;
  return in;
}

bool FillInput(InputStream& in, std::size_t count) {
  while (static_cast<std::size_t>(in.end - in.next) < count && !in.exhausted) {
    unsigned char* base = in.block.get();
    const std::size_t kept = static_cast<std::size_t>(in.end - in.next);
    std::memmove(base, in.next, kept);
    in.next = base;
    in.end = base + kept;
    std::size_t got = 0;
    in.error = ReadSome(in.fd, base + kept, in.block_size - kept, got);
    if (got == 0) {
      in.exhausted = true;
      break;
    }
    unsigned char* fresh = base + kept;
    in.end = fresh + got;
    if (in.ctrl_z_ends_input) {
      if (void* stop = std::memchr(fresh, 0x1A, got)) {
        in.end = static_cast<unsigned char*>(stop);
        in.exhausted = true;
      }
    }
  }
  return in.next != in.end;
}

bool ReadBytes(InputStream& in, void* bytes, std::size_t count) {
  auto* to = static_cast<unsigned char*>(bytes);
  while (count > 0) {
    if (in.next == in.end && !FillInput(in, 1)) return false;
    const std::size_t piece = std::min(count, static_cast<std::size_t>(in.end - in.next));
    std::memcpy(to, in.next, piece);
    in.next += piece;
    to += piece;
    count -= piece;
  }
  return true;
}

bool ReadToken(InputStream& in, TokenBuffer& token) {
  if (!SkipWhiteSpace(in)) return false;
  std::size_t length = 0;
  SkipToken(in, [&](std::string_view piece) {
    const std::size_t room = token.size() - 1 - length;
    const std::size_t kept = piece.size() < room ? piece.size() : room;
    std::memcpy(token.data() + length, piece.data(), kept);
    length += kept;
  });
  token[length] = '\0';
  return true;
}

ReadResult ReadHexToken(InputStream& in, int32_t& value) {
  if (!SkipWhiteSpace(in)) return ReadResult::kEnd;
  FillInput(in, 3);  // room to look at a sign and a 0x prefix
  const std::size_t available = static_cast<std::size_t>(in.end - in.next);
  std::size_t at = 0;
  const bool negative = in.next[0] == '-';
  if (negative || in.next[0] == '+') ++at;
  if (at == available || HexDigitValue(in.next[at]) == kNoHexDigit) return ReadResult::kNotANumber;
  // A 0x prefix is taken even when no digit follows it: "0x" reads as 0.
  if (in.next[at] == '0' && at + 1 < available && (in.next[at + 1] == 'x' || in.next[at + 1] == 'X')) at += 2;
  in.next += at;

  uint32_t bits = 0;
  for (;;) {
    if (in.next == in.end && !FillInput(in, 1)) break;
    const unsigned digit = HexDigitValue(*in.next);
    if (digit == kNoHexDigit) break;
    bits = bits << 4 | digit;
    ++in.next;
  }
  value = static_cast<int32_t>(negative ? 0u - bits : bits);
  return ReadResult::kValue;
}

namespace {

// Decimal digits after an optional sign. `wrap` keeps the low 32 bits of a
// number out of range, as "%d" does; otherwise such a number, its digits
// consumed, converts nothing.
ReadResult ReadSignedDecimal(InputStream& in, int32_t& value, bool wrap) {
  if (!SkipWhiteSpace(in)) return ReadResult::kEnd;
  const bool negative = *in.next == '-';
  if (negative || *in.next == '+') {
    ++in.next;
    // A sign with nothing after it converts nothing, as the C library reads
    // it; the end of the input is met only by the next read.
    if (in.next == in.end && !FillInput(in, 1)) return ReadResult::kNotANumber;
  }
  if (!IsDecimalDigit(*in.next)) return ReadResult::kNotANumber;

  uint32_t magnitude = 0;
  bool in_range = true;
  const uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  for (;;) {
    if (in.next == in.end && !FillInput(in, 1)) break;
    if (!IsDecimalDigit(*in.next)) break;
    const uint32_t digit = static_cast<uint32_t>(*in.next - '0');
    if (magnitude > (limit - digit) / 10u) in_range = false;
    magnitude = magnitude * 10u + digit;
    ++in.next;
  }
  if (!in_range && !wrap) return ReadResult::kNotANumber;
  value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
  return ReadResult::kValue;
}

}  // namespace

ReadResult ReadDecimal(InputStream& in, int32_t& value) { return ReadSignedDecimal(in, value, true); }

ReadResult ReadInteger(InputStream& in, int32_t& value) { return ReadSignedDecimal(in, value, false); }

}  // namespace hkcsv
