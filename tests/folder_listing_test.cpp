// The POSIX folder listing when reading the folder fails part of the way
// through: the error is returned and no entry is, so a run never takes a
// partial listing for the whole folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/listing_posix.h"

using namespace hkcsv;

namespace fs = std::filesystem;

namespace {

TEST(ListFolder, AReadingThatFailsAtAnyEntryListsNothing) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("listing_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "d.txt");
  for (const char* name : {"a.txt", "b.txt", "c"}) std::ofstream(folder / name).put('x');
  const std::string path = folder.string() + "/";

  // readdir gives ".", "..", the four entries, then the end: seven reads.
  constexpr int kReads = 7;
  for (int failing = 1; failing <= kReads + 1; ++failing) {
    int reads = 0;
    const ReadFolderEntry read = [&](DIR* listing, const dirent*& entry) {
      if (++reads == failing) return EIO;
      return ReadNextEntry(listing, entry);
    };
    std::vector<FolderEntry> entries{{"left from before", false}};
    const int error = ListFolderWith(path, read, entries);
    if (failing <= kReads) {
      EXPECT_EQ(error, EIO) << failing;
      EXPECT_TRUE(entries.empty()) << failing;
    } else {  // no read fails
      EXPECT_EQ(error, 0);
      std::vector<std::string> names;
      for (const FolderEntry& entry : entries) names.push_back(entry.name + (entry.is_folder ? "/" : ""));
      std::sort(names.begin(), names.end());
      EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt", "c", "d.txt/"}));
    }
  }
  fs::remove_all(folder);
}

}  // namespace
