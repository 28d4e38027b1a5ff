// Pieces of page text: narrow text from files and the command line, escaped,
// and numbers in the project's own formatting, the same bytes on every
// platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text as it came from a capture file, a file name or the command line.
void AppendNarrow(std::string& html, std::string_view text);
// Six decimals, as the data CSV prints them ("%f").
void AppendFixed(std::string& html, double value);
void AppendCount(std::string& html, std::uint64_t value);
// At least `digits` digits, zeros in front: "07" of 7 and 2.
void AppendZeroPadded(std::string& html, std::uint64_t value, std::size_t digits);
// A minus sign before a negative value's digits.
void AppendSigned(std::string& html, std::int64_t value);
