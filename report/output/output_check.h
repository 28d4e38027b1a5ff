// What hkreport may write and remove, and what it refuses before anything is
// written: it never writes over a capture file it reads or its limits file,
// nor over anything that is not a regular file (a link to a regular file is
// fine: the file it leads to is replaced); it replaces and removes only the
// pages it wrote, by their mark; its pages' folders are never links nor
// capture folders; and no two of its outputs are one file, however their
// paths are spelt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "capture/capture_listing.h"

namespace hkcsv {

// A file that a run reads or writes, which no other output of it may be.
struct KeptFile {
  std::string path;
  std::string what;  // "the capture file", "the limits file", "the page", "the pass page"
};

// Why `output` may not be written, as "it is the limits file PATH", "it is a
// folder", "it is not a regular file" or "it is a symbolic link that leads
// nowhere"; empty when it may. It may not name one of the kept files, under
// any name (the same file where both exist, else the same name in the same
// real folder). A path that cannot be looked at is left to the write, which
// tells its own reason.
std::string OutputRefusal(const std::string& output, const std::vector<KeptFile>& kept);

// The files a run reads: every capture file of `listings`, and the limits
// file when `limits_file` is given.
std::vector<KeptFile> KeptFiles(const std::vector<CaptureListing>& listings, const std::string* limits_file);

// Why the overview may not be written at `page`: a pass page or a year page
// of hkreport stands there. Empty when it may.
std::string OverviewRefusal(const std::string& page);

// Why pages may not be written in `folder`: it is a symbolic link, or it is
// or lies in one of `capture_folders` (under any name), or `page` lies in
// it. Empty when they may.
std::string PagesFolderRefusal(const std::string& folder, const std::vector<std::string>& capture_folders,
                               const std::string& page);

// What makes the file at a place the page of hkreport's own that goes there:
// the mark it is written with, which names it; the mark of 1.2.0, which
// names no page; or, where given, the start of the same page as 1.1 wrote it,
// without a mark. Marks compare as the file system compares names.
struct OwnPage {
  std::string mark;
  std::string unnamed_mark;
  std::string older_start;
};

// Why `output` may not be written: it lies in the pages' folder `folder` (or
// below it), where only the report's own pages go. Empty when it may.
std::string PagesPlaceRefusal(const std::string& output, const std::string& folder);

// Why the page of hkreport's own at `path` may not be written: something
// stands there that is not that page (a link, a folder, a file of someone
// else's, a copy of another page saved under this name), or it cannot be
// read to tell. Empty when nothing stands there, or an empty file, or that
// page.
std::string OwnPageRefusal(const std::string& path, const OwnPage& own);

// Whether the regular file at `path` is that page.
bool IsOwnPage(const std::string& path, const OwnPage& own);

}  // namespace hkcsv
