// A file put in place through a temporary file: a failure names its file and leaves nothing behind.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "report/output/staged_file.h"
#include "tests/e2e_support.h"

using namespace hkcsv;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PageFile, AFailedWriteNamesTheFileMeantAndLeavesNoTemporaryFile) {
#ifdef _WIN32
  GTEST_SKIP() << "no limit on a file's size to make a write fail: setrlimit is POSIX";
#else
  const fs::path folder = OwnFolder("page_file_too_big");
  const std::string dir = folder.string() + "/";
  std::ofstream(dir + "page.html") << "old page";
  // A file larger than the limit fails its write with EFBIG instead of
  // ending the process.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  rlimit small = limit;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const Failure too_big = WriteStagedFile(dir + "page.html", std::string(200000, 'x'));
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_EQ(too_big.error, EFBIG);
  EXPECT_EQ(too_big.path, dir + "page.html");  // the file meant, not its temporary file
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"page.html", "sub"}));
  fs::remove_all(folder);
#endif
}

TEST(PageFile, AFailureNamesTheFileThatFailedAndLeavesNoTemporaryFile) {
  const fs::path folder = OwnFolder("page_file");
  const std::string dir = folder.string() + "/";
  std::ofstream(dir + "page.html") << "old page";

  struct Case {
    std::string path;
    std::string failed;
    int error;
  };
  const Case cases[] = {
      {dir + "none/page.html", dir + "none/page.html", ENOENT},  // the folder is missing
      {dir + "sub", dir + "sub", EISDIR},                        // a file cannot replace a folder
      {dir + "page.html", "", 0},
  };
  for (const Case& c : cases) {
    const Failure failure = WriteStagedFile(c.path, "new page");
    EXPECT_EQ(failure.path, c.failed) << c.path;
    EXPECT_EQ(failure.error, c.error) << c.path;
  }
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"page.html", "sub"}));
  EXPECT_EQ(Names(folder / "sub"), std::vector<std::string>{});
  EXPECT_EQ(ReadFile(dir + "page.html"), "new page");  // read and closed: Windows removes no open file
  fs::remove_all(folder);
}

}  // namespace
