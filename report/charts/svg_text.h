// Pieces of a chart's SVG text: lengths and coordinates as attributes, and
// text elements, escaped, squeezed to fit where text from the captures
// might not.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hkcsv {

// The lengths of a chart's frame (view box and plot area) print as whole units.
void AppendWholeUnits(std::string& out, std::int64_t tenths);

// name="value" with a coordinate in tenths.
void AppendAttribute(std::string& out, std::string_view name, std::int64_t tenths);

// A whole <text> element of UTF-8 `text`, escaped.
void AppendTextElement(std::string& svg, std::string_view css_class, std::int64_t x, std::int64_t y,
                       std::string_view text);

// A text element squeezed to `width` tenths where it might not fit (an
// estimate of 10-unit text), rather than clipped.
void AppendFittedText(std::string& svg, std::string_view css_class, std::int64_t x, std::int64_t y,
                      std::string_view text, std::int64_t width);

}  // namespace hkcsv
