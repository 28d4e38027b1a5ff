// Number formatting that gives exactly the bytes of printf's "%X", "%d" and
// "%4f", without printf's per-call cost and independent of the locale.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace hkcsv {

// Room for the longest text FormatFixed can produce ("%4f" of -DBL_MAX).
inline constexpr std::size_t kFixedTextMax = 320;
inline constexpr std::size_t kHexTextMax = 8;
inline constexpr std::size_t kDecimalTextMax = 11;

// The upper-case hex digits, as "%X" and every \xHH or %HH escape write them.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// printf("%X"): upper-case digits, no prefix, no leading zeros; a negative
// value prints as its 32-bit two's complement. Returns the end of the text.
char* FormatHex(int32_t value, char* out);

// The text "%X " of each byte value 0 to FF, padded to four bytes, and its
// length: the echo of a received byte is one four-byte copy.
struct HexEcho {
  char text[4];
  unsigned char length;
};
constexpr std::array<HexEcho, 256> MakeHexEchoes() {
  std::array<HexEcho, 256> table{};
  for (int value = 0; value < 256; ++value) {
    HexEcho& echo = table[static_cast<std::size_t>(value)];
    int at = 0;
    if (value >= 0x10) echo.text[at++] = kHexDigits[value >> 4];
    echo.text[at++] = kHexDigits[value & 0xF];
    echo.text[at++] = ' ';
    echo.length = static_cast<unsigned char>(at);
  }
  return table;
}
inline constexpr std::array<HexEcho, 256> kHexEchoes = MakeHexEchoes();

// printf("%X ") of a value, with the usual case of a received byte (0 to FF)
// done inline. Writes up to four bytes more than it returns for a byte.
inline char* FormatHexThenSpace(int32_t value, char* out) {
  const uint32_t bits = static_cast<uint32_t>(value);
  if (bits >= 0x100) {
    out = FormatHex(value, out);
    *out++ = ' ';
    return out;
  }
  const HexEcho& echo = kHexEchoes[bits];
  std::memcpy(out, echo.text, 4);
  return out + echo.length;
}

// printf("%d").
char* FormatDecimal(int32_t value, char* out);

// printf("%llu"): a count of any size.
inline constexpr std::size_t kUnsignedTextMax = 20;
char* FormatUnsigned(uint64_t value, char* out);

// printf("%4f"): fixed notation, six decimals, exact binary value rounded
// half to even, right-aligned in at least four characters.
char* FormatFixed(double value, char* out);

// The same texts appended to a string, for messages and pages.
void AppendUnsigned(std::string& out, uint64_t value);  // "%llu"
// A count and what it counts: "1 frame", "2 frames".
void AppendCounted(std::string& out, uint64_t count, std::string_view one, std::string_view many);
void AppendSigned(std::string& out, int64_t value);  // "%lld"
// At least `digits` digits, zeros in front: "07" of 7 and 2.
void AppendZeroPadded(std::string& out, uint64_t value, std::size_t digits);
void AppendFixed(std::string& out, double value);  // "%f": six decimals, as the data CSV prints them
// `value` rounded to `decimals`, for figures read by eye: "0.34", "54.5".
std::string Decimals(double value, int decimals);

}  // namespace hkcsv
