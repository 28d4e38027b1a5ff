// Rows and cells of the pages' HTML tables.
#include "report/pages/html_table.h"

#include <cstring>

#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

void OpenCell(std::string& html, std::string_view css_class) {
  if (css_class.empty()) {
    html += "<td>";
    return;
  }
  html += "<td class=\"";
  html += css_class;
  html += "\">";
}

}  // namespace

void AppendHeaderRow(std::string& html, std::initializer_list<ColumnGroup> groups) {
  html += "<thead><tr>";
  for (ColumnGroup group : groups) {
    for (const char* name : group) {
      html += "<th>";
      html += name;
      html += "</th>";
    }
  }
  html += "</tr></thead>\n<tbody>\n";
}

void AppendTableEnd(std::string& html) { html += "</tbody>\n</table>\n"; }

void OpenRow(std::string& html, std::optional<Level> problem) {
  if (!problem) {
    html += "<tr>";
    return;
  }
  html += "<tr class=\"problem ";
  html += LevelName(*problem);
  html += "\">";
}

void TextCell(std::string& html, std::string_view text, bool bad) {
  OpenCell(html, bad ? "text bad" : "text");
  AppendNarrow(html, text);
  html += "</td>";
}

void LinkCell(std::string& html, std::string_view href, std::string_view text, bool bad) {
  OpenCell(html, bad ? "text bad" : "text");
  AppendLink(html, href, text);
  html += "</td>";
}

void CountCell(std::string& html, std::uint64_t value, bool bad) {
  OpenCell(html, bad ? "bad" : "");
  AppendUnsigned(html, value);
  html += "</td>";
}

void CountCell(std::string& html, std::optional<std::uint64_t> value, bool bad) {
  if (!value) {
    html += "<td></td>";
    return;
  }
  CountCell(html, *value, bad);
}

void FixedCell(std::string& html, double value, std::string_view css_class) {
  OpenCell(html, css_class);
  // The value and the cell's end in one append: a pass page's frame table
  // holds up to 170,000 of these cells.
  constexpr std::string_view kEnd = "</td>";
  char text[kFixedTextMax + kEnd.size()];
  char* const end = FormatFixed(value, text);
  std::memcpy(end, kEnd.data(), kEnd.size());
  html.append(text, static_cast<std::size_t>(end - text) + kEnd.size());
}

void EmptyCells(std::string& html, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) html += "<td></td>";
}

void AppendLink(std::string& html, std::string_view href, std::string_view text) {
  if (href.empty()) {
    AppendNarrow(html, text);
    return;
  }
  html += "<a href=\"";
  AppendHtmlText(html, href);
  html += "\">";
  AppendNarrow(html, text);
  html += "</a>";
}

}  // namespace hkcsv
