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
