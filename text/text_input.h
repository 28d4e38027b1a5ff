// Buffered reading of white-space separated tokens, read the way the C
// library's formatted input reads them ("%s", "%d", "%X"), from a file
// descriptor or from text held in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace hkcsv {

struct InputStream {
  int fd = -1;                     // -1: the input is the text held between next and end
  bool ctrl_z_ends_input = false;  // byte 1A ends a capture file, as text mode does
  std::unique_ptr<unsigned char[]> block;
  std::size_t block_size = 0;
  const unsigned char* next = nullptr;
  const unsigned char* end = nullptr;
  bool exhausted = false;  // no byte will come after end
  int error = 0;           // the error number of a failed read; the input then ends
};

// Reads from an open descriptor that stays the caller's (a File it holds, or
// standard input), in blocks of `block_size` bytes (at least 64): large ones
// to read a whole capture fast, small ones to read only its beginning.
inline constexpr std::size_t kInputBlockSize = 128 * 1024;
InputStream InputFromDescriptor(int fd, bool ctrl_z_ends_input, std::size_t block_size = kInputBlockSize);
// Reads from text that must outlive the stream.
InputStream InputFromText(std::string_view text, bool ctrl_z_ends_input);

// "%s" with a buffer of 255: a token keeps its first 254 bytes, the rest of
// it is skipped, and it is always NUL-terminated.
using TokenBuffer = std::array<char, 255>;

enum class ReadResult { kValue, kNotANumber, kEnd };

// Per byte: bit 7 marks the C locale's white space (space, tab, LF, VT, FF,
// CR); the low bits hold a hex digit's value, or kNoHexDigit.
inline constexpr unsigned char kNoHexDigit = 0x7F;
constexpr std::array<unsigned char, 256> MakeByteClasses() {
  std::array<unsigned char, 256> table{};
  for (auto& entry : table) entry = kNoHexDigit;
  for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) table[c] = 0x80 | kNoHexDigit;
  for (int d = 0; d < 10; ++d) table['0' + d] = static_cast<unsigned char>(d);
  for (int d = 0; d < 6; ++d) {
    table['A' + d] = static_cast<unsigned char>(10 + d);
    table['a' + d] = static_cast<unsigned char>(10 + d);
  }
  return table;
}
inline constexpr std::array<unsigned char, 256> kByteClasses = MakeByteClasses();

inline bool IsWhiteSpace(unsigned char byte) { return kByteClasses[byte] & 0x80; }
inline unsigned HexDigitValue(unsigned char byte) { return kByteClasses[byte] & 0x7F; }

// Per pair of bytes (first | second << 8) after a white-space byte: two hex
// digits give their value plus one (1 to 100 hex); one hex digit and white
// space give kOneDigit plus the digit's value; anything else gives 0. The
// usual tokens of a dump are read with one look-up of this table, and only
// its few hundred entries that are not 0 need building.
inline constexpr std::uint16_t kOneDigit = 0x200;
constexpr std::array<std::uint16_t, 65536> MakeBytePairs() {
  std::array<std::uint16_t, 65536> table{};
  constexpr auto is_digit = [](unsigned byte) { return kByteClasses[byte] < 16; };
  for (unsigned first = 0; first < 256; ++first) {
    if (!is_digit(first)) continue;
    for (unsigned second = 0; second < 256; ++second) {
      if (is_digit(second)) {
        table[first | second << 8] = static_cast<std::uint16_t>((kByteClasses[first] << 4 | kByteClasses[second]) + 1);
      } else if (kByteClasses[second] & 0x80) {
        table[first | second << 8] = static_cast<std::uint16_t>(kOneDigit | kByteClasses[first]);
      }
    }
  }
  return table;
}
inline constexpr std::array<std::uint16_t, 65536> kBytePairs = MakeBytePairs();

// Reads the next token. Returns false at the end of the input.
bool ReadToken(InputStream& in, TokenBuffer& token);

// The general case of ReadHex, below.
ReadResult ReadHexToken(InputStream& in, int32_t& value);

// "%X" into a signed 32-bit value: optional sign, optional 0x or 0X, hex
// digits of any number (the low 32 bits are kept). "0x" with no digit after
// it reads as 0. On kNotANumber nothing but white space was consumed, so the
// caller can skip and report the token whole.
// Most tokens of a dump are one or two hex digits between single white-space
// bytes; they are read here without a call, everything else by ReadHexToken
// with the same result.
inline ReadResult ReadHex(InputStream& in, int32_t& value) {
  const unsigned char* at = in.next;
  if (in.end - at >= 4 && IsWhiteSpace(at[0])) {
    const unsigned pair = kBytePairs[static_cast<unsigned>(at[1]) | static_cast<unsigned>(at[2]) << 8];
    if (pair - 1 < 0x100 && IsWhiteSpace(at[3])) {
      value = static_cast<int32_t>(pair - 1);
      in.next = at + 3;
      return ReadResult::kValue;
    }
    if (pair >= kOneDigit) {
      value = static_cast<int32_t>(pair & 0xF);
      in.next = at + 2;
      return ReadResult::kValue;
    }
  }
  return ReadHexToken(in, value);
}

// "%d" into a signed 32-bit value: optional sign, decimal digits (the low 32
// bits are kept). On kNotANumber a sign, if any, was consumed, as the C
// library does, also when the input ends right after it.
ReadResult ReadDecimal(InputStream& in, int32_t& value);

// Formatted integer extraction, as from the console: like ReadDecimal, but a
// number outside the 32-bit range is consumed and converts nothing.
ReadResult ReadInteger(InputStream& in, int32_t& value);

// Skips the rest of the current token, calling `take` with each piece of it.
template <typename Take>
void SkipToken(InputStream& in, Take&& take);

// Makes sure that at least `count` bytes (count <= 16) stand between next and
// end, unless the input ends first. Returns false when no byte is left.
bool FillInput(InputStream& in, std::size_t count);

// Reads `count` bytes as they stand, tokens or not. Returns false when the
// input ends (or fails) first.
bool ReadBytes(InputStream& in, void* bytes, std::size_t count);

template <typename Take>
void SkipToken(InputStream& in, Take&& take) {
  for (;;) {
    if (in.next == in.end && !FillInput(in, 1)) return;
    const unsigned char* start = in.next;
    while (in.next != in.end && !IsWhiteSpace(*in.next)) ++in.next;
    take(std::string_view(reinterpret_cast<const char*>(start), static_cast<std::size_t>(in.next - start)));
    if (in.next != in.end) return;
  }
}

}  // namespace hkcsv
