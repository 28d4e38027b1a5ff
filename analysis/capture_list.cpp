#include "analysis/capture_list.h"

#include <algorithm>

namespace {

bool EndsWithTxt(const std::string& name) {
  if (name.size() < 4) return false;
  const char* tail = name.c_str() + name.size() - 4;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return tail[0] == '.' && lower(tail[1]) == 't' && lower(tail[2]) == 'x' && lower(tail[3]) == 't';
}

}  // namespace

std::vector<FolderEntry> ListCaptureEntries(const std::string& folder) {
  std::vector<FolderEntry> entries = ListFolder(folder);
  std::erase_if(entries, [](const FolderEntry& entry) { return !EndsWithTxt(entry.name); });
  // std::string compares bytes as unsigned values: plain byte order.
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}
