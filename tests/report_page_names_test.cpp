// The names of the pass pages, their folder and the links between them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/pages/page_head.h"
#include "report/pages/page_names.h"

using namespace hkcsv;

namespace {

TEST(PageNames, EndingReplacedCollisionsNumberedLinksEncoded) {
  EXPECT_EQ(
      PassPageNames({"A.txt", "a.TXT", "a~2.txt", "b.Txt", "pass 1.txt", "Ab.txt", "aB.txt"}),
      (std::vector<std::string>{"A.html", "a~2.html", "a~2~2.html", "b.html", "pass 1.html", "Ab.html", "aB~2.html"}));
  EXPECT_EQ(PercentEncode("FM/a b#%&\xE8\xA7\xA3~x-y_z.html"), "FM/a%20b%23%25%26%E8%A7%A3~x-y_z.html");
  EXPECT_EQ(PagesFolderName("HK_Report.html"), "HK_Report_files");
  EXPECT_EQ(PagesFolderName("report"), "report_files");
  // Only ".html" is dropped: overviews that differ in their ending get folders of their own.
  EXPECT_EQ(PagesFolderName("a.b.htm"), "a.b.htm_files");
#ifdef _WIN32
  // The same file as "report.html" there: the same folder.
  EXPECT_EQ(PagesFolderName("report.HTML"), "report_files");
#else
  EXPECT_EQ(PagesFolderName("report.HTML"), "report.HTML_files");
#endif
  EXPECT_EQ(PagesFolderName(".html"), ".html_files");
  // A year as the dates write it, four digits at least.
  EXPECT_EQ(YearPageName(DownlinkFormat::kFM, 2019) + YearPageName(DownlinkFormat::kFSK, 1) +
                YearPageName(DownlinkFormat::kFM, std::nullopt),
            "FM-2019.htmlFSK-0001.htmlFM-undated.html");
  EXPECT_EQ(YearLabel(1) + "," + YearLabel(std::nullopt), "0001,no date");
}

// A page name that would pass the 255 bytes of a file name is cut where a
// character ends, with "~" and eight hex digits of a digest of the name:
// unique, and the same from run to run.
TEST(PageNames, ANameTooLongForAFileIsCutAndKeptUnique) {
  const std::string fits(250, 'p');  // with ".html", 255 bytes: as it is
  const std::string long_name(251, 'q');
  std::string wide = "ab";  // then 125 three-byte characters: the cut falls inside one
  for (int i = 0; i < 125; ++i) wide += "\xE8\xA7\xA3";
  const std::vector<std::string> names = PassPageNames(
      {fits + ".txt", long_name + ".txt", long_name + ".TXT", std::string(251, 'q') + "r.txt", wide + ".txt"});
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0], fits + ".html");
  // 255 bytes less "~", eight digits and ".html": 241 bytes of the name.
  const auto shape = [](const std::string& name, std::size_t kept, const std::string& end) {
    return name.size() <= 255 && name.ends_with(end) && name.size() == kept + 9 + end.size() &&
           name.substr(kept, 1) == "~" &&
           name.substr(kept + 1, 8).find_first_not_of("0123456789ABCDEF") == std::string::npos;
  };
  EXPECT_TRUE(shape(names[1], 241, ".html")) << names[1];
  EXPECT_EQ(names[1].substr(0, 241), long_name.substr(0, 241));
  // The same name in other letter case: numbered after the digest, in 255 bytes.
  EXPECT_EQ(names[2], names[1].substr(0, 239) + names[1].substr(241, 9) + "~2.html");
  // A name that differs only past the cut: another digest.
  EXPECT_TRUE(shape(names[3], 241, ".html"));
  EXPECT_NE(names[3], names[1]);
#ifndef _WIN32
  // "ab" and 79 characters of UTF-8 are 239 bytes: the 80th would be cut in
  // two. (On Windows names are of the ANSI code page, cut as it reads them.)
  EXPECT_TRUE(shape(names[4], 239, ".html")) << names[4].size();
  EXPECT_EQ(names[4].substr(0, 239), wide.substr(0, 239));
#endif
  EXPECT_EQ(PassPageNames({long_name + ".txt"}), std::vector<std::string>{names[1]});  // stable
}

// A page's mark names the page and its overview, whatever their names hold.
TEST(PageNames, APageMarkReadsBackWhole) {
  for (const std::string overview : {"HK_Report.html", "HK (1).html", "a)\"b.html"}) {
    std::string html;
    AppendPageHead(html, "t", PageMark(PageKind::kPass, "p (2).html", overview));
    std::string escaped;
    for (const char c : overview) escaped += c == '"' ? std::string("&quot;") : std::string(1, c);
    EXPECT_EQ(MarkOf(html), "pass page p (2).html of " + escaped);
  }
}

}  // namespace
