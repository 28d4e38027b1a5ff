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
      "<tr><th>First SatTime [s]</th><td>100.000000</td></tr>\n"
      "<tr><th>Last SatTime [s]</th><td>30.000000</td></tr>\n"
      "<tr><th>Span [s]</th><td>-70.000000</td></tr>\n"
      // 8 steps between 9 frames: rises of 10, 10, 30, 10 and 10 s, the fall
      // from 160 to 20 s, and two steps that stay at 160 s.
      "<tr><th>Rises of SatTime</th><td>5</td></tr>\n"
      "<tr><th>Falls of SatTime (restarts)</th><td>1</td></tr>\n"
      "<tr><th>Steps to the same SatTime</th><td>2</td></tr>\n"
      "<tr><th>Usual step (median rise) [s]</th><td>10.000000</td></tr>\n"
      "<tr><th>Gaps (rises over 1.5 usual steps)</th><td>1</td></tr>\n"
      "<tr><th>Frames missing in the gaps (est.)</th><td>2</td></tr>\n"
      "<tr><th>Repeated frames</th><td>1</td></tr>\n"
      "<tr><th>Frames at an earlier frame's SatTime with other bytes</th><td>1</td></tr>\n"
      "</tbody>\n</table>\n";
  EXPECT_NE(html.find(account), std::string::npos) << html.substr(html.find("<table class=\"account\">"), 1500);
  EXPECT_NE(html.find("<p class=\"problem\">2 packets missing, cut short, 2 frames missing (est.), 1 token skipped, "
                      "1 restart</p>"),
            std::string::npos);
  // The frame table marks the repeat; the ground time stands still at the restart.
  EXPECT_NE(html.find("<tr class=\"repeated\"><td>6 repeated</td><td>2019-01-10 09:16:30</td><td>160.000000</td>"),
            std::string::npos);
  EXPECT_NE(html.find("<tr><td>8</td><td>2019-01-10 09:16:30</td><td>20.000000</td>"), std::string::npos);
}

TEST_F(PassPages, FrameTableHoldsAtMost5000Frames) {
  std::string capture = PassHeader("5001");
  capture += std::string(kMarker) + " 30 30 31 1 2";
  for (int i = 0; i < 5001; ++i) capture.append(" ").append(Frame(2 * i));
  WriteFile(fm + "long.txt", capture + " 7E\n");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  const std::string html = ReadFile(pages + "/FM/long.html");
  EXPECT_NE(html.find("<tr><td>5000</td><td>2019-01-10 10:38:49</td><td>4999.000000</td>"), std::string::npos);
  EXPECT_EQ(html.find("<tr><td>5001</td>"), std::string::npos);
  EXPECT_NE(html.find("<p>1 more frame is left out of this table; the data CSV, FM_Analyised_Data.csv, holds them "
                      "all.</p>"),
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
  // A page spoilt since is written again; a page that is a link is replaced,
  // and the file it led to stays as it was.
  WriteFile(pages + "/FM/a.html", "spoilt");
  WriteFile(root + "/elsewhere.html", "kept");
  fs::remove(pages + "/FM/c.html");
  fs::create_symlink(root + "/elsewhere.html", pages + "/FM/c.html");
  ASSERT_EQ(Run().status, 0);
  EXPECT_EQ(PagesOf(root + "/HK_Report_files"), first);  // the same captures give the same bytes
  EXPECT_FALSE(fs::is_symlink(pages + "/FM/c.html"));
  EXPECT_EQ(ReadFile(root + "/elsewhere.html"), "kept");

  // b.txt goes: its page goes with it, and nothing but stale pages is touched.
  fs::remove(fm + "b.txt");
  WriteFile(pages + "/FM/notes.txt", "kept");
  fs::create_directory(pages + "/FM/old.html");
  // A run of FM alone leaves the FSK pages as they are, even a stale one.
  WriteFile(pages + "/FSK/gone.html", "kept");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  std::set<std::string> names;
  for (const auto& [name, bytes] : PagesOf(pages)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"FM/a.html", "FM/c.html", "FM/notes.txt", "FSK/f.html", "FSK/gone.html"}));
  EXPECT_TRUE(fs::is_directory(pages + "/FM/old.html"));
}

}  // namespace
