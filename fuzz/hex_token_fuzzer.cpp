// Differential: our hex token reader against sscanf("%X") on tokens of the
// form [sign][0x]hexdigits[anything]. Value and characters consumed must agree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "text/text_input.h"

using namespace hkcsv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte picks the shape, the rest gives the digits and the tail.
  const uint8_t shape = data[0];
  std::string token;
  if (shape & 1) token += (shape & 2) ? '-' : '+';
  if (shape & 4) token += (shape & 8) ? "0X" : "0x";
  static constexpr char kDigits[] = "0123456789abcdefABCDEF";
  const std::size_t digits = 1 + (shape >> 4) % 8;
  std::size_t at = 1;
  for (std::size_t i = 0; i < digits && at < size; ++i, ++at) token += kDigits[data[at] % 22];
  token.append(reinterpret_cast<const char*>(data + at), size - at);
  const std::string c_text = token.substr(0, token.find('\0'));  // what sscanf sees

  // Beyond 16 digits glibc saturates at 64 bits, where we keep the low 32 bits
  // as for shorter numbers: that case has a unit test of its own.
  // The digits start after the sign and a 0x prefix, the prefix possibly
  // formed with the tail's first byte ("0" then "X1F").
  std::size_t digits_start = c_text[0] == '+' || c_text[0] == '-' ? 1 : 0;
  if (c_text.compare(digits_start, 2, "0x") == 0 || c_text.compare(digits_start, 2, "0X") == 0) digits_start += 2;
  const std::size_t digits_end = std::min(c_text.find_first_not_of(kDigits, digits_start), c_text.size());
  if (digits_end > digits_start + 16) return 0;

  unsigned expected = 0;
  int expected_consumed = -1;
  const int scanned = std::sscanf(c_text.c_str(), "%X%n", &expected, &expected_consumed);

  InputStream in = InputFromText(c_text, false);
  int32_t value = 0;
  const ReadResult result = ReadHex(in, value);
  const auto consumed = in.next - reinterpret_cast<const unsigned char*>(c_text.data());
  if (scanned == 1) {
    if (result != ReadResult::kValue || static_cast<unsigned>(value) != expected || consumed != expected_consumed) {
      __builtin_trap();
    }
  } else if (result == ReadResult::kValue) {
    __builtin_trap();
  }
  return 0;
}
