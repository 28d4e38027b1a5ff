// hkreport's pass pages through the real executable: the frame account of a
// capture worked out by hand, links that resolve whatever the capture names
// hold, and pages that follow the captures from one run to the next.
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e_support.h"

namespace fs = std::filesystem;

namespace {

class PassPages : public EndToEnd {
 protected:
  RunResult Run(std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), {"--root", root});
    return RunWithArguments(HKREPORT_EXE, arguments);
  }
  const std::string pages = root + "/HK_Report_files";
};

// A frame that is all zeros but its satellite time counter (half seconds) and
// its last byte.
std::string Frame(int counter, int last_byte = 0) {
  char bytes[16];
  std::snprintf(bytes, sizeof bytes, "%02X %02X ", counter >> 8, counter & 0xFF);
  std::string frame = std::string("00 00 ") + bytes;
  for (int i = 4; i < 77; ++i) frame += "00 ";
  std::snprintf(bytes, sizeof bytes, "%02X", last_byte);
  return frame + bytes;
}

std::string Packet(const std::string& frame) { return std::string(kMarker) + " 30 30 31 1 2 " + frame + " 7E\n"; }

TEST_F(PassPages, FrameAccountOfEveryFrame) {
  // One frame a packet, at 100, 110, 120 s, then after a gap at 150 s (a
  // rise of three usual steps: two frames missing), 160 s, the 160 s frame
  // again, a frame at 160 s with another last byte, then after a restart
  // 20 and 30 s. A token that is no hex number, and a last packet cut short
  // after five bytes of its frame.
  std::string capture = PassHeader("1");
  for (int counter : {200, 220, 240}) capture += Packet(Frame(counter));
  capture += "zz\n";
  for (const std::string& frame : {Frame(300), Frame(320), Frame(320), Frame(320, 1), Frame(40), Frame(60)}) {
    capture += Packet(frame);
  }
  capture += std::string(kMarker) + " 30 30 31 1 2 00 00 00 50 00\n";
  WriteFile(fm + "account.txt", capture);
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 0) << result.errors;
  const std::string html = ReadFile(pages + "/FM/account.html");
  // Each complete packet is 97 tokens: marker 13, three skipped values,
  // packet and uplink numbers, 78 frame bytes and the tail; the cut one 23.
  const std::string account =
      "<table class=\"account\">\n<tbody>\n"
      "<tr><th>Tokens after the header</th><td>897</td></tr>\n"
      "<tr><th>Tokens skipped (not hexadecimal)</th><td>1</td></tr>\n"
      "<tr><th>Markers found</th><td>10</td></tr>\n"
      "<tr><th>Packets complete</th><td>9</td></tr>\n"
      "<tr><th>Packets cut short</th><td>1</td></tr>\n"
      "<tr><th>Packets announced</th><td>12</td></tr>\n"
      "<tr><th>Frames per packet</th><td>1</td></tr>\n"
      "<tr><th>Frames decoded</th><td>9</td></tr>\n"
      "<tr><th>Frames expected (announced x per packet)</th><td>12</td></tr>\n"
      // Satellite time to its half second; no span across a restart.
      "<tr><th>First SatTime [s]</th><td>100.0</td></tr>\n"
      "<tr><th>Last SatTime [s]</th><td>30.0</td></tr>\n"
      "<tr><th>Span [s]</th><td>the clock restarted within the pass</td></tr>\n"
      // 8 steps between 9 frames: rises of 10, 10, 30, 10 and 10 s, the fall
      // from 160 to 20 s, and two steps that stay at 160 s.
      "<tr><th>Rises of SatTime</th><td>5</td></tr>\n"
      "<tr><th>Falls of SatTime (restarts within the pass)</th><td>1</td></tr>\n"
      "<tr><th>Restarts, within and since the previous pass</th><td>1</td></tr>\n"
      "<tr><th>Steps to the same SatTime</th><td>2</td></tr>\n"
      "<tr><th>Usual step (median rise) [s]</th><td>10.000000</td></tr>\n"
      "<tr><th>Gaps (rises over 1.5 usual steps)</th><td>1</td></tr>\n"
      "<tr><th>Frames missing in the gaps (est.)</th><td>2</td></tr>\n"
      "<tr><th>Repeated frames</th><td>1</td></tr>\n"
      "<tr><th>Frames at an earlier frame's SatTime with other bytes</th><td>1</td></tr>\n"
      "</tbody>\n</table>\n";
  EXPECT_NE(html.find(account), std::string::npos) << html.substr(html.find("<table class=\"account\">"), 1500);
  // The alarm first, then the notices.
  EXPECT_NE(html.find("<p class=\"problem alarm\"><span class=\"alarm\">1 restart</span>, "
                      "<span class=\"notice\">2 packets missing</span>, <span class=\"notice\">cut short</span>, "
                      "<span class=\"notice\">2 frames missing (est.)</span>, "
                      "<span class=\"notice\">1 token skipped</span></p>"),
            std::string::npos);
  // The frame table marks the repeat; the ground time stands still at the restart.
  EXPECT_NE(html.find("<tr class=\"repeated\"><td>6 repeated</td><td>2019-01-10 09:16:30</td><td>160.0</td>"),
            std::string::npos);
  EXPECT_NE(html.find("<tr><td>8</td><td>2019-01-10 09:16:30</td><td>20.0</td>"), std::string::npos);
}

TEST_F(PassPages, FrameTableHoldsAtMost5000Frames) {
  std::string capture = PassHeader("5001");
  capture += std::string(kMarker) + " 30 30 31 1 2";
  for (int i = 0; i < 5001; ++i) capture.append(" ").append(Frame(2 * i));
  WriteFile(fm + "long.txt", capture + " 7E\n");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  const std::string html = ReadFile(pages + "/FM/long.html");
  EXPECT_NE(html.find("<tr><td>5000</td><td>2019-01-10 10:38:49</td><td>4999.0</td>"), std::string::npos);
  EXPECT_EQ(html.find("<tr><td>5001</td>"), std::string::npos);
  EXPECT_NE(html.find("<p>1 more frame is left out of this table; the data CSV, FM_Analyised_Data.csv, holds them "
                      "all.</p>"),
            std::string::npos);
}

TEST_F(PassPages, AnyNameTheFileSystemHoldsGetsItsPage) {
  // 250 bytes and ".txt": its page's name takes 255 bytes, the most a name may.
  const std::string name(250, 'p');
  for (const std::string& capture : {std::string("a"), name}) {
    WriteFile(fm + capture + ".txt", PassHeader("1") + Packet(Frame(200)));
  }
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 0) << result.errors;
  EXPECT_NE(ReadFile(pages + "/FM/" + name + ".html").find("<h1>" + name + ".txt</h1>"), std::string::npos);
  EXPECT_NE(ReadFile(pages + "/FM/a.html").find("Next: <a href=\"" + name + ".html\">"), std::string::npos);
  EXPECT_NE(ReadFile(root + "/HK_Report.html").find("<a href=\"HK_Report_files/FM/" + name + ".html\">"),
            std::string::npos);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(pages + "/FM")) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names.size(), 2u);  // no temporary file left
}

TEST_F(PassPages, AFrameCountCarriedOverNamesTheCaptureThatGaveIt) {
  // b's header gives no number of frames per packet: its packets are read
  // with a's 1, as hkcsv reads them.
  WriteFile(fm + "a.txt", PassHeader("1") + Packet(Frame(200)));
  WriteFile(fm + "b.txt", PassHeader("none") + Packet(Frame(200)));
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  EXPECT_NE(ReadFile(pages + "/FM/a.html").find("<tr><th>Frames per packet</th><td>1</td></tr>"), std::string::npos);
  EXPECT_NE(ReadFile(pages + "/FM/b.html")
                .find("<tr><th>Frames per packet</th><td>1 (from a.txt; this header gives none)</td></tr>"),
            std::string::npos);
}

std::string PercentDecoded(const std::string& link) {
  std::string bytes;
  for (std::size_t i = 0; i < link.size(); ++i) {
    if (link[i] == '%' && i + 2 < link.size()) {
      bytes += static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      bytes += link[i];
    }
  }
  return bytes;
}

// Every value of `attribute="..."` in the page.
std::vector<std::string> AttributeValues(const std::string& html, const std::string& attribute) {
  std::vector<std::string> values;
  const std::string start = " " + attribute + "=\"";
  for (std::size_t at = html.find(start); at != std::string::npos; at = html.find(start, at + 1)) {
    const std::size_t value = at + start.size();
    values.push_back(html.substr(value, html.find('"', value) - value));
  }
  return values;
}

TEST_F(PassPages, EveryLinkLeadsToAFileOrAnAnchorThatIsThere) {
  const std::string frames = Packet(Frame(200)) + Packet(Frame(220));
  for (const std::string name : {"a b#%&\xE8\xA7\xA3.txt", "x\xFF.TXT", "plain.txt", "z.txt"}) {
    WriteFile(fm + name, PassHeader("1") + frames);
  }
  WriteFile(fsk + "f.txt", PassHeader("1") + frames);
  ASSERT_EQ(Run().status, 0);
  std::vector<fs::path> written{root + "/HK_Report.html"};
  for (const auto& entry : fs::recursive_directory_iterator(pages)) {
    if (entry.is_regular_file()) written.push_back(entry.path());
  }
  EXPECT_EQ(written.size(), 6u);  // the overview and five pass pages
  std::size_t links = 0;
  for (const fs::path& page : written) {
    const std::string html = ReadFile(page.string());
    for (const std::string& href : AttributeValues(html, "href")) {
      ++links;
      const std::size_t hash = href.find('#');
      const fs::path target = hash == 0 ? page : page.parent_path() / PercentDecoded(href.substr(0, hash));
      ASSERT_TRUE(fs::is_regular_file(target)) << page << " links to " << href;
      if (hash == std::string::npos) continue;
      const std::string anchor = " id=\"" + href.substr(hash + 1) + "\"";
      EXPECT_NE(ReadFile(target.string()).find(anchor), std::string::npos) << page << " links to " << href;
    }
  }
  EXPECT_GT(links, 40u);
}

std::map<std::string, std::string> PagesOf(const std::string& folder) {
  std::map<std::string, std::string> bytes;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes[fs::relative(entry.path(), folder).string()] = ReadFile(entry.path().string());
  }
  return bytes;
}

TEST_F(PassPages, FollowTheCapturesFromOneRunToTheNext) {
  const std::string frames = Packet(Frame(200)) + Packet(Frame(220));
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFile(fm + name, PassHeader("1") + frames);
  WriteFile(fsk + "f.txt", PassHeader("1") + frames);
  ASSERT_EQ(Run().status, 0);
  const std::map<std::string, std::string> first = PagesOf(root + "/HK_Report_files");
  const std::string overview = ReadFile(root + "/HK_Report.html");
  // A page of someone else's, or a link, where a pass page goes: refused
  // before anything is written, and the file the link leads to stays as it was.
  WriteFile(root + "/elsewhere.html", "kept");
  fs::remove(pages + "/FM/c.html");
  fs::create_symlink(root + "/elsewhere.html", pages + "/FM/c.html");
  WriteFile(pages + "/FM/a.html", "notes of the operator");
  fs::remove(root + "/HK_Report.html");
  for (const auto& [name, reason] :
       {std::pair{"a.html", "it is not a page of this report"}, std::pair{"c.html", "it is a symbolic link"}}) {
    const RunResult refused = Run();
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errors, "hkreport: refusing to write " + pages + "/FM/" + name + ": " + reason + "\n");
    EXPECT_FALSE(fs::exists(root + "/HK_Report.html"));
    WriteFile(pages + "/FM/a.html", "");  // emptied: nothing to lose
  }
  EXPECT_EQ(ReadFile(root + "/elsewhere.html"), "kept");
  // An emptied page, and a page of this report that was changed, are written again.
  fs::remove(pages + "/FM/c.html");
  WriteFile(pages + "/FM/b.html", first.at("FM/b.html").substr(0, 2000) + "changed");
  ASSERT_EQ(Run().status, 0);
  EXPECT_EQ(PagesOf(root + "/HK_Report_files"), first);  // the same captures give the same bytes
  EXPECT_EQ(ReadFile(root + "/HK_Report.html"), overview);

  // b.txt goes: its page goes with it, and nothing but stale pages of this
  // report is touched: not a page of another report's, nor a file of
  // someone else's.
  fs::remove(fm + "b.txt");
  WriteFile(pages + "/FM/notes.txt", "kept");
  fs::create_directory(pages + "/FM/old.html");
  WriteFile(pages + "/FM/other.html", first.at("FM/b.html"));
  const std::string other = pages + "/FM/other.html";
  WriteFile(other, ReadFile(other).replace(ReadFile(other).find("pass page of HK_Report.html"), 27,
                                           "pass page of Other.html"));
  WriteFile(pages + "/FM/mine.html", "kept");
  // A run of FM alone leaves the FSK pages as they are, even a stale one.
  WriteFile(pages + "/FSK/gone.html", "kept");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  std::set<std::string> names;
  for (const auto& [name, bytes] : PagesOf(pages)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"FM/a.html", "FM/c.html", "FM/mine.html", "FM/notes.txt", "FM/other.html",
                                          "FSK/f.html", "FSK/gone.html"}));
  EXPECT_TRUE(fs::is_directory(pages + "/FM/old.html"));
}

}  // namespace
