// The head of the report's pages, each of them self-contained HTML5 that is
// also well-formed XML, with the stylesheet they share inline.
#pragma once

#include <string>
#include <string_view>

namespace hkcsv {

// Appends the doctype, the head titled with narrow `title` and the start of
// the body.
void AppendPageHead(std::string& html, std::string_view title);

// Appends the end of the body and of the page.
void AppendPageEnd(std::string& html);

}  // namespace hkcsv
