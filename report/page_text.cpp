#include "report/page_text.h"

#include "platform/files.h"
#include "report/html_text.h"
#include "text/number_format.h"

void AppendNarrow(std::string& html, std::string_view text) { AppendHtmlText(html, NarrowToUtf8(text)); }

void AppendFixed(std::string& html, double value) {
  char text[kFixedTextMax];
  html.append(text, FormatFixed(value, text));
}

void AppendCount(std::string& html, std::uint64_t value) {
  char text[kUnsignedTextMax];
  html.append(text, FormatUnsigned(value, text));
}

void AppendZeroPadded(std::string& html, std::uint64_t value, std::size_t digits) {
  char text[kUnsignedTextMax];
  const auto length = static_cast<std::size_t>(FormatUnsigned(value, text) - text);
  if (length < digits) html.append(digits - length, '0');
  html.append(text, length);
}

void AppendSigned(std::string& html, std::int64_t value) {
  if (value < 0) html += '-';
  // The magnitude in unsigned arithmetic, where the most negative value has one too.
  AppendCount(html, value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
}
