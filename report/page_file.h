// TEMPORARY stand-in until the safe page writer lands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace hkcsv {

int WriteWholeFile(const std::string& path, std::string_view bytes, std::string& failed);
int MakeFolder(const std::string& path);
int ListFolder(const std::string& folder, const char* pattern, std::vector<FolderEntry>& entries);

}  // namespace hkcsv
