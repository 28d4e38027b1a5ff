// The POSIX folder listing with its reading step apart, so that a test can
// make the reading fail half-way. Only files_posix.cpp and that test use it.
#pragma once

#include <dirent.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace hkcsv {

// Reads the next entry of `listing` into `entry`, null at the end.
using ReadFolderEntry = std::function<int(DIR* listing, const dirent*& entry)>;

// The reading step of ListFolder: readdir, with its error returned.
int ReadNextEntry(DIR* listing, const dirent*& entry);

// ListFolder with `read` as its reading step.
int ListFolderWith(const std::string& folder, const ReadFolderEntry& read, std::vector<FolderEntry>& entries);

}  // namespace hkcsv
