// Number formatting that gives exactly the bytes of printf's "%X", "%d" and
// "%4f", without printf's per-call cost and independent of the locale.
#pragma once

#include <cstddef>
#include <cstdint>

// Room for the longest text FormatFixed can produce ("%4f" of -DBL_MAX).
inline constexpr std::size_t kFixedTextMax = 320;
inline constexpr std::size_t kHexTextMax = 8;
inline constexpr std::size_t kDecimalTextMax = 11;

// printf("%X"): upper-case digits, no prefix, no leading zeros; a negative
// value prints as its 32-bit two's complement. Returns the end of the text.
char* FormatHex(int32_t value, char* out);

// FormatHex, with the usual case of a received byte (0 to FF) done inline.
inline char* FormatHexByte(int32_t value, char* out) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const uint32_t bits = static_cast<uint32_t>(value);
  if (bits >= 0x100) return FormatHex(value, out);
  if (bits >= 0x10) *out++ = kDigits[bits >> 4];
  *out++ = kDigits[bits & 0xF];
  return out;
}

// printf("%d").
char* FormatDecimal(int32_t value, char* out);

// printf("%llu"): a count of any size.
inline constexpr std::size_t kUnsignedTextMax = 20;
char* FormatUnsigned(uint64_t value, char* out);

// printf("%4f"): fixed notation, six decimals, exact binary value rounded
// half to even, right-aligned in at least four characters.
char* FormatFixed(double value, char* out);
