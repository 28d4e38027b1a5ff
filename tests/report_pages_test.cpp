// hkreport's pass pages through the real executable: the frame account of a
// capture worked out by hand, links that resolve whatever the capture names
// hold, and pages that follow the captures from one run to the next.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
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
  // 250 bytes and ".txt": its page's name takes 255 bytes, the most a name
  // may. 251 bytes and ".txt", the most a capture's name may: its page's name
  // is cut to 241 bytes, "~" and eight hex digits.
  const std::string name(250, 'p');
  const std::string longest(251, 'q');
  for (const std::string& capture : {std::string("a"), name, longest}) {
    WriteFile(fm + capture + ".txt", PassHeader("1") + Packet(Frame(200 + static_cast<int>(capture.size()))));
  }
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 0) << result.errors;
  EXPECT_NE(ReadFile(pages + "/FM/" + name + ".html").find("<h1>" + name + ".txt</h1>"), std::string::npos);
  EXPECT_NE(ReadFile(pages + "/FM/a.html").find("Next: <a href=\"" + name + ".html\">"), std::string::npos);
  EXPECT_NE(ReadFile(root + "/HK_Report.html").find("<a href=\"HK_Report_files/FM/" + name + ".html\">"),
            std::string::npos);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(pages + "/FM")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 3u);  // no temporary file left
  const std::string cut = names[2];
  EXPECT_TRUE(cut.size() == 255 && cut.starts_with(longest.substr(0, 241) + "~") && cut.ends_with(".html")) << cut;
  EXPECT_NE(ReadFile(pages + "/FM/" + cut).find("<h1>" + longest + ".txt</h1>"), std::string::npos);
  EXPECT_NE(ReadFile(pages + "/FM/" + name + ".html").find("Next: <a href=\"" + cut + "\">"), std::string::npos);
  EXPECT_NE(ReadFile(root + "/HK_Report.html").find("<a href=\"HK_Report_files/FM/" + cut + "\">"), std::string::npos);
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

// Every page the run wrote: the overview, then the pages folder's.
std::vector<fs::path> WrittenPages(const std::string& overview, const std::string& pages) {
  std::vector<fs::path> written{overview};
  for (const auto& entry : fs::recursive_directory_iterator(pages)) {
    if (entry.is_regular_file()) written.push_back(entry.path());
  }
  return written;
}

// Checks that each link of the pages leads to a file, and to an anchor there
// when it names one; returns how many links there are.
std::size_t CheckEveryLink(const std::vector<fs::path>& written) {
  std::size_t links = 0;
  for (const fs::path& page : written) {
    const std::string html = ReadFile(page.string());
    for (const std::string& href : AttributeValues(html, "href")) {
      ++links;
      const std::size_t hash = href.find('#');
      const fs::path target = hash == 0 ? page : page.parent_path() / PercentDecoded(href.substr(0, hash));
      EXPECT_TRUE(fs::is_regular_file(target)) << page << " links to " << href;
      if (hash == std::string::npos || !fs::is_regular_file(target)) continue;
      const std::string anchor = " id=\"" + href.substr(hash + 1) + "\"";
      EXPECT_NE(ReadFile(target.string()).find(anchor), std::string::npos) << page << " links to " << href;
    }
  }
  return links;
}

TEST_F(PassPages, EveryLinkLeadsToAFileOrAnAnchorThatIsThere) {
  const std::string frames = Packet(Frame(200)) + Packet(Frame(220));
  for (const std::string name : {"a b#%&\xE8\xA7\xA3.txt", "x\xFF.TXT", "plain.txt", "z.txt"}) {
    WriteFile(fm + name, PassHeader("1") + frames);
  }
  WriteFile(fsk + "f.txt", PassHeader("1") + frames);
  ASSERT_EQ(Run().status, 0);
  const std::vector<fs::path> written = WrittenPages(root + "/HK_Report.html", pages);
  EXPECT_EQ(written.size(), 7u);  // the overview, five pass pages and the station page
  EXPECT_GT(CheckEveryLink(written), 40u);
}

// The links to pass pages in each table of class "passes" of the page, in order.
std::vector<std::vector<std::string>> PassTableLinks(const std::string& html) {
  std::vector<std::vector<std::string>> tables;
  for (std::size_t at = html.find("<table class=\"passes\">"); at != std::string::npos;
       at = html.find("<table class=\"passes\">", at + 1)) {
    tables.push_back(AttributeValues(html.substr(at, html.find("</table>", at) - at), "href"));
  }
  return tables;
}

TEST_F(PassPages, OlderPassesAreListedOnAPageForEachYearOfTheirDate) {
  // In listing order: two passes of 2019, one of 2021, then 100 of 2022, the
  // recent ones. Each pass's satellite time runs on from the one before but
  // for y2019b's and z050's, which fall: restarted, an alarm. (Each pass's
  // frame is its own: no capture is a copy of another.) Each header
  // announces 12 packets and the capture holds one: a notice.
  std::vector<std::pair<std::string, std::string>> captures{
      {"y2019a", "2019/03/01"}, {"y2019b", "2019/06/01"}, {"y2021", "2021/12/20"}};
  for (int i = 0; i < 100; ++i) {
    char name[32], date[32];
    std::snprintf(name, sizeof name, "z%03d", i);
    std::snprintf(date, sizeof date, "2022/%02d/%02d", 1 + i / 28, 1 + i % 28);
    captures.emplace_back(name, date);
  }
  std::vector<std::string> names;
  for (const auto& [name, date] : captures) {
    std::string header = PassHeader("1");
    header.replace(header.find("2019/01/10"), 10, date);
    const int counter = name == "y2019b" ? 5 : name == "z050" ? 7 : 100 + 10 * static_cast<int>(names.size());
    WriteFile(fm + name + ".txt", header + Packet(Frame(counter)));
    names.push_back(name);
  }
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  const auto links = [](const std::vector<std::string>& names_of, const std::string& folder) {
    std::vector<std::string> hrefs;
    for (const std::string& name : names_of) hrefs.push_back(folder + name + ".html");
    return hrefs;
  };
  // The overview: the passes with an alarm, newest first, then the recent
  // ones, and a page for each year that holds an older pass.
  const std::string overview = ReadFile(root + "/HK_Report.html");
  const std::vector<std::string> recent(names.begin() + 3, names.end());
  EXPECT_EQ(PassTableLinks(overview),
            (std::vector<std::vector<std::string>>{links({"z050", "y2019b"}, "HK_Report_files/FM/"),
                                                   links(recent, "HK_Report_files/FM/")}));
  EXPECT_NE(overview.find("<p>The last 100 capture files of 103 are below; the older ones on a page for each year of "
                          "their date, which lists all of that year's files: "
                          "<a href=\"HK_Report_files/FM-2019.html\">2019 (2)</a> | "
                          "<a href=\"HK_Report_files/FM-2021.html\">2021 (1)</a></p>"),
            std::string::npos);
  // Each year page lists its year's passes, and leads back to the overview
  // and to its neighbours; 2020 and 2022 have no page.
  EXPECT_EQ(PassTableLinks(ReadFile(pages + "/FM-2019.html")),
            (std::vector<std::vector<std::string>>{links({"y2019a", "y2019b"}, "FM/")}));
  EXPECT_NE(ReadFile(pages + "/FM-2019.html")
                .find("<nav class=\"pass\"><a href=\"../HK_Report.html\">Overview</a> | Next: "
                      "<a href=\"FM-2021.html\">2021</a></nav>\n<h1>FM: passes of 2019</h1>\n"
                      "<p>2 capture files, in listing order: 1 pass with an alarm, 1 pass with only notices.</p>"),
            std::string::npos);
  EXPECT_EQ(PassTableLinks(ReadFile(pages + "/FM-2021.html")),
            (std::vector<std::vector<std::string>>{links({"y2021"}, "FM/")}));
  EXPECT_NE(ReadFile(pages + "/FM-2021.html")
                .find("<nav class=\"pass\"><a href=\"../HK_Report.html\">Overview</a> | Previous: "
                      "<a href=\"FM-2019.html\">2019</a></nav>\n<h1>FM: passes of 2021</h1>\n"
                      "<p>1 capture file, in listing order: 0 passes with an alarm, 1 pass with only notices.</p>"),
            std::string::npos);
  std::vector<fs::path> written = WrittenPages(root + "/HK_Report.html", pages);
  std::set<std::string> others;
  for (const fs::path& page : written) {
    if (page.parent_path().filename() != "FM") others.insert(page.filename().string());
  }
  EXPECT_EQ(others, (std::set<std::string>{"HK_Report.html", "FM-2019.html", "FM-2021.html", "station.html"}));
  EXPECT_GT(CheckEveryLink(written), 103u * 2);

  // The passes of 2019 go: so does its page, and no other page is left to link to it.
  fs::remove(fm + "y2019a.txt");
  fs::remove(fm + "y2019b.txt");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  EXPECT_FALSE(fs::exists(pages + "/FM-2019.html"));
  EXPECT_TRUE(fs::exists(pages + "/FM-2021.html"));
  CheckEveryLink(WrittenPages(root + "/HK_Report.html", pages));
  // An export or an overview where a year page stands is refused, before
  // anything is read.
  const std::string year_page = pages + "/FM-2021.html";
  for (const auto& [option, why] :
       {std::pair{"--export", "it is the year page " + year_page},
        std::pair{"--output", std::string("it is a year page FM-2021.html of HK_Report.html")}}) {
    const RunResult refused = Run({"--format", "fm", option, year_page});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errors, "hkreport: refusing to write " + year_page + ": " + why + "\n");
  }
  // A capture folder that cannot be listed (a share that is down) keeps its
  // year pages as its pass pages, while the other format's are written.
  fs::rename(fm, root + "/FM.kept");
  WriteFile(root + "/FM", "");
  EXPECT_EQ(Run().status, 1);
  EXPECT_TRUE(fs::exists(year_page));
  fs::remove(root + "/FM");
  fs::rename(root + "/FM.kept", fm);
  // Where the year pages cannot be written, the overview links none.
  fs::remove_all(pages + "/FM");
  WriteFile(pages + "/FM", "");
  EXPECT_EQ(Run({"--format", "fm"}).status, 1);
  EXPECT_NE(ReadFile(root + "/HK_Report.html").find("which lists all of that year's files: 2021 (1)</p>"),
            std::string::npos);
}

// A page that cannot be written (a full disk; here a limit on the size of
// files) is never linked: not from its neighbours' pages nor from the
// overview. An overview that cannot be written takes the export with it.
TEST_F(PassPages, APageThatCannotBeWrittenIsNeverLinked) {
  WriteFile(fm + "a.txt", PassHeader("1") + Packet(Frame(200)));
  std::string frames;  // b's page, with a frame table of 400 frames, is the largest
  for (int i = 0; i < 400; ++i) frames += Packet(Frame(300 + 2 * i, i % 256));
  WriteFile(fm + "b.txt", PassHeader("1") + frames);
  WriteFile(fm + "c.txt", PassHeader("1") + Packet(Frame(2000)));
  const std::string overview = root + "/HK_Report.html";
  const auto sizes = [&](bool with_b) {
    fs::remove_all(pages);
    EXPECT_EQ(Run({"--format", "fm", "--export", root + "/frames.csv"}).status, 0);
    std::vector<std::uintmax_t> bytes{fs::file_size(pages + "/FM/a.html"), fs::file_size(pages + "/FM/c.html"),
                                      fs::file_size(root + "/frames.csv"), fs::file_size(overview)};
    if (with_b) bytes.push_back(fs::file_size(pages + "/FM/b.html"));
    for (const std::string& file : {overview, root + "/frames.csv"}) fs::remove(file);
    fs::remove_all(pages);
    return bytes;
  };
  std::vector<std::uintmax_t> bytes = sizes(true);
  ASSERT_GT(bytes[4], *std::max_element(bytes.begin(), bytes.begin() + 4));
  const std::vector<std::string> run{"--root", root, "--format", "fm"};
  const RunResult limited = RunWithFileSizeLimit(HKREPORT_EXE, run, (bytes[4] + bytes[3]) / 2);
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.errors, "hkreport: Cannot write " + pages + "/FM/b.html: File too large\nhkreport: wrote " +
                                overview + " (3 capture files, 402 frames)\n");
  EXPECT_NE(ReadFile(pages + "/FM/a.html").find("Next: b.txt</nav>"), std::string::npos);
  EXPECT_NE(ReadFile(pages + "/FM/c.html").find("Previous: b.txt</nav>"), std::string::npos);
  EXPECT_EQ(ReadFile(overview).find("FM/b.html"), std::string::npos);

  // Without b, the overview is the largest file: when it cannot be written,
  // neither is the export, and no line says it was.
  fs::remove(fm + "b.txt");
  bytes = sizes(false);
  ASSERT_GT(bytes[3], *std::max_element(bytes.begin(), bytes.begin() + 3));
  std::vector<std::string> with_export = run;
  with_export.insert(with_export.end(), {"--export", root + "/frames.csv"});
  const RunResult no_overview = RunWithFileSizeLimit(
      HKREPORT_EXE, with_export, (bytes[3] + *std::max_element(bytes.begin(), bytes.begin() + 3)) / 2);
  EXPECT_EQ(no_overview.status, 1);
  EXPECT_EQ(no_overview.errors, "hkreport: Cannot write " + overview + ": File too large\n");
  EXPECT_FALSE(fs::exists(overview));
  EXPECT_FALSE(fs::exists(root + "/frames.csv"));
}

// The station page of generated passes (bench/make_report_captures.py, a
// satellite at 550 km): FM's with an obstruction for passes rising from NE,
// which keeps 0.35 of their packets, is marked weak with about that factor and
// no other sector, rising or setting; FSK's without one, no weak sector at all.
TEST_F(PassPages, AnObstructionIsTheOneWeakSectorOfTheStation) {
  const std::string generator = std::string(HKCSV_SOURCE_DIR) + "/bench/make_report_captures.py";
  ASSERT_EQ(std::system(("python3 '" + generator + "' FM 0 '" + fm +
                         "' --passes 400 --lean --seed one --obstruction rising:NE > /dev/null")
                            .c_str()),
            0);
  ASSERT_EQ(std::system(
                ("python3 '" + generator + "' FSK 0 '" + fsk + "' --passes 300 --lean --seed two > /dev/null").c_str()),
            0);
  ASSERT_EQ(Run({"--quiet"}).status, 0);
  const std::string html = ReadFile(pages + "/station.html");
  const std::string fsk_part = html.substr(html.find("<section id=\"fsk\">"));
  const std::string fm_part = html.substr(0, html.size() - fsk_part.size());
  std::vector<std::string> weak;
  for (std::size_t at = 0; (at = fm_part.find("<tr class=\"weak\">", at)) != std::string::npos; ++at) {
    weak.push_back(fm_part.substr(at + 34, fm_part.find("</td>", at) - at - 34));
  }
  EXPECT_EQ(weak, std::vector<std::string>{"NE"});  // the first weak row, FM's rising table's
  EXPECT_LT(fm_part.find("<tr class=\"weak\">"), fm_part.find("<h4>Setting"));
  const std::string line = "<p class=\"weak\">Rising passes from NE are heard at ";
  const std::size_t line_at = fm_part.find(line);
  ASSERT_NE(line_at, std::string::npos);
  EXPECT_NEAR(std::stod(fm_part.substr(line_at + line.size(), 4)), 0.35, 0.05);
  EXPECT_EQ(fsk_part.find("weak\">"), std::string::npos);
  // The overview's card says it too, and links the station page.
  const std::string overview = ReadFile(root + "/HK_Report.html");
  EXPECT_NE(overview.find("<a href=\"HK_Report_files/station.html#fm\">"), std::string::npos);
  EXPECT_NE(overview.find("<p class=\"weak\">Rising passes from NE are heard at "), std::string::npos);
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

  // b.txt goes: its page goes with it, and so does a stale page of 1.2.0,
  // whose mark names no page; nothing else is touched: not a page of another
  // report's, nor a copy of a page saved under another name, nor a file of
  // someone else's.
  fs::remove(fm + "b.txt");
  WriteFile(pages + "/FM/notes.txt", "kept");
  fs::create_directory(pages + "/FM/old.html");
  const auto marked = [&](const std::string& mark) {
    std::string page = first.at("FM/b.html");
    return page.replace(page.find("pass page b.html of HK_Report.html"), 34, mark);
  };
  WriteFile(pages + "/FM/other.html", marked("pass page other.html of Other.html"));
  WriteFile(pages + "/FM/of 1.2.0.html", marked("pass page of HK_Report.html"));
  WriteFile(pages + "/FM/a (saved).html", first.at("FM/a.html"));
  WriteFile(pages + "/FM/mine.html", "kept");
  // A run of FM alone leaves the FSK pages as they are, even a stale one.
  WriteFile(pages + "/FSK/gone.html", "kept");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  std::set<std::string> names;
  for (const auto& [name, bytes] : PagesOf(pages)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"FM/a (saved).html", "FM/a.html", "FM/c.html", "FM/mine.html", "FM/notes.txt",
                                          "FM/other.html", "FSK/f.html", "FSK/gone.html", "station.html"}));
  EXPECT_TRUE(fs::is_directory(pages + "/FM/old.html"));
}

}  // namespace
