// Differential: our "%4f", "%X" and "%d" formatting against snprintf for
// arbitrary doubles and integers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "text/number_format.h"

using namespace hkcsv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  for (; size >= 8; data += 8, size -= 8) {
    double value;
    std::memcpy(&value, data, sizeof value);
    char ours[kFixedTextMax];
    char theirs[kFixedTextMax + 8];
    const std::size_t length = static_cast<std::size_t>(FormatFixed(value, ours) - ours);
    std::snprintf(theirs, sizeof theirs, "%4f", value);
    if (std::string_view(ours, length) != theirs) __builtin_trap();

    int32_t integer;
    std::memcpy(&integer, data, sizeof integer);
    std::snprintf(theirs, sizeof theirs, "%X", static_cast<unsigned>(integer));
    if (std::string_view(ours, static_cast<std::size_t>(FormatHex(integer, ours) - ours)) != theirs) __builtin_trap();
    std::snprintf(theirs, sizeof theirs, "%d", integer);
    if (std::string_view(ours, static_cast<std::size_t>(FormatDecimal(integer, ours) - ours)) != theirs) {
      __builtin_trap();
    }
  }
  return 0;
}
