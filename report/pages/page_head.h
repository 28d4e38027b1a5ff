// The head of the report's pages, each of them self-contained HTML5 that is
// also well-formed XML, with the stylesheet they share inline.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hkcsv {

// Whose page a page is, in its generator mark <meta name="generator"
// content="hkreport VERSION (MARK)"/>, so that hkreport replaces and removes
// only pages it wrote: "overview", or "pass page PAGE of NAME", "year page
// PAGE of NAME" and "station page PAGE of NAME", where PAGE is the file name the page was written as (so that
// a copy saved under another name is not taken for it) and NAME the
// overview's file name (narrow, escaped as the page holds them).
enum class PageKind { kPass, kYear, kStation };
std::string OverviewMark();
std::string PageMark(PageKind kind, std::string_view page_name, std::string_view overview_name);
// The mark of the pages of 1.2.0, which names no page: "pass page of NAME".
std::string UnnamedPageMark(PageKind kind, std::string_view overview_name);

// The mark that `head`, the start of a file, carries in hkreport's generator
// mark, of any version; none when it carries none.
std::optional<std::string> MarkOf(std::string_view head);

// The start of the pass page of capture `capture_name` as hkreport 1.1 wrote
// it, before pages carried a mark: its head up to the stylesheet's first
// rule. Such a page, where a pass page of this overview goes, is this
// report's own.
std::string Version11PassPageStart(std::string_view capture_name);

// How many bytes of a page hold its mark, at most: its head's start and the
// mark with two names of 255 bytes, each escaped.
inline constexpr std::size_t kMarkedHead = 4096;

// Appends the doctype, the head titled with narrow `title` and marked with
// `mark`, and the start of the body.
void AppendPageHead(std::string& html, std::string_view title, std::string_view mark);

// Appends the end of the body and of the page.
void AppendPageEnd(std::string& html);

}  // namespace hkcsv
