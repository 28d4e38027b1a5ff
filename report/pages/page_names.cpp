// The names of the pass pages and the links to them.
#include "report/pages/page_names.h"

#include <algorithm>
#include <unordered_set>

#include "platform/files.h"
#include "text/calendar.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
  return lower;
}

// The longest file name the file systems of the station take, in bytes.
constexpr std::size_t kNameMax = 255;
constexpr std::string_view kPageEnding = ".html";

// A stable digest of a name: FNV-1a, as eight hex digits.
std::string NameDigest(std::string_view name) {
  std::uint32_t digest = 2166136261u;
  for (const char c : name) digest = (digest ^ static_cast<unsigned char>(c)) * 16777619u;
  std::string hex;
  for (int shift = 28; shift >= 0; shift -= 4) hex += kHexDigits[digest >> shift & 0xF];
  return hex;
}

// `stem`, `copy` and the page ending, as one file name: where that would be
// too long, the stem is cut where a character ends and followed by "~" and a
// digest of the whole stem, so that the name stays unique and the same from
// run to run.
std::string PageName(std::string_view stem, std::string_view copy) {
  std::string name;
  if (stem.size() + copy.size() + kPageEnding.size() <= kNameMax) {
    name.append(stem);
  } else {
    const std::string digest = NameDigest(stem);
    const std::size_t room = kNameMax - 1 - digest.size() - copy.size() - kPageEnding.size();
    name.append(stem.substr(0, CharacterCut(stem, room))).append(1, '~').append(digest);
  }
  return name.append(copy).append(kPageEnding);
}

bool KeptInLinks(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string PagesFolderName(std::string_view overview_name) {
  // As the file system compares names: on Windows "X.HTML" is the page
  // "X.html", and gets its folder.
  const bool html =
      overview_name.size() > kPageEnding.size() &&
      FileNameKey(overview_name.substr(overview_name.size() - kPageEnding.size())) == FileNameKey(kPageEnding);
  return std::string(overview_name.substr(0, overview_name.size() - (html ? kPageEnding.size() : 0))) + "_files";
}

std::vector<std::string> PassPageNames(const std::vector<std::string>& capture_names) {
  std::vector<std::string> pages;
  std::unordered_set<std::string> taken;  // in lower case: the pages may lie on a file system that ignores case
  for (const std::string& capture : capture_names) {
    const std::string_view stem = std::string_view(capture).substr(0, capture.size() - 4);  // without ".txt"
    std::string page = PageName(stem, "");
    for (int copy = 2; taken.contains(Lower(page)); ++copy) {
      std::string numbered(1, '~');
      AppendUnsigned(numbered, static_cast<unsigned>(copy));
      page = PageName(stem, numbered);
    }
    taken.insert(Lower(page));
    pages.push_back(std::move(page));
  }
  return pages;
}

namespace {

// The link to a pass page from the overview (from a page in the pages' folder
// when `pages_folder` is empty): the pages' folder, the format's folder and
// the page's name, as UTF-8, percent-encoded.
std::string PassPageHref(std::string_view pages_folder, std::string_view format_folder, std::string_view page) {
  std::string href;
  if (!pages_folder.empty()) href = PercentEncode(NarrowToUtf8(pages_folder)) + "/";
  return href + PercentEncode(format_folder) + "/" + PercentEncode(NarrowToUtf8(page));
}

}  // namespace

std::string YearPageName(DownlinkFormat format, std::optional<std::int64_t> year) {
  std::string name = std::string(ConstantsOf(format).folder) + "-";
  if (year) {
    AppendYear(name, *year);
  } else {
    name += "undated";
  }
  return name + ".html";
}

bool IsYearPageName(DownlinkFormat format, std::string_view name) {
  const std::string start = std::string(ConstantsOf(format).folder) + "-";
  if (!name.starts_with(start) || !name.ends_with(kPageEnding)) return false;
  std::string_view year = name.substr(start.size(), name.size() - start.size() - kPageEnding.size());
  if (year == "undated") return true;
  if (year.starts_with('-')) year.remove_prefix(1);
  return year.size() >= 4 && std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; });
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
