// The names of the pass pages, their folder and the links between them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/pages/page_names.h"

using namespace hkcsv;

namespace {

TEST(PageNames, EndingReplacedCollisionsNumberedLinksEncoded) {
  EXPECT_EQ(PassPageNames({"A.txt", "a.TXT", "a~2.txt", "b.Txt", "pass 1.txt"}),
            (std::vector<std::string>{"A.html", "a~2.html", "a~2~2.html", "b.html", "pass 1.html"}));
  EXPECT_EQ(PercentEncode("FM/a b#%&\xE8\xA7\xA3~x-y_z.html"), "FM/a%20b%23%25%26%E8%A7%A3~x-y_z.html");
  EXPECT_EQ(PagesFolderName("HK_Report.html"), "HK_Report_files");
  EXPECT_EQ(PagesFolderName("report"), "report_files");
  // Only ".html" is dropped: overviews that differ in their ending get folders of their own.
  EXPECT_EQ(PagesFolderName("a.b.htm"), "a.b.htm_files");
  EXPECT_EQ(PagesFolderName("report.HTML"), "report.HTML_files");
  EXPECT_EQ(PagesFolderName(".html"), ".html_files");
  // A year as the dates write it, four digits at least.
  EXPECT_EQ(YearPageName(DownlinkFormat::kFM, 2019) + YearPageName(DownlinkFormat::kFSK, 1) +
                YearPageName(DownlinkFormat::kFM, std::nullopt),
            "FM-2019.htmlFSK-0001.htmlFM-undated.html");
  EXPECT_EQ(YearLabel(1) + "," + YearLabel(std::nullopt), "0001,no date");
}

}  // namespace
