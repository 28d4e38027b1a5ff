// The entries of a format folder that the run takes: every name ending in
// ".txt" in any letter case, files and folders alike, in byte order.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

std::vector<FolderEntry> ListCaptureEntries(const std::string& folder);
