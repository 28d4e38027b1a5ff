// The names of the pass pages and the links to them.
#include "report/pages/page_names.h"

#include <algorithm>
#include <unordered_set>

#include "platform/files.h"
#include "report/model/calendar.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
  return lower;
}

bool KeptInLinks(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string PagesFolderName(std::string_view overview_name) {
  constexpr std::string_view kEnding = ".html";
  const bool html = overview_name.ends_with(kEnding) && overview_name.size() > kEnding.size();
  return std::string(overview_name.substr(0, overview_name.size() - (html ? kEnding.size() : 0))) + "_files";
}

std::vector<std::string> PassPageNames(const std::vector<std::string>& capture_names) {
  std::vector<std::string> pages;
  std::unordered_set<std::string> taken;  // in lower case: the pages may lie on a file system that ignores case
  for (const std::string& capture : capture_names) {
    const std::string_view stem = std::string_view(capture).substr(0, capture.size() - 4);  // without ".txt"
    std::string page = std::string(stem) + ".html";
    for (int copy = 2; taken.contains(Lower(page)); ++copy)
      page = std::string(stem) + "~" + std::to_string(copy) + ".html";
    taken.insert(Lower(page));
    pages.push_back(std::move(page));
  }
  return pages;
}

std::string PassPageHref(std::string_view pages_folder, std::string_view format_folder, std::string_view page) {
  std::string href;
  if (!pages_folder.empty()) href = PercentEncode(NarrowToUtf8(pages_folder)) + "/";
  return href + PercentEncode(format_folder) + "/" + PercentEncode(NarrowToUtf8(page));
}

std::string YearPageName(DownlinkFormat format, std::optional<std::int64_t> year) {
  std::string name = std::string(ConstantsOf(format).folder) + "-";
  if (year) {
    AppendYear(name, *year);
  } else {
    name += "undated";
  }
  return name + ".html";
}

std::string YearPageHref(std::string_view pages_folder, DownlinkFormat format, std::optional<std::int64_t> year) {
  std::string href;
  if (!pages_folder.empty()) href = PercentEncode(NarrowToUtf8(pages_folder)) + "/";
  return href + PercentEncode(YearPageName(format, year));
}

std::string YearLabel(std::optional<std::int64_t> year) {
  if (!year) return "no date";
  std::string label;
  AppendYear(label, *year);
  return label;
}

std::string PassHref(const PassPageLinks& links, DownlinkFormat format, std::size_t pass) {
  if (!links.written[pass]) return {};
  return PassPageHref(links.folder, ConstantsOf(format).folder, links.names[pass]);
}

std::string PercentEncode(std::string_view utf8) {
  std::string link;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (KeptInLinks(byte)) {
      link += c;
    } else {
      link += '%';
      link += kHexDigits[byte >> 4];
      link += kHexDigits[byte & 0xF];
    }
  }
  return link;
}

}  // namespace hkcsv
