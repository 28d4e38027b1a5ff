// What hkreport refuses to write over, on real files in a folder of the test's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "report/output/output_check.h"
#include "report/output/pass_pages.h"
#include "report/pages/page_head.h"
#include "tests/e2e_support.h"

using namespace hkcsv;

namespace fs = std::filesystem;

namespace {

// Whether file names ignore letter case, as Windows' do.
#ifdef _WIN32
constexpr bool kLetterCaseIgnored = true;
#else
constexpr bool kLetterCaseIgnored = false;
#endif

TEST(OutputRefusal, RefusesAKeptFileUnderAnyNameAndOnlyThat) {
  const fs::path folder = OwnFolder("refusal");
  const std::string dir = folder.string() + "/";
  std::ofstream(dir + "a.txt") << "capture";
  std::ofstream(dir + "other.html") << "old page";
  fs::create_hard_link(dir + "a.txt", dir + "hard.html");
  const std::vector<KeptFile> kept{{dir + "a.txt", "the capture file"}, {dir + "page.html", "the page"}};
  const std::string is_capture = "it is the capture file " + dir + "a.txt";
  const std::string is_page = "it is the page " + dir + "page.html";
  const std::pair<std::string, std::string> cases[] = {
      {dir + "a.txt", is_capture},
      {dir + "sub/../a.txt", is_capture},
      {dir + "hard.html", is_capture},
      {dir + "page.html", "it is the page " + dir + "page.html"},  // not there yet: by its place
      {dir + "none/../page.html", "it is the page " + dir + "page.html"},
      {dir + "A.TXT", kLetterCaseIgnored ? is_capture : ""},
      {dir + "Page.HTML", kLetterCaseIgnored ? is_page : ""},
      {dir + "other.html", ""},
      {dir + "new.html", ""},
      {dir + "sub", "it is a folder"},
      {dir + "none/page.html", ""},  // left to the write, which names its reason
  };
  for (const auto& [output, why] : cases) EXPECT_EQ(OutputRefusal(output, kept), why) << output;
  fs::remove_all(folder);
}

TEST(OutputRefusal, RefusesAKeptFileThroughSymbolicLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "no symbolic links to make: MinGW's std::filesystem has none";
#endif
  const fs::path folder = OwnFolder("refusal_links");
  const std::string dir = folder.string() + "/";
  std::ofstream(dir + "a.txt") << "capture";
  fs::create_symlink(dir + "a.txt", dir + "link.html");
  fs::create_directory_symlink(".", dir + "here");
  const std::vector<KeptFile> kept{{dir + "a.txt", "the capture file"}, {dir + "page.html", "the page"}};
  const std::pair<std::string, std::string> cases[] = {
      {dir + "link.html", "it is the capture file " + dir + "a.txt"},
      {dir + "here/./page.html", "it is the page " + dir + "page.html"},
      {dir + "here/none/../../" + folder.filename().string() + "/page.html", "it is the page " + dir + "page.html"},
  };
  for (const auto& [output, why] : cases) EXPECT_EQ(OutputRefusal(output, kept), why) << output;
  fs::remove_all(folder);
}

// The stale pages of a format go; a page whose capture is still listed stays,
// its name compared as the file system compares names: on Windows a capture
// renamed in letter case ("a.txt" to "A.txt") keeps the page it had.
TEST(StalePages, GoWhileThePagesOfListedCapturesStay) {
  const fs::path folder = OwnFolder("stale");
  const PageLayout place = LayOutPages(folder.string() + "/o.html");
  fs::create_directories(FormatFolder(place, DownlinkFormat::kFM));
  for (const std::string name : {"a.html", "b.html"}) {
    std::string page;
    AppendPageHead(page, "t", PageMark(PageKind::kPass, name, "o.html"));
    std::ofstream(PassPagePath(place, DownlinkFormat::kFM, name)) << page;
  }
  RemoveStalePages(place, DownlinkFormat::kFM, {"A.html"});
  EXPECT_EQ(fs::exists(PassPagePath(place, DownlinkFormat::kFM, "a.html")), kLetterCaseIgnored);
  EXPECT_FALSE(fs::exists(PassPagePath(place, DownlinkFormat::kFM, "b.html")));
  fs::remove_all(folder);
}

}  // namespace
