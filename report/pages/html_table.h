// Rows and cells of the report's HTML tables.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "report/model/pass_flags.h"

namespace hkcsv {

// Column names of a table, in groups that are shown or left out together.
using ColumnGroup = std::span<const char* const>;

// The header row of the column groups, and the start of the body.
void AppendHeaderRow(std::string& html, std::initializer_list<ColumnGroup> groups);
// The end of the body and of the table.
void AppendTableEnd(std::string& html);

// "<tr>", or for a row that needs a look, with the classes "problem" and its
// level's name ("alarm" or "notice").
void OpenRow(std::string& html, std::optional<Level> problem);

// Narrow text from a file or a name, left-aligned; `bad` marks it.
void TextCell(std::string& html, std::string_view text, bool bad = false);
// The same text as a link to `href` (UTF-8, percent-encoded already); no
// link when `href` is empty.
void LinkCell(std::string& html, std::string_view href, std::string_view text, bool bad = false);
void CountCell(std::string& html, std::uint64_t value, bool bad = false);
// Empty when there is no count: nothing is known, which is not 0.
void CountCell(std::string& html, std::optional<std::uint64_t> value, bool bad = false);
// Six decimals; `css_class` may be empty.
void FixedCell(std::string& html, double value, std::string_view css_class = {});
void EmptyCells(std::string& html, std::size_t count);
// A link to `href` showing narrow `text`, outside a cell.
void AppendLink(std::string& html, std::string_view href, std::string_view text);

}  // namespace hkcsv
