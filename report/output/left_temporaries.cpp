// Temporary files of earlier runs, swept.
#include "report/output/left_temporaries.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "report/pages/page_layout.h"

namespace hkcsv {

namespace {

constexpr std::string_view kTemporaryEnd = ".tmp.";
constexpr std::size_t kRandomCharacters = 6;
// The names a temporary file takes where its file's own name would be too
// long, and the scratch file's where it must have a name for a moment.
constexpr std::string_view kLongNameBase = ".hkreport";
constexpr std::string_view kScratchBase = ".frames";

bool IsLetterOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// The folder a path lies in, with its separator: "" for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of(kPathSeparators);
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t cut = path.find_last_of(kPathSeparators);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Removes the entries of `folder` (with its separator, or "" for the
// working folder) that are temporary files of a base `ours` takes.
void Sweep(const std::string& folder, const std::function<bool(std::string_view base)>& ours) {
  std::vector<FolderEntry> entries;
  if (ListFolder(folder.empty() ? std::string(".") + kPathSeparator : folder, "*.tmp.*", entries) != 0) return;
  for (const FolderEntry& entry : entries) {
    const std::string_view name = entry.name;
    const std::size_t end = name.size() - std::min(name.size(), kTemporaryEnd.size() + kRandomCharacters);
    if (entry.is_folder || !IsTemporaryOf(name, name.substr(0, end)) || !ours(name.substr(0, end))) continue;
    RemoveLeftTemporaryFile(folder + entry.name);  // one held by a run, or too young, stays
  }
}

}  // namespace

bool IsTemporaryOf(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + kTemporaryEnd.size() + kRandomCharacters || !name.starts_with(base)) return false;
  name.remove_prefix(base.size());
  if (!name.starts_with(kTemporaryEnd)) return false;
  name.remove_prefix(kTemporaryEnd.size());
  return std::all_of(name.begin(), name.end(), IsLetterOrDigit);
}

void RemoveLeftTemporaries(const PageLayout& place, const std::string& page,
                           const std::optional<std::string>& export_file) {
  const std::string page_name = NameOf(page);
  const std::string export_name = export_file ? NameOf(*export_file) : std::string();
  const auto beside = [&](std::string_view base) {
    return base == page_name || base == kLongNameBase || base == kScratchBase ||
           (export_file && FolderOf(*export_file) == FolderOf(page) && base == export_name);
  };
  Sweep(FolderOf(page), beside);
  if (export_file && FolderOf(*export_file) != FolderOf(page)) {
    Sweep(FolderOf(*export_file), [&](std::string_view base) { return base == export_name || base == kLongNameBase; });
  }
  const auto pages = [](std::string_view base) {
    return base.ends_with(".html") || base == kJudgedListName || base == kLongNameBase || base == kScratchBase;
  };
  Sweep(place.folder + kPathSeparator, pages);
  for (const DownlinkFormat format : kDownlinkFormats) Sweep(FormatFolder(place, format) + kPathSeparator, pages);
}

}  // namespace hkcsv
