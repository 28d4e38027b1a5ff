// Exact printf-compatible formatting of integers and of "%4f".
#include "text/number_format.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace hkcsv {

namespace {

__extension__ typedef unsigned __int128 u128;  // GCC and Clang both have it

constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr uint64_t kPowersOfTen[20] = {1ull,
                                       10ull,
                                       100ull,
                                       1000ull,
                                       10000ull,
                                       100000ull,
                                       1000000ull,
                                       10000000ull,
                                       100000000ull,
                                       1000000000ull,
                                       10000000000ull,
                                       100000000000ull,
                                       1000000000000ull,
                                       10000000000000ull,
                                       100000000000000ull,
                                       1000000000000000ull,
                                       10000000000000000ull,
                                       100000000000000000ull,
                                       1000000000000000000ull,
                                       10000000000000000000ull};

// The number of decimal digits of a nonzero value, from its bit length
// (1233 / 4096 is just above log10(2)).
int DecimalDigits(uint64_t value) {
  const int estimate = (64 - std::countl_zero(value)) * 1233 >> 12;
  return estimate + (value >= kPowersOfTen[estimate] ? 1 : 0);
}

// Writes the digits of `value` backwards from `end`, two at a time.
template <typename Unsigned>
void PutDigitsBackwards(Unsigned value, char* end) {
  while (value >= 100) {
    const unsigned pair = static_cast<unsigned>(value % 100) * 2;
    value /= 100;
    end -= 2;
    std::memcpy(end, kTwoDigits + pair, 2);
  }
  if (value >= 10) {
    std::memcpy(end - 2, kTwoDigits + value * 2, 2);
  } else {
    end[-1] = static_cast<char>('0' + value);
  }
}

// Inline here, where FormatFixed's whole part takes it in its hot path.
inline char* PutUnsigned(uint64_t value, char* out) {
  if (value < 10) {
    *out = static_cast<char>('0' + value);
    return out + 1;
  }
  if (value < 100) {
    std::memcpy(out, kTwoDigits + value * 2, 2);
    return out + 2;
  }
  // 32-bit division by a constant is cheaper: use it where the value fits.
  if (value <= 0xFFFFFFFFu) {
    char* end = out + DecimalDigits(value);
    PutDigitsBackwards(static_cast<uint32_t>(value), end);
    return end;
  }
  char* end = out + DecimalDigits(value);
  PutDigitsBackwards(value, end);
  return end;
}

// Six decimal digits of a fraction in millionths, leading zeros kept.
char* FormatMillionths(uint32_t value, char* out) {
  std::memcpy(out, kTwoDigits + value / 10000 * 2, 2);
  std::memcpy(out + 2, kTwoDigits + value / 100 % 100 * 2, 2);
  std::memcpy(out + 4, kTwoDigits + value % 100 * 2, 2);
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

// Rounds scaled / 2^shift to the nearest integer, ties to even (shift >= 1).
template <typename Wide>
uint64_t RoundShifted(Wide scaled, int shift) {
  uint64_t quotient = static_cast<uint64_t>(scaled >> shift);
  const Wide remainder = scaled & ((static_cast<Wide>(1) << shift) - 1);
  const Wide half = static_cast<Wide>(1) << (shift - 1);
  if (remainder > half || (remainder == half && (quotient & 1))) ++quotient;
  return quotient;
}

}  // namespace

char* FormatUnsigned(uint64_t value, char* out) { return PutUnsigned(value, out); }

char* FormatHex(int32_t value, char* out) {
  uint32_t bits = static_cast<uint32_t>(value);
  if (bits < 0x100) {  // a received byte: the usual case
    if (bits < 0x10) {
      *out = kHexDigits[bits];
      return out + 1;
    }
    out[0] = kHexDigits[bits >> 4];
    out[1] = kHexDigits[bits & 0xF];
    return out + 2;
  }
  const int width = (35 - std::countl_zero(bits)) / 4;
  for (int i = width - 1; i >= 0; --i) {
    out[i] = kHexDigits[bits & 0xF];
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
  return PutUnsigned(magnitude, out);
}

namespace {

// Six digits of a value below 10^6, leading zeros kept, in three pairs
// taken from one fixed-point product: m * ceil(2^32 / 10^4) holds m / 10^4 in
// its high half and the rest as a 32-bit fraction, whose pairs of digits come
// out by multiplying by 100. Exact for every m below 10^6 (a test checks all).
inline char* PutSixDigits(uint32_t m, char* out) {
  uint64_t y = uint64_t{m} * 429497u;
  std::memcpy(out, kTwoDigits + (y >> 32) * 2, 2);
  y = (y & 0xFFFFFFFFu) * 100u;
  std::memcpy(out + 2, kTwoDigits + (y >> 32) * 2, 2);
  y = (y & 0xFFFFFFFFu) * 100u;
  std::memcpy(out + 4, kTwoDigits + (y >> 32) * 2, 2);
  return out + 6;
}

// One or two digits of a value below 100.
inline char* PutSmall(uint32_t value, char* out) {
  if (value < 10) {
    *out = static_cast<char>('0' + value);
    return out + 1;
  }
  std::memcpy(out, kTwoDigits + value * 2, 2);
  return out + 2;
}

// The digits of a 32-bit value, in groups cut by constant divisions: the
// whole part of a value in a data row is mostly small.
inline char* PutWhole(uint32_t value, char* out) {
  if (value < 100) return PutSmall(value, out);
  if (value < 10000) {
    out = PutSmall(value / 100, out);
    std::memcpy(out, kTwoDigits + value % 100 * 2, 2);
    return out + 2;
  }
  if (value < 1000000) {
    out = PutSmall(value / 10000, out);
    const uint32_t rest = value % 10000;
    std::memcpy(out, kTwoDigits + rest / 100 * 2, 2);
    std::memcpy(out + 2, kTwoDigits + rest % 100 * 2, 2);
    return out + 4;
  }
  if (value < 100000000) return PutSixDigits(value % 1000000, PutSmall(value / 1000000, out));
  out = PutSmall(value / 100000000, out);
  const uint32_t rest = value % 100000000;
  std::memcpy(out, kTwoDigits + rest / 1000000 * 2, 2);
  return PutSixDigits(rest % 1000000, out + 2);
}

// The usual case, a magnitude below 2^31 (so its whole part, rounded up,
// still fits 32 bits), in double arithmetic: the fraction
// (magnitude minus its whole part) is exact, and its product with 10^6 is
// within 2^-34 of the exact millionths. So rounding that product to the
// nearest integer gives printf's digits unless it lies within 2^-30 of a
// rounding tie; then, and only then, returns null for the exact route.
inline char* FormatSmallFixed(double magnitude, char* out) {
  uint64_t whole = static_cast<uint64_t>(static_cast<int64_t>(magnitude));
  const double scaled = (magnitude - static_cast<double>(whole)) * 1e6;
  const double from_tie = scaled - static_cast<double>(static_cast<int64_t>(scaled)) - 0.5;
  constexpr double kTieMargin = 0x1p-30;
  if (from_tie < kTieMargin && from_tie > -kTieMargin) return nullptr;
  uint32_t millionths = static_cast<uint32_t>(static_cast<int64_t>(scaled + 0.5));
  if (millionths == 1000000) {
    millionths = 0;
    ++whole;
  }
  out = PutWhole(static_cast<uint32_t>(whole), out);
  *out++ = '.';
  return PutSixDigits(millionths, out);
}

}  // namespace

char* FormatFixed(double value, char* out) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int biased_exponent = static_cast<int>(bits >> 52 & 0x7FF);
  if (biased_exponent < 1023 + 31) {
    char* sign_end = out + (bits >> 63);
    *out = '-';  // overwritten by the first digit when the value is positive
    if (char* end = FormatSmallFixed(std::fabs(value), sign_end)) return end;
  }
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

  uint64_t whole = 0;
  uint64_t millionths = 0;
  if (shift <= 0) {
    whole = mantissa << -shift;
  } else if (shift < 100) {  // below 2^-47 a value rounds to zero and is never a tie
    const uint64_t fraction = shift >= 64 ? mantissa : mantissa & ((uint64_t{1} << shift) - 1);
    whole = shift >= 64 ? 0 : mantissa >> shift;
    // millionths = fraction * 10^6 / 2^shift, rounded half to even. As
    // 10^6 = 15625 * 2^6, the product fits 64 bits while shift <= 50, which
    // covers every value of 4 and above.
    if (shift <= 6) {
      millionths = (fraction * 1000000u) >> shift;  // exact
    } else if (shift <= 50) {
      millionths = RoundShifted<uint64_t>(fraction * 15625u, shift - 6);
    } else {
      millionths = RoundShifted<u128>(static_cast<u128>(fraction) * 15625u, shift - 6);
    }
    if (millionths == 1000000) {
      millionths = 0;
      ++whole;
    }
  }
  out = PutUnsigned(whole, out);
  *out++ = '.';
  return FormatMillionths(static_cast<uint32_t>(millionths), out);
}

void AppendUnsigned(std::string& out, uint64_t value) {
  char text[kUnsignedTextMax];
  out.append(text, FormatUnsigned(value, text));
}

void AppendCounted(std::string& out, uint64_t count, std::string_view one, std::string_view many) {
  AppendUnsigned(out, count);
  out += ' ';
  out += count == 1 ? one : many;
}

void AppendSigned(std::string& out, int64_t value) {
  if (value < 0) out += '-';
  // The magnitude in unsigned arithmetic, where the most negative value has one too.
  AppendUnsigned(out, value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
}

void AppendZeroPadded(std::string& out, uint64_t value, std::size_t digits) {
  char text[kUnsignedTextMax];
  const auto length = static_cast<std::size_t>(FormatUnsigned(value, text) - text);
  if (length < digits) out.append(digits - length, '0');
  out.append(text, length);
}

void AppendFixed(std::string& out, double value) {
  char text[kFixedTextMax];
  out.append(text, FormatFixed(value, text));
}

std::string Decimals(double value, int decimals) {
  char text[32];
  const std::to_chars_result written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, written.ptr);
}

}  // namespace hkcsv
