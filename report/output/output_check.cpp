// What hkreport refuses to write over, and which pages are its own.
#include "report/output/output_check.h"

#include <algorithm>
#include <optional>

#include "platform/files.h"
#include "report/pages/page_head.h"

namespace hkcsv {

namespace {

// What a path names: the file's identity where it stands, else its name in
// the real path of its folder (as far as the folder resolves).
struct Named {
  std::optional<FileIdentity> identity;
  std::string place;
};

std::size_t NameStart(const std::string& path) {
  const std::size_t cut = path.find_last_of(kPathSeparators);
  return cut == std::string::npos ? 0 : cut + 1;
}

// The folder a path lies in: "." for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t start = NameStart(path);
  return start == 0 ? std::string(".") : path.substr(0, start);
}

Named NameOf(const std::string& path) {
  PathInfo info;
  if (InspectPath(path, info) == 0 && (info.kind == PathKind::kRegularFile || info.kind == PathKind::kFolder)) {
    return {info.identity, {}};
  }
  // Where it does not stand yet: the real path of what does stand of it,
  // then the rest, "." and ".." taken as they read.
  std::string place;
  return {std::nullopt, PlaceOfPath(path, place) == 0 ? place : path};
}

bool SameNamed(const Named& a, const Named& b) {
  if (a.identity || b.identity) return a.identity == b.identity;
  return a.place == b.place;
}

// The folder above `path`: "" above a bare name, the root above "/x".
std::string Above(const std::string& path) {
  const std::size_t start = NameStart(path);
  return path.substr(0, start > 1 ? start - 1 : start);
}

// The nearest folder that stands of `folder` and those above it.
std::string StandingFolder(const std::string& folder) {
  for (std::string at = folder; !at.empty() && at != Above(at); at = Above(at)) {
    if (FolderExists(at)) return at;
  }
  return FolderOf("");
}

// The folders from `folder` up: the nearest that stands, resolved to its
// real path, and each above it, as paths.
std::vector<std::string> FoldersUp(const std::string& folder) {
  const std::string standing = StandingFolder(folder);
  std::string real;
  if (ResolvePath(standing, real) != 0) real = standing;
  std::vector<std::string> up{real};
  while (!up.back().empty() && Above(up.back()) != up.back()) up.push_back(Above(up.back()));
  up.pop_back();  // "" or the root: no capture folder
  return up;
}

std::optional<FileIdentity> FolderIdentity(const std::string& path) {
  PathInfo info;
  if (InspectPath(path, info) != 0 || info.kind != PathKind::kFolder) return std::nullopt;
  return info.identity;
}

std::optional<std::string> MarkAt(const std::string& path) {
  std::string head;
  if (ReadFileHead(path, kMarkedHead, head) != 0) return std::nullopt;
  return MarkOf(head);
}

// Whether `head`, the start of a file, is that of the page `own`.
bool IsOwnHead(std::string_view head, const OwnPage& own) {
  if (!own.older_start.empty() && head.starts_with(own.older_start)) return true;
  const std::optional<std::string> mark = MarkOf(head);
  if (!mark) return false;
  const std::string key = FileNameKey(*mark);
  return key == FileNameKey(own.mark) || (!own.unnamed_mark.empty() && key == FileNameKey(own.unnamed_mark));
}

// The start of a page, as far as it tells whose it is.
int ReadHead(const std::string& path, const OwnPage& own, std::string& head) {
  return ReadFileHead(path, std::max(kMarkedHead, own.older_start.size()), head);
}

}  // namespace

std::string OutputRefusal(const std::string& output, const std::vector<KeptFile>& kept) {
  PathInfo info;
  if (InspectPath(output, info) != 0) return {};
  switch (info.kind) {
    case PathKind::kFolder:
      return "it is a folder";
    case PathKind::kOther:
      return "it is not a regular file";
    case PathKind::kDanglingLink:
      return "it is a symbolic link that leads nowhere";
    case PathKind::kMissing:
    case PathKind::kRegularFile:
      break;
  }
  const Named named = NameOf(output);
  for (const KeptFile& file : kept) {
    if (file.path == output || SameNamed(named, NameOf(file.path))) return "it is " + file.what + " " + file.path;
  }
  return {};
}

std::vector<KeptFile> KeptFiles(const std::vector<CaptureListing>& listings, const std::string* limits_file) {
  std::vector<KeptFile> kept;
  for (const CaptureListing& listing : listings) {
    for (const CaptureSource& capture : CaptureSources(listing)) kept.push_back({capture.path, "the capture file"});
  }
  if (limits_file) kept.push_back({*limits_file, "the limits file"});
  return kept;
}

std::string OverviewRefusal(const std::string& page) {
  const std::optional<std::string> mark = MarkAt(page);
  if (mark && *mark != OverviewMark()) return "it is a " + *mark;
  return {};
}

std::string PagesFolderRefusal(const std::string& folder, const std::vector<std::string>& capture_folders,
                               const std::string& page) {
  PathInfo info;
  if (InspectPath(folder, info) == 0 && info.link) return "it is a symbolic link";
  std::vector<std::optional<FileIdentity>> captures;
  for (const std::string& capture : capture_folders) captures.push_back(FolderIdentity(capture));
  const std::optional<FileIdentity> own = FolderIdentity(folder);
  for (const std::string& up : FoldersUp(folder)) {
    const std::optional<FileIdentity> at = FolderIdentity(up);
    for (std::size_t i = 0; at && i < captures.size(); ++i) {
      if (at != captures[i]) continue;
      return (at == own ? "it is the capture folder " : "it lies in the capture folder ") + capture_folders[i];
    }
  }
  if (own) {
    for (const std::string& up : FoldersUp(FolderOf(page))) {
      if (FolderIdentity(up) == own) return "the page " + page + " lies in it";
    }
  }
  return {};
}

std::string PagesPlaceRefusal(const std::string& output, const std::string& folder) {
  std::string pages;
  std::string at;
  if (PlaceOfPath(folder, pages) != 0 || PlaceOfPath(FolderOf(output), at) != 0) return {};
  // Both with one separator at the end, as the places of folders.
  for (std::string* place : {&pages, &at}) {
    while (!place->empty() && std::string_view(kPathSeparators).find(place->back()) != std::string_view::npos) {
      place->pop_back();
    }
    *place += kPathSeparator;
  }
  if (!at.starts_with(pages)) return {};
  return "it lies in the pages' folder " + folder;
}

std::string OwnPageRefusal(const std::string& path, const OwnPage& own) {
  PathInfo info;
  if (InspectPath(path, info) != 0) return {};
  if (info.link) return "it is a symbolic link";
  switch (info.kind) {
    case PathKind::kMissing:
      return {};
    case PathKind::kFolder:
      return "it is a folder";
    case PathKind::kRegularFile: {
      std::string head;
      if (const int error = ReadHead(path, own, head); error != 0) return "it cannot be read: " + ErrorText(error);
      // An empty file holds nothing to lose: a page emptied since is written again.
      return head.empty() || IsOwnHead(head, own) ? std::string() : "it is not a page of this report";
    }
    case PathKind::kOther:
    case PathKind::kDanglingLink:
      break;
  }
  return "it is not a regular file";
}

bool IsOwnPage(const std::string& path, const OwnPage& own) {
  std::string head;
  return ReadHead(path, own, head) == 0 && IsOwnHead(head, own);
}

}  // namespace hkcsv
