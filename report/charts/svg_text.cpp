// Text elements and attributes of a chart's SVG.
#include "report/charts/svg_text.h"

#include <algorithm>

#include "report/charts/svg_path.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::int64_t kNarrowChar = 62;  // an estimate of the width of a 10-unit Latin character
constexpr std::int64_t kWideChar = 100;   // of any other

// A generous estimate of the width of escaped text in tenths.
std::int64_t TextWidth(std::string_view escaped) {
  std::int64_t width = 0;
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    const auto byte = static_cast<unsigned char>(escaped[i]);
    if (byte == '&') i = std::min(escaped.find(';', i), escaped.size());  // an entity shows one character
    if (byte < 0x80) width += kNarrowChar;
    if (byte >= 0xC0) width += kWideChar;  // the lead byte of a character beyond ASCII
  }
  return width;
}

// <text class="CLASS" x="X" y="Y" (the element left open for more attributes).
void AppendTextStart(std::string& svg, std::string_view css_class, std::int64_t x, std::int64_t y) {
  svg += "<text class=\"";
  svg += css_class;
  svg += '"';
  AppendAttribute(svg, "x", x);
  AppendAttribute(svg, "y", y);
}

}  // namespace

void AppendWholeUnits(std::string& out, std::int64_t tenths) { AppendSigned(out, tenths / 10); }

void AppendAttribute(std::string& out, std::string_view name, std::int64_t tenths) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendTenths(out, tenths);
  out += '"';
}

void AppendTextElement(std::string& svg, std::string_view css_class, std::int64_t x, std::int64_t y,
                       std::string_view text) {
  AppendTextStart(svg, css_class, x, y);
  svg += '>';
  AppendHtmlText(svg, text);
  svg += "</text>\n";
}

void AppendFittedText(std::string& svg, std::string_view css_class, std::int64_t x, std::int64_t y,
                      std::string_view text, std::int64_t width) {
  std::string escaped;
  AppendHtmlText(escaped, text);
  AppendTextStart(svg, css_class, x, y);
  if (TextWidth(escaped) > width) {
    AppendAttribute(svg, "textLength", width);
    svg += " lengthAdjust=\"spacingAndGlyphs\"";
  }
  svg += '>';
  svg += escaped;
  svg += "</text>\n";
}

}  // namespace hkcsv
