#include "report/pass_pages.h"

#include <cstring>
#include <unordered_set>

#include "platform/files.h"
#include "report/messages.h"
#include "report/page_file.h"
#include "report/page_names.h"
#include "report/pass_page.h"

namespace hkcsv {

namespace {

std::string FormatFolder(const PassPagesPlace& place, DownlinkFormat format) {
  return place.folder + kPathSeparator + ConstantsOf(format).folder;
}

}  // namespace

PassPagesPlace PlacePassPages(const std::string& overview_path) {
  const std::size_t cut = overview_path.find_last_of(kPathSeparators);
  const std::size_t name_start = cut == std::string::npos ? 0 : cut + 1;
  PassPagesPlace place;
  place.overview_name = overview_path.substr(name_start);
  place.folder_name = PagesFolderName(place.overview_name);
  place.folder = overview_path.substr(0, name_start) + place.folder_name;
  return place;
}

int MakePassPagesFolder(const PassPagesPlace& place, DownlinkFormat format, OutputStream& errors) {
  const std::string folder = FormatFolder(place, format);
  const int error = MakeFolder(folder);
  if (error != 0) TellLine(errors, CannotWriteLine({folder, error}));
  return error;
}

int WritePassPage(const PassPagesPlace& place, FormatData& data, std::size_t pass, const PassDetail& detail,
                  const LimitTable* limits, std::string& buffer, OutputStream& errors) {
  buffer.clear();
  RenderPassPage(buffer, {&data, pass, &detail, limits, "../../" + PercentEncode(NarrowToUtf8(place.overview_name))});
  const std::string path = FormatFolder(place, data.format) + kPathSeparator + data.passes[pass].page;
  if (FileHolds(path, buffer)) {
    data.passes[pass].page_written = true;
    return 0;
  }
  const FileFailure failure = WritePageFile(path, buffer, AtLink::kReplace);
  if (failure.error != 0) {
    TellLine(errors, CannotWriteLine(failure));
    return failure.error;
  }
  data.passes[pass].page_written = true;
  return 0;
}

void RemoveStalePages(const PassPagesPlace& place, const FormatData& data) {
  const std::string folder = FormatFolder(place, data.format);
  std::vector<FolderEntry> entries;
  if (ListFolder(folder + kPathSeparator, "*.html", entries) != 0) return;
  std::unordered_set<std::string> current;
  for (const PassSummary& pass : data.passes) current.insert(pass.page);
  for (const FolderEntry& entry : entries) {
    if (entry.is_folder || !entry.name.ends_with(".html") || current.contains(entry.name)) continue;
    RemoveFile(folder + kPathSeparator + entry.name);
  }
}

}  // namespace hkcsv
