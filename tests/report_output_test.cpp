// What hkreport may write over, how a file of it is put in place, and when a
// run shows its page and waits: on real files in a folder of the test's own.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/lone_console.h"
#include "report/output/output_check.h"
#include "report/output/staged_file.h"

using namespace hkcsv;

namespace fs = std::filesystem;

namespace {

fs::path OwnFolder(const std::string& name) {
  const fs::path folder = fs::path(::testing::TempDir()) / (name + "_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "sub");
  return folder;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(OutputRefusal, RefusesAKeptFileUnderAnyNameAndOnlyThat) {
  const fs::path folder = OwnFolder("refusal");
  const std::string dir = folder.string() + "/";
  std::ofstream(dir + "a.txt") << "capture";
  std::ofstream(dir + "other.html") << "old page";
  fs::create_hard_link(dir + "a.txt", dir + "hard.html");
  fs::create_symlink(dir + "a.txt", dir + "link.html");
  const std::vector<KeptFile> kept{{dir + "a.txt", "the capture file"}, {dir + "page.html", "the page"}};
  const std::string is_capture = "it is the capture file " + dir + "a.txt";
  const std::pair<std::string, std::string> cases[] = {
      {dir + "a.txt", is_capture},
      {dir + "sub/../a.txt", is_capture},
      {dir + "hard.html", is_capture},
      {dir + "link.html", is_capture},
      {dir + "page.html", "it is the page " + dir + "page.html"},  // not there yet: by its text
      {dir + "other.html", ""},
      {dir + "new.html", ""},
      {dir + "sub", "it is a folder"},
      {dir + "none/page.html", ""},  // left to the write, which names its reason
  };
  for (const auto& [output, why] : cases) EXPECT_EQ(OutputRefusal(output, kept), why) << output;
  fs::remove_all(folder);
}

TEST(PageFile, AFailureNamesTheFileThatFailedAndLeavesNoTemporaryFile) {
  const fs::path folder = OwnFolder("page_file");
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
  EXPECT_EQ(too_big.path.substr(0, too_big.path.size() - 6), dir + "page.html.tmp.");

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
  std::ifstream page(dir + "page.html");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(page), {}), "new page");
  fs::remove_all(folder);
}

TEST(RunEnding, AloneOnItsConsoleItShowsThePageAndWaits) {
  struct Case {
    bool open_requested;
    unsigned console_processes;  // 0: no console, or POSIX
    bool open_page;
    bool wait_for_enter;
  };
  const Case cases[] = {
      {false, 0, false, false}, {true, 0, true, false},   {false, 1, true, true},
      {true, 1, true, true},    {false, 2, false, false}, {true, 3, true, false},
  };
  for (const Case& c : cases) {
    const RunEnding ending = DecideRunEnding(c.open_requested, c.console_processes);
    EXPECT_EQ(ending.open_page, c.open_page) << c.open_requested << " " << c.console_processes;
    EXPECT_EQ(ending.wait_for_enter, c.wait_for_enter) << c.open_requested << " " << c.console_processes;
  }
}

}  // namespace
