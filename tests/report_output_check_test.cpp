// What hkreport refuses to write over, on real files in a folder of the test's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "report/output/output_check.h"
#include "tests/e2e_support.h"

using namespace hkcsv;

namespace fs = std::filesystem;

namespace {

TEST(OutputRefusal, RefusesAKeptFileUnderAnyNameAndOnlyThat) {
  const fs::path folder = OwnFolder("refusal");
  const std::string dir = folder.string() + "/";
  std::ofstream(dir + "a.txt") << "capture";
  std::ofstream(dir + "other.html") << "old page";
  fs::create_hard_link(dir + "a.txt", dir + "hard.html");
  fs::create_symlink(dir + "a.txt", dir + "link.html");
  fs::create_directory_symlink(".", dir + "here");
  const std::vector<KeptFile> kept{{dir + "a.txt", "the capture file"}, {dir + "page.html", "the page"}};
  const std::string is_capture = "it is the capture file " + dir + "a.txt";
  const std::pair<std::string, std::string> cases[] = {
      {dir + "a.txt", is_capture},
      {dir + "sub/../a.txt", is_capture},
      {dir + "hard.html", is_capture},
      {dir + "link.html", is_capture},
      {dir + "page.html", "it is the page " + dir + "page.html"},  // not there yet: by its place
      {dir + "none/../page.html", "it is the page " + dir + "page.html"},
      {dir + "here/./page.html", "it is the page " + dir + "page.html"},
      {dir + "here/none/../../" + folder.filename().string() + "/page.html", "it is the page " + dir + "page.html"},
      {dir + "other.html", ""},
      {dir + "new.html", ""},
      {dir + "sub", "it is a folder"},
      {dir + "none/page.html", ""},  // left to the write, which names its reason
  };
  for (const auto& [output, why] : cases) EXPECT_EQ(OutputRefusal(output, kept), why) << output;
  fs::remove_all(folder);
}

}  // namespace
