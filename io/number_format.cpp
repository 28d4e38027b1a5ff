#include "io/number_format.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace {

__extension__ typedef unsigned __int128 u128;  // GCC and Clang both have it

constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* FormatUnsigned(uint64_t value, char* out) {
  char digits[20];
  char* p = digits + sizeof digits;
  while (value >= 100) {
    const unsigned pair = static_cast<unsigned>(value % 100) * 2;
    value /= 100;
    *--p = kTwoDigits[pair + 1];
    *--p = kTwoDigits[pair];
  }
  if (value >= 10) {
    *--p = kTwoDigits[value * 2 + 1];
    *--p = kTwoDigits[value * 2];
  } else {
    *--p = static_cast<char>('0' + value);
  }
  const std::size_t length = static_cast<std::size_t>(digits + sizeof digits - p);
  std::memcpy(out, p, length);
  return out + length;
}

// Six decimal digits of a fraction in millionths, leading zeros kept.
char* FormatMillionths(uint32_t value, char* out) {
  const uint32_t high = value / 10000;
  const uint32_t middle = value / 100 % 100;
  const uint32_t low = value % 100;
  std::memcpy(out, kTwoDigits + high * 2, 2);
  std::memcpy(out + 2, kTwoDigits + middle * 2, 2);
  std::memcpy(out + 4, kTwoDigits + low * 2, 2);
  return out + 6;
}

// The general route, for values of 2^63 and above, infinities and NaNs:
// std::to_chars is exact too, only slower.
char* FormatFixedSlow(double value, char* out) {
  char text[kFixedTextMax];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  const std::size_t length = static_cast<std::size_t>(result.ptr - text);
  for (std::size_t pad = length; pad < 4; ++pad) *out++ = ' ';
  std::memcpy(out, text, length);
  return out + length;
}

}  // namespace

char* FormatHex(int32_t value, char* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  uint32_t bits = static_cast<uint32_t>(value);
  const int width = bits == 0 ? 1 : (35 - std::countl_zero(bits)) / 4;
  for (int i = width - 1; i >= 0; --i) {
    out[i] = kDigits[bits & 0xF];
    bits >>= 4;
  }
  return out + width;
}

char* FormatDecimal(int32_t value, char* out) {
  uint32_t magnitude = static_cast<uint32_t>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;
  }
  return FormatUnsigned(magnitude, out);
}

char* FormatFixed(double value, char* out) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int biased_exponent = static_cast<int>(bits >> 52 & 0x7FF);
  // Values of 2^63 and above, infinities and NaNs take the general route.
  if (biased_exponent >= 1023 + 63) return FormatFixedSlow(value, out);

  if (bits >> 63) *out++ = '-';
  // value = mantissa * 2^-shift exactly.
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  int shift;
  if (biased_exponent == 0) {
    shift = 1074;
  } else {
    mantissa |= uint64_t{1} << 52;
    shift = 1075 - biased_exponent;
  }

  uint64_t whole;
  uint32_t millionths;
  if (shift <= 0) {
    whole = mantissa << -shift;
    millionths = 0;
  } else if (shift >= 100) {
    // Below 2^-47: rounds to zero and can never be a tie.
    whole = 0;
    millionths = 0;
  } else {
    const uint64_t fraction_bits = shift >= 64 ? mantissa : mantissa & ((uint64_t{1} << shift) - 1);
    whole = shift >= 64 ? 0 : mantissa >> shift;
    // fraction * 10^6 = fraction_bits * 10^6 / 2^shift, rounded half to even.
    const u128 scaled = static_cast<u128>(fraction_bits) * 1000000u;
    uint64_t quotient = static_cast<uint64_t>(scaled >> shift);
    const u128 remainder = scaled & ((static_cast<u128>(1) << shift) - 1);
    const u128 half = static_cast<u128>(1) << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1))) ++quotient;
    if (quotient == 1000000) {
      quotient = 0;
      ++whole;
    }
    millionths = static_cast<uint32_t>(quotient);
  }
  out = FormatUnsigned(whole, out);
  *out++ = '.';
  return FormatMillionths(millionths, out);
}
