// hkreport through the real executable: its command line, its messages and
// exit status, and the numbers of its pass and channel tables for capture
// files whose values are worked out by hand.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hkcsv_version.h"
#include "tests/e2e_support.h"

namespace fs = std::filesystem;

using namespace std::string_literals;

namespace {

class HkReport : public EndToEnd {
 protected:
  RunResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--root", root});
    return RunWithArguments(HKREPORT_EXE, arguments);
  }
  // Starts a run apart, its standard error on `error_descriptor` and its
  // other streams on /dev/null. It exports every frame: the export's
  // temporary file stands from the run's start to its end.
  pid_t Start(int error_descriptor) {
    std::vector<std::string> arguments{HKREPORT_EXE, "--root", root, "--export", export_file};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::dup2(error_descriptor, 2);
      for (const int signal_number : {SIGPIPE, SIGINT, SIGTERM}) std::signal(signal_number, SIG_DFL);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    return pid;
  }
  // The temporary files of the page and of the export in the base directory.
  std::vector<std::string> Temporaries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root)) {
      const std::string name = entry.path().filename().string();
      if ((name.starts_with("HK_Report.html.tmp") || name.starts_with("frames.csv.tmp")) && !entry.is_directory()) {
        names.push_back(name);
      }
    }
    return names;
  }
  // Waits (ten seconds at most) until `count` temporary files stand at once.
  bool AwaitTemporaries(std::size_t count) {
    for (int wait = 0; wait < 10000; ++wait) {
      if (Temporaries().size() >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  // Thirty capture files with long names and nothing in them: a run tells
  // more of them than a one-page pipe holds before it writes its page end.
  void WriteManyCaptures() {
    for (int i = 10; i < 40; ++i) WriteFile(fm + std::string(200, 'p') + std::to_string(i) + ".txt", "");
  }
  const std::string page = root + "/HK_Report.html";
  const std::string export_file = root + "/frames.csv";
};

// A pipe that holds one page, 4096 bytes: a run that tells more blocks there
// until the pipe is read.
std::array<int, 2> SmallPipe() {
  int ends[2] = {-1, -1};
  EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
  EXPECT_EQ(::fcntl(ends[1], F_SETPIPE_SZ, 4096), 4096);
  return {ends[0], ends[1]};
}

// Reads each descriptor to its end, all at once, and closes it.
std::vector<std::string> ReadToEnd(const std::vector<int>& descriptors) {
  std::vector<std::string> texts(descriptors.size());
  std::vector<pollfd> polled;
  for (const int descriptor : descriptors) polled.push_back({descriptor, POLLIN, 0});
  for (std::size_t open = descriptors.size(); open > 0;) {
    ::poll(polled.data(), polled.size(), -1);
    for (std::size_t i = 0; i < polled.size(); ++i) {
      if (polled[i].fd < 0 || polled[i].revents == 0) continue;
      char bytes[4096];
      const ssize_t got = ::read(polled[i].fd, bytes, sizeof bytes);
      if (got > 0) {
        texts[i].append(bytes, static_cast<std::size_t>(got));
      } else {
        ::close(polled[i].fd);
        polled[i].fd = -1;
        --open;
      }
    }
  }
  return texts;
}

int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// The zero frame: every value 0 but the temperatures, which read their
// channel's offset (Battery Temp1 127, Battery Temp2 126).
std::string ZeroFrame() {
  std::string frame;
  for (int i = 0; i < 78; ++i) frame += "00 ";
  return frame;
}

std::string WithHeaderValue(std::string header, const std::string& from, const std::string& to) {
  return header.replace(header.find(from), from.size(), to);
}

// The cells of a row of the pass table from "Pass time" to "Max angle" for
// the pass header of these tests, and a link to a pass page of FM.
const char kHeaderCells[] =
    "<td class=\"text\">2019-01-10 09:15:30</td><td class=\"text\">09:10:00</td><td class=\"text\">09:20:00</td>"
    "<td class=\"text\">45</td>";

std::string PassLink(const std::string& page, const std::string& text) {
  return "<a href=\"HK_Report_files/FM/" + page + "\">" + text + "</a>";
}

std::string PassCell(const std::string& page, const std::string& name, bool bad = false) {
  return (bad ? "<td class=\"text bad\">" : "<td class=\"text\">") + PassLink(page, name) + "</td>";
}

// The reasons a pass is flagged, "LEVEL: TEXT" each, as the pages write them.
std::string Reasons(const std::vector<std::string>& reasons) {
  std::string html;
  for (const std::string& reason : reasons) {
    const std::size_t colon = reason.find(": ");
    if (!html.empty()) html += ", ";
    html += "<span class=\"" + reason.substr(0, colon) + "\">" + reason.substr(colon + 2) + "</span>";
  }
  return html;
}

TEST_F(HkReport, PassTableShowsEachFileAndWhyItIsFlagged) {
  // a.txt: 12 packets announced, 2 found, the second cut short; one token
  // skipped. Its frame is the worked example: SatTime 150, ResetInfo 3, Buss
  // Voltage 3.75, Battery Temp1 33.25 and Temp2 33.925.
  WriteFile(fm + "a.txt", PassHeader("1") + "zz " + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E " + kMarker +
                              " 1 2 3 20 3 00 00 01");
  fs::create_symlink(fm + "nowhere", fm + "b.txt");
  // c.txt: the example frame, then the zero frame: the satellite's clock
  // went back from 150 to 0, one restart, and ResetInfo from 3 to 0. Its
  // modulation is markup, its announced count "02": two, as found.
  WriteFile(fm + "c.txt",
            WithHeaderValue(WithHeaderValue(PassHeader("1"), "Packets : 12", "Packets : 02"), "GMSK", "<b>&") +
                kMarker + " 1 2 3 1 3 " + kExampleFrame + " 7E " + kMarker + " 1 2 3 2 3 " + ZeroFrame() + " 7E");
  // d.txt: a packet, but no frames per packet: nothing decoded.
  WriteFile(fm + "d.txt", WithHeaderValue(PassHeader("0"), "Packets : 12", "Packets : 1") + kMarker + " 1 2 3 1F 3 7E");
  // f.txt: the header ends after its 13th cell, the S meter.
  const std::string header = PassHeader("1");
  WriteFile(fm + "f.txt", header.substr(0, header.find("Packets :")));
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkreport: " + fm + "a.txt: 1 frame, 1 token skipped, 1 cut short\n" +
                               "hkreport: Cannot open " + fm + "b.txt: No such file or directory\n" +
                               "hkreport: " + fm + "d.txt: 0 frames, 0 tokens skipped, 0 cut short\n" +
                               "hkreport: " + fm + "f.txt: 0 frames, 0 tokens skipped, 0 cut short\n" +
                               "hkreport: wrote " + page + " (5 capture files, 3 frames)\n");
  const std::string html = ReadFile(page);
  const std::string no_frames = "<td></td><td></td><td></td><td></td><td></td><td></td><td></td>";
  for (const std::string& row : {
           // Notices only: an amber row.
           "<tr class=\"problem notice\">" + PassCell("a.html", "a.txt") + "<td class=\"text why\">" +
               Reasons({"notice: 10 packets missing", "notice: cut short", "notice: 1 token skipped"}) + "</td>" +
               kHeaderCells +
               "<td class=\"text\">GMSK</td><td class=\"text\">1</td><td class=\"text bad\">12</td>"
               "<td class=\"bad\">2</td><td>1</td><td>12</td><td></td><td>0</td><td class=\"bad\">1</td>"
               "<td class=\"bad\">1</td><td>150.0</td><td>150.0</td><td class=\"text\">3</td>"
               "<td class=\"text\">3</td><td>0</td><td>3.750000</td><td>33.925000</td></tr>\n",
           "<tr class=\"problem alarm\">" + PassCell("b.html", "b.txt") +
               "<td class=\"text bad\" colspan=\"22\">Cannot open: No such file or directory</td></tr>\n",
           "<tr class=\"problem alarm\">" + PassCell("c.html", "c.txt") + "<td class=\"text why\">" +
               Reasons({"alarm: 1 restart"}) + "</td>" + kHeaderCells +
               "<td class=\"text\">&lt;b&gt;&amp;</td><td class=\"text\">1</td><td class=\"text\">02</td>"
               "<td>2</td><td>2</td><td>2</td><td></td><td>0</td><td>0</td><td>0</td>"
               "<td>150.0</td><td>0.0</td><td class=\"text\">3</td><td class=\"text bad\">0</td>"
               "<td class=\"bad\">1</td><td>0.000000</td><td>127.000000</td></tr>\n",
           "<tr class=\"problem alarm\">" + PassCell("d.html", "d.txt") + "<td class=\"text why\">" +
               Reasons({"alarm: no frames decoded"}) + "</td>" + kHeaderCells +
               "<td class=\"text\">GMSK</td><td class=\"text\">0</td><td class=\"text\">1</td><td>1</td>"
               "<td class=\"bad\">0</td><td></td><td></td><td>0</td><td>0</td><td>0</td>" +
               no_frames + "</tr>\n",
           // Cut after its 13th cell: only the cell the header ends before is marked.
           "<tr class=\"problem alarm\">" + PassCell("f.html", "f.txt") + "<td class=\"text why\">" +
               Reasons({"alarm: header cut short"}) + "</td>" + kHeaderCells +
               "<td class=\"text\"></td><td class=\"text bad\"></td><td class=\"text\"></td><td>0</td>"
               "<td>0</td><td></td><td></td><td>0</td><td>0</td><td>0</td>" +
               no_frames + "</tr>\n",
       }) {
    EXPECT_NE(html.find(row), std::string::npos) << row;
  }
}

TEST_F(HkReport, ChannelTableAndLimitsCountedOnBothSidesOfEachBoundary) {
  // A.txt, the newest pass though first in name order, holds the zero frame;
  // a.txt, a day before, the example frame and 10 s later the same frame
  // with a Buss Voltage count of 0D00, 4.0625 V. Their pages are A.html and,
  // the name being taken but for the letter case, a~2.html.
  std::string second = kExampleFrame;
  second.replace(0, 11, "00 00 01 40").replace(30, 5, "0D 00");
  WriteFile(fm + "a.txt", WithHeaderValue(PassHeader("2"), "Packets : 12", "Packets : 1") + kMarker + " 1 2 3 1F 3 " +
                              kExampleFrame + " " + second + " 7E");
  WriteFile(fm + "A.txt", WithHeaderValue(WithHeaderValue(PassHeader("1"), "2019/01/10", "2019/01/11"), "Packets : 12",
                                          "Packets : 1") +
                              kMarker + " 1 2 3 1F 3 " + ZeroFrame() + " 7E");
  // Buss Voltage 3.75 and 0 lie on their limits: inside; 4.0625 is past
  // yellow. Buss Current 0 is below 0.1: yellow. Solar Current 1 31.25 lies
  // on its red limit, 0 is below it: red.
  WriteFile(root + "/limits.txt",
            "\xEF\xBB\xBF# both sides of each boundary\r\n\r\n"
            "Buss Voltage, , 0, 3.75,\r\n"
            " Buss Current ,  , 0.1 , , \r\n"
            "Solar Current 1, 31.25, , ,\r\n");
  const RunResult result = Run({"--format", "fm", "--limits", root + "/limits.txt"});
  EXPECT_EQ(result.status, 0) << result.errors;
  const std::string html = ReadFile(page);
  // Where an extreme was taken: the frame's own time, linked to its pass.
  const auto at = [](const std::string& page, const std::string& time) {
    return "<td class=\"text\">" + PassLink(page, time) + "</td>";
  };
  const std::string at_newest = at("A.html", "2019-01-11 09:15:30");
  const std::string at_first = at("a~2.html", "2019-01-10 09:15:30");
  for (const std::string& row : {
           // "Last" is the newest pass's: A's zero frame, not a's, last in name order.
           "<tr><td class=\"text\">Buss Voltage</td><td class=\"text\">V</td><td>0.000000</td><td>2.604167</td>"
           "<td>4.062500</td><td class=\"ok\">0.000000</td>" +
               at_newest + at("a~2.html", "2019-01-10 09:15:40") + "<td>1</td><td>0</td></tr>\n",
           "<tr><td class=\"text\">Buss Current</td><td class=\"text\">mA</td><td>0.000000</td><td>162.760417</td>"
           "<td>244.140625</td><td class=\"yellow\">0.000000</td>" +
               at_newest + at_first + "<td>1</td><td>0</td></tr>\n",
           "<tr class=\"problem alarm\"><td class=\"text\">Solar Current 1</td><td class=\"text\">mA</td>"
           "<td>0.000000</td><td>20.833333</td><td>31.250000</td><td class=\"red\">0.000000</td>" +
               at_newest + at_first + "<td>0</td><td class=\"bad\">1</td></tr>\n",
           // Equal values: the first frame read holds the extreme. No limits:
           // no counts, which are not 0.
           "<tr><td class=\"text\">Mag_y</td><td class=\"text\">nT</td><td>0.000000</td><td>0.000000</td>"
           "<td>0.000000</td><td>0.000000</td>" +
               at_newest + at_newest + "<td></td><td></td></tr>\n",
           // Each pass counts its own samples past a limit; the satellite
           // restarted between a and A: A's counter fell from 160 to 0.
           "<tr class=\"problem alarm\">" + PassCell("A.html", "A.txt") + "<td class=\"text why\">" +
               Reasons({"alarm: restarted since the previous pass", "alarm: 1 sample past red"}) +
               "</td>"
               "<td class=\"text\">2019-01-11 09:15:30</td>",
           std::string("<td>0.0</td><td>0.0</td><td class=\"text bad\">0</td><td class=\"text\">0</td>"
                       "<td class=\"bad\">1</td><td>0.000000</td><td>127.000000</td><td>1</td>"
                       "<td class=\"bad\">1</td></tr>\n"),
           "<tr>" + PassCell("a~2.html", "a.txt") + "<td class=\"text why\"></td>" + kHeaderCells +
               "<td class=\"text\">GMSK</td><td class=\"text\">2</td><td class=\"text\">1</td><td>1</td><td>2</td>"
               "<td>2</td><td></td><td>0</td><td>0</td><td>0</td><td>150.0</td><td>160.0</td>"
               "<td class=\"text\">3</td><td class=\"text\">3</td><td>0</td><td>3.750000</td><td>33.925000</td>"
               "<td>1</td><td>0</td></tr>\n",
       }) {
    EXPECT_NE(html.find(row), std::string::npos) << row;
  }
  EXPECT_NE(html.find("<th>Past yellow</th><th>Past red</th>"), std::string::npos);
}

// The example frame at the satellite time counter `counter` (half seconds),
// with ResetInfo `reset` (up to FF).
std::string ExampleFrameAt(int counter, int reset) {
  char bytes[16];
  std::string frame = kExampleFrame;
  std::snprintf(bytes, sizeof bytes, "00 00 %02X %02X", counter >> 8, counter & 0xFF);
  frame.replace(0, 11, bytes);
  std::snprintf(bytes, sizeof bytes, "%02X", reset);
  return frame.replace(27, 2, bytes);  // byte 9, the low byte of ResetInfo
}

TEST_F(HkReport, AMistypedYearStaysOffTheChartsAndIsFlagged) {
  // Three passes of January 2019 and one typed as 2091: more than a year
  // from every other, it stretches no time axis. Listed last, it is the
  // newest pass: its card says why, and the summary that its date is of no use.
  const std::string header = WithHeaderValue(PassHeader("1"), "Packets : 12", "Packets : 1");
  const auto frame = [](int counter) {
    return kMarker + std::string(" 1 2 3 1F 3 ") + ExampleFrameAt(counter, 3) + " 7E";
  };
  WriteFile(fm + "a.txt", header + frame(300));
  WriteFile(fm + "b.txt", WithHeaderValue(header, "2019/01/10", "2019/01/11") + frame(400));
  WriteFile(fm + "c.txt", WithHeaderValue(header, "2019/01/10", "2019/01/12") + frame(500));
  // d: dated, and no frame: no point of the per-pass charts, nor counted drawn.
  WriteFile(fm + "d.txt", WithHeaderValue(header, "2019/01/10", "2019/01/13"));
  // Its zone stays out of the time axis's title, as its frames stay off the charts.
  WriteFile(fm + "far.txt",
            WithHeaderValue(WithHeaderValue(header, "2019/01/10", "2091/01/10"), "09:15:30 JST", "09:15:30 XYZ") +
                frame(600));
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  const std::string html = ReadFile(page);
  const std::string far_why = Reasons({"notice: date far from every other pass"});
  for (const std::string& text : {
           "<h3>FM: " + PassLink("far.html", "far.txt") + "</h3>\n<p>2091-01-10 09:15:30 XYZ: 1 frame",
           "<p class=\"problem notice\">" + far_why + "</p>",
           std::string("<dt>First pass</dt><dd>2019-01-10 09:15:30</dd>\n"
                       "<dt>Last pass</dt><dd>far.txt, no usable date</dd>"),
           std::string(
               "<dt>Passes left out of the charts (no date, or a date far from every other pass)</dt><dd>1</dd>"),
           "<tr class=\"problem notice\">" + PassCell("far.html", "far.txt") + "<td class=\"text why\">" + far_why +
               "</td><td class=\"text bad\">2091-01-10 09:15:30</td>",
           // Only the three passes of 2019 with frames are drawn.
           std::string("<strong>Buss Voltage</strong>: 3 frames"),
           std::string("<strong>Lowest bus voltage of each pass</strong>: 3 passes, all drawn."),
           std::string(">Ground time (JST)</text>"),
       }) {
    EXPECT_NE(html.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(html.find("XYZ)"), std::string::npos);
  EXPECT_EQ(html.find("<title>d.txt, "), std::string::npos);
}

// The text of the cells of the table row that holds `key`.
std::vector<std::string> RowCells(const std::string& html, const std::string& key) {
  std::vector<std::string> cells;
  const std::size_t at = html.find(key);
  if (at == std::string::npos) return cells;
  const std::size_t end = html.find("</tr>", at);
  for (std::size_t cell = html.find("<td", html.rfind("<tr", at)); cell < end; cell = html.find("<td", cell + 1)) {
    const std::size_t text = html.find('>', cell) + 1;
    cells.push_back(html.substr(text, html.find("</td>", text) - text));
  }
  return cells;
}

// The text between `before` and the next `after` in `html`; empty when
// `before` is not there.
std::string Between(const std::string& html, const std::string& before, const std::string& after) {
  const std::size_t at = html.find(before);
  if (at == std::string::npos) return "";
  const std::size_t text = at + before.size();
  return html.substr(text, html.find(after, text) - text);
}

TEST_F(HkReport, PassPagesAgreeWithTheirOverviewRowsOnWhyAndRestarts) {
  // One packet of the given frames, as (counter, ResetInfo), per capture.
  const auto capture = [](const std::string& date, const std::vector<std::pair<int, int>>& frames) {
    std::string packet = kMarker + std::string(" 1 2 3 1F 3");
    for (const auto& [counter, reset] : frames) packet.append(" ").append(ExampleFrameAt(counter, reset));
    const std::string header =
        WithHeaderValue(PassHeader(std::to_string(frames.size())), "Packets : 12", "Packets : 1");
    return WithHeaderValue(header, "2019/01/10", date) + packet + " 7E";
  };
  // In ground time: p1 (150 and 160 s, ResetInfo 3); p2 starts at 50 s, below
  // p1's last; p3 at ResetInfo 4 after p2's 3; p4 falls from 160 to 20 s
  // within; p5 starts at 10 s, below p4's last 30 s, and falls from 20 to
  // 5 s within; far, dated 2091, after p5 and no restart. Out of that order:
  // undated, whose ResetInfo 9 would be one, and empty, a packet of no frame.
  // "p1 - Copy", listed before p1, holds p1's frames: both are told, and p1
  // stands out of the order, so that its falling clock is no restart.
  WriteFile(fm + "p1 - Copy.txt", capture("2019/01/10", {{300, 3}, {320, 3}}));
  WriteFile(fm + "p1.txt", capture("2019/01/10", {{300, 3}, {320, 3}}));
  WriteFile(fm + "p2.txt", capture("2019/01/11", {{100, 3}, {120, 3}}));
  WriteFile(fm + "p3.txt", capture("2019/01/12", {{200, 4}, {220, 4}}));
  WriteFile(fm + "p4.txt", capture("2019/01/13", {{300, 4}, {320, 4}, {40, 4}, {60, 4}}));
  WriteFile(fm + "p5.txt", capture("2019/01/14", {{20, 4}, {40, 4}, {10, 4}, {30, 4}}));
  WriteFile(fm + "far.txt", capture("2091/01/10", {{300, 4}, {320, 4}}));
  WriteFile(fm + "undated.txt", capture("2019/13/40", {{0, 9}, {20, 9}}));
  WriteFile(fm + "empty.txt", capture("2019/01/15", {}));
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  struct Expected {
    std::string level;                 // of the row and the why line: its worst reason's
    std::vector<std::string> reasons;  // "alarm: TEXT" or "notice: TEXT", worst first
    std::string restarts;              // within the pass and since the one before; empty without frames
  };
  const std::map<std::string, Expected> expected{
      {"empty", {"alarm", {"alarm: no frames decoded"}, ""}},
      {"far", {"notice", {"notice: date far from every other pass"}, "0"}},
      {"p1 - Copy", {"notice", {"notice: the same frames as p1.txt"}, "0"}},
      {"p1", {"notice", {"notice: the same frames as p1 - Copy.txt"}, "0"}},
      {"p2", {"alarm", {"alarm: restarted since the previous pass"}, "1"}},
      {"p3", {"alarm", {"alarm: restarted since the previous pass"}, "1"}},
      {"p4", {"alarm", {"alarm: 1 restart"}, "1"}},
      {"p5", {"alarm", {"alarm: 1 restart", "alarm: restarted since the previous pass"}, "2"}},
      {"undated", {"notice", {"notice: date does not parse"}, "0"}},
  };
  const std::string overview = ReadFile(page);
  std::set<std::string> pages;
  for (const auto& entry : fs::directory_iterator(root + "/HK_Report_files/FM")) {
    pages.insert(entry.path().stem().string());
  }
  EXPECT_EQ(pages.size(), expected.size());
  for (const std::string& pass : pages) {
    SCOPED_TRACE(pass);
    ASSERT_EQ(expected.count(pass), 1u);
    const Expected& e = expected.at(pass);
    const std::string why = Reasons(e.reasons);
    // File, Why, 14 cells of the capture file, then First SatTime, Last
    // SatTime, ResetInfo first and last, Restarts.
    // A pass with an alarm is listed above them too, by its file, why and time.
    std::string href = pass + ".html";
    for (std::size_t space; (space = href.find(' ')) != std::string::npos;) href.replace(space, 1, "%20");
    const std::string link = PassCell(href, pass + ".txt");
    const std::string every = overview.substr(overview.find("<p>Every capture file:</p>"));
    const std::vector<std::string> row = RowCells(every, link);
    ASSERT_EQ(row.size(), 23u);
    EXPECT_EQ(row[1], why);
    EXPECT_EQ(row[20], e.restarts);
    const std::string row_start = e.level.empty() ? "<tr>" : "<tr class=\"problem " + e.level + "\">";
    EXPECT_NE(every.find(row_start + link), std::string::npos);
    const std::vector<std::string> alarm_row = RowCells(overview.substr(0, overview.size() - every.size()), link);
    EXPECT_EQ(alarm_row,
              e.level == "alarm" ? (std::vector<std::string>{row[0], why, row[2]}) : std::vector<std::string>{});
    // The why line stands right after the title block, and only for a flagged pass.
    const std::string html = ReadFile(root + "/HK_Report_files/FM/" + pass + ".html");
    const std::string after_title = html.substr(html.find("</p>\n", html.find("</h1>\n<p>")) + 5);
    EXPECT_EQ(after_title.substr(0, after_title.find('\n') + 1),
              e.level.empty() ? "<h2 id=\"account\">Frame account</h2>\n"
                              : "<p class=\"problem " + e.level + "\">" + why + "</p>\n");
    EXPECT_EQ(Between(html, "<tr><th>Restarts, within and since the previous pass</th><td>", "</td>"), row[20]);
  }
}

// A pass header dated `date` ("YYYY/MM/DD HH:MM:SS UTC"), whose packets
// carry `blocks` frames, one packet announced.
std::string HeaderDated(const std::string& date, const std::string& blocks = "2") {
  return WithHeaderValue(WithHeaderValue(PassHeader(blocks), "Packets : 12", "Packets : 1"), "2019/01/10 09:15:30 JST",
                         date);
}

// A pass header dated `hours` from now by this machine's clock, in UTC.
std::string HeaderFromNow(double hours, const std::string& blocks = "2") {
  const std::time_t at = std::time(nullptr) + static_cast<std::time_t>(hours * 3600);
  std::tm utc{};
  ::gmtime_r(&at, &utc);
  char date[40];
  std::strftime(date, sizeof date, "%Y/%m/%d %H:%M:%S UTC", &utc);
  return HeaderDated(date, blocks);
}

// One packet of the example frame at each (counter, ResetInfo).
std::string PacketOf(const std::vector<std::pair<int, int>>& frames) {
  std::string packet = kMarker + std::string(" 1 2 3 1F 3");
  for (const auto& [counter, reset] : frames) packet.append(" ").append(ExampleFrameAt(counter, reset));
  return packet + " 7E";
}

// The lines of standard error after the run's summary line.
std::vector<std::string> Findings(const RunResult& result) {
  std::vector<std::string> lines;
  const std::size_t summary = result.errors.find("hkreport: wrote ");
  for (std::size_t at = result.errors.find('\n', summary) + 1;
       summary != std::string::npos && at < result.errors.size(); at = result.errors.find('\n', at) + 1) {
    lines.push_back(result.errors.substr(at, result.errors.find('\n', at) - at));
  }
  return lines;
}

TEST_F(HkReport, UnattendedRunsJudgeEveryPassThatCameSinceTheLastOne) {
  // a, 100 hours ago; b, dated 30 days ahead by a slip; c, an hour ago,
  // restarted since a (ResetInfo 3, then 4).
  WriteFile(fm + "a.txt", HeaderFromNow(-100) + PacketOf({{300, 3}, {320, 3}}));
  WriteFile(fm + "b.txt", HeaderFromNow(720) + PacketOf({{400, 3}, {420, 3}}));
  WriteFile(fm + "c.txt", HeaderFromNow(-1) + PacketOf({{500, 4}, {520, 4}}));
  const std::vector<std::string> check{"--format", "fm", "--fail-on", "alarm", "--max-age", "48"};
  const std::string judged = root + "/HK_Report_files/judged.txt";
  struct Step {
    const char* what;
    std::vector<std::string> findings;
  };
  const auto run = [&](const Step& step) {
    const RunResult result = Run(check);
    EXPECT_EQ(result.status, step.findings.empty() ? 0 : 3) << step.what;
    EXPECT_EQ(Findings(result), step.findings) << step.what;
    return result;
  };
  // The first run judges the newest pass by the clock: c, not b.
  run({"the first run", {"hkreport: FM c.txt: restarted since the previous pass"}});
  run({"nothing came", {}});
  // Three passes came: d decoded nothing (no frames per packet), e's header
  // is cut short, f's date does not parse and its clock falls. Each is
  // judged; f, listed last without a usable date, is the newest pass.
  WriteFile(fm + "d.txt", HeaderFromNow(-0.5, "0") + PacketOf({}));
  const std::string cut = HeaderFromNow(-0.4);
  WriteFile(fm + "e.txt", cut.substr(0, cut.find("Packets :")));
  WriteFile(fm + "f.txt", WithHeaderValue(HeaderFromNow(-0.3), "/", "-") + PacketOf({{600, 4}, {100, 4}}));
  const RunResult three = run({"three passes came",
                               {"hkreport: FM d.txt: no frames decoded", "hkreport: FM e.txt: header cut short",
                                "hkreport: FM f.txt: 1 restart"}});
  // Only the captures with a problem have a line of their own.
  EXPECT_EQ(three.errors.substr(0, three.errors.find("hkreport: wrote")),
            "hkreport: " + fm + "d.txt: 0 frames, 0 tokens skipped, 0 cut short\nhkreport: " + fm +
                "e.txt: 0 frames, 0 tokens skipped, 0 cut short\n");
  const std::string html = ReadFile(page);
  EXPECT_NE(html.find("<h3>FM: " + PassLink("f.html", "f.txt") + "</h3>"), std::string::npos);
  EXPECT_NE(html.find("<dt>Last pass</dt><dd>f.txt, no usable date</dd>"), std::string::npos);
  // A run without --fail-on between two unattended ones takes nothing from them.
  WriteFile(fm + "g.txt", HeaderFromNow(-0.2) + PacketOf({{700, 5}, {720, 5}}));
  const std::string list = ReadFile(judged);
  EXPECT_EQ(Run({"--format", "fm"}).status, 0);
  EXPECT_EQ(ReadFile(judged), list);
  run({"an operator's run between", {"hkreport: FM g.txt: restarted since the previous pass"}});
  // A copy of a capture beside it is a notice, and no alarm.
  fs::copy_file(fm + "a.txt", fm + "a - Copy.txt");
  run({"a copy", {}});
  // With the list gone, the first run again: the newest pass only. With
  // --quiet, standard error holds what needs a look alone.
  fs::remove(judged);
  EXPECT_EQ(Run({"--format", "fm", "--fail-on", "notice", "--quiet"}).errors,
            "hkreport: " + fm + "d.txt: 0 frames, 0 tokens skipped, 0 cut short\nhkreport: " + fm +
                "e.txt: 0 frames, 0 tokens skipped, 0 cut short\nhkreport: FM g.txt: restarted since the previous "
                "pass\n");

  // Nothing came for 100 hours: the pass dated in the future hides it not.
  ResetRoot(root);
  WriteFile(fm + "a.txt", HeaderFromNow(-100) + PacketOf({{300, 3}, {320, 3}}));
  WriteFile(fm + "b.txt", HeaderFromNow(720) + PacketOf({{400, 3}, {420, 3}}));
  const RunResult old = Run(check);
  EXPECT_EQ(old.status, 3);
  const std::vector<std::string> lines = Findings(old);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].starts_with("hkreport: FM: no pass since ") && lines[0].ends_with(" UTC (100 hours)"))
      << lines[0];

  // --max-age 0: any pass older than now.
  EXPECT_EQ(Run({"--format", "fm", "--max-age", "0"}).status, 3);

  // Old passes and a new one whose date is far from every other, taken for
  // a mistyped year: the age is that of the latest pass on the time axis.
  // A format whose folder this root never had is not checked.
  ResetRoot(root);
  fs::remove_all(fsk);
  for (const std::string day : {"10", "11", "12"}) {
    WriteFile(fm + day + ".txt", HeaderDated("2010/01/" + day + " 09:00:00 UTC") + PacketOf({{300, 3}, {320, 3}}));
  }
  WriteFile(fm + "new.txt", HeaderFromNow(-1) + PacketOf({{400, 3}, {420, 3}}));
  const RunResult far = Run({"--max-age", "48"});
  EXPECT_EQ(far.status, 3);
  const std::vector<std::string> far_lines = Findings(far);
  ASSERT_EQ(far_lines.size(), 1u);
  EXPECT_TRUE(far_lines[0].starts_with("hkreport: FM: no pass since 2010-01-12 09:00:00 UTC (")) << far_lines[0];

  // A capture that cannot be read (1) and a refused output (2) win over 3.
  fs::create_symlink(fm + "nowhere", fm + "x.txt");
  EXPECT_EQ(Run({"--max-age", "1"}).status, 1);
  const RunResult refused = Run({"--max-age", "1", "--output", fm + "a.txt"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.errors.find("no pass since"), std::string::npos);
}

TEST_F(HkReport, CommandLine) {
  WriteFile(root + "/bad_limits.txt", "Buss Voltage, 1, 2, 3, 4\nBus Voltage, 1, 2, 3, 4\nMag_x, 5, 4, , \n");
  WriteFile(root + "/control_limits.txt", "\x1B[2J\0x, 1, 2, 3, 4\n"s);
  WriteFile(root + "/big_limits.txt", "Buss Voltage, " + std::string(1 << 20, 'x') + ", , ,\n");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string first_error_line;  // of standard error; empty: none
  };
  const Case cases[] = {
      {{"--bogus"}, 2, "hkreport: unknown option '--bogus'"},
      {{"pages"}, 2, "hkreport: unexpected argument 'pages'"},
      {{"--format", "fx"}, 2, "hkreport: --format takes fm, fsk or both, not 'fx'"},
      {{"--output"}, 2, "hkreport: option '--output' needs a value"},
      {{"--limits="}, 2, "hkreport: option '--limits' needs a value"},
      {{"--limits", root + "/none.txt"}, 2, "hkreport: " + root + "/none.txt: No such file or directory"},
      {{"--limits", root + "/bad_limits.txt"},
       2,
       "hkreport: " + root + "/bad_limits.txt:2: unknown column \"Bus Voltage\""},
      {{"--output", root + "/no/such/page.html"},
       1,
       "hkreport: Cannot write " + root + "/no/such/page_files: No such file or directory"},
      {{"--export"}, 2, "hkreport: option '--export' needs a value"},
      {{"--open=yes"}, 2, "hkreport: option '--open' takes no value"},
      {{"--fail-on", "warning"}, 2, "hkreport: --fail-on takes alarm or notice, not 'warning'"},
      {{"--max-age", "-1"}, 2, "hkreport: --max-age takes a number of hours, not '-1'"},
      {{"--max-age=2d"}, 2, "hkreport: --max-age takes a number of hours, not '2d'"},
      // Control bytes reach no terminal, and no echoed cell is longer than 64 bytes.
      {{"--bogus\x1B[2J"}, 2, "hkreport: unknown option '--bogus\\x1B[2J'"},
      {{"--limits", root + "/control_limits.txt"},
       2,
       "hkreport: " + root + "/control_limits.txt:1: unknown column \"\\x1B[2J\\x00x\""},
      {{"--limits", root + "/big_limits.txt"},
       2,
       "hkreport: " + root + "/big_limits.txt:1: red low \"" + std::string(64, 'x') + "...\" is not a number"},
  };
  for (const Case& c : cases) {
    const RunResult result = Run(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments[0];
    EXPECT_EQ(result.errors.substr(0, result.errors.find('\n')), c.first_error_line) << c.arguments[0];
    if (c.status == 2) {  // the usage follows a bad command line, not a bad limits file
      const bool usage_shown = result.errors.find("Usage: hkreport") != std::string::npos;
      EXPECT_EQ(usage_shown, c.arguments[0] != "--limits") << c.arguments[0];
    }
    EXPECT_EQ(result.console, "");
    EXPECT_FALSE(Exists(page)) << c.arguments[0];
  }
  const RunResult help = RunWithArguments(HKREPORT_EXE, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.console.rfind("Usage: hkreport [--root DIR] [--format fm|fsk|both]", 0), 0u);
  const RunResult version = RunWithArguments(HKREPORT_EXE, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.console, std::string("hkreport ") + hkcsv::kVersion + "\n");
}

TEST_F(HkReport, FoldersThatCannotBeReadAreShownOnThePage) {
  struct Case {
    const char* what;
    std::string make_root;  // "none": no base directory; "no-fsk": no FSK folder; "": empty folders
    int status;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      // Both formats are reported by default, each in its section.
      {"no capture files",
       "",
       0,
       {"<p>No capture files were found.</p>",
        "<h2>FM: HK data downlinked by AFSK and GMSK</h2>\n<p>Folder: <code>" + root +
            "/FM</code></p>\n<p>No capture files in this folder.</p>\n</section>",
        "<h2>FSK: HK data downlinked by FSK</h2>\n<p>Folder: <code>" + root +
            "/FSK</code></p>\n<p>No capture files in this folder.</p>\n</section>"}},
      {"no FSK folder", "no-fsk", 0, {"<p>There is no such folder: nothing to report.</p>"}},
      {"FM folder replaced by a file",
       "fm-file",
       1,
       {"<p class=\"problem\">Cannot list " + root + "/FM: Not a directory</p>"}},
  };
  for (const Case& c : cases) {
    ResetRoot(root);
    if (c.make_root == "no-fsk") fs::remove_all(fsk);
    if (c.make_root == "fm-file") {
      fs::remove_all(fm);
      WriteFile(root + "/FM", "");
    }
    const RunResult result = Run({"--format", "both"});
    EXPECT_EQ(result.status, c.status) << c.what;
    const std::string html = ReadFile(page);
    for (const std::string& text : c.shown) EXPECT_NE(html.find(text), std::string::npos) << c.what << ": " << text;
    // A format with nothing read has no latest-pass card to say so.
    EXPECT_EQ(html.find("<div class=\"latest\">"), std::string::npos) << c.what;
    EXPECT_NE(result.errors.find("hkreport: wrote " + page + " (0 capture files, 0 frames)\n"), std::string::npos)
        << c.what;
    EXPECT_EQ(fs::is_directory(root + "/HK_Report_files/FSK"), c.make_root != "no-fsk") << c.what;
  }
}

TEST_F(HkReport, ARootWithoutFormatFoldersWritesAndRemovesNothing) {
  WriteFile(fm + "a.txt", PassHeader("1") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E");
  ASSERT_EQ(Run({}).status, 0);
  const std::string overview = ReadFile(page);
  const std::string pass_page = ReadFile(root + "/HK_Report_files/FM/a.html");
  // The same page asked of a wrong base directory, and of one that is not there.
  const std::string elsewhere = root + "/elsewhere";
  fs::create_directory(elsewhere);
  for (const std::string& base : {elsewhere, root + "/none"}) {
    EXPECT_EQ(Run({"--root", base, "--output", page}).errors, "hkreport: no FM or FSK folder under " + base + "\n");
    EXPECT_EQ(Run({"--root", base, "--format", "fsk", "--output", page}).status, 1);
  }
  EXPECT_EQ(Run({"--root", elsewhere, "--format", "fsk", "--output", page}).errors,
            "hkreport: no FSK folder under " + elsewhere + "\n");
  EXPECT_EQ(ReadFile(page), overview);
  EXPECT_EQ(ReadFile(root + "/HK_Report_files/FM/a.html"), pass_page);
  // A format folder that cannot be listed keeps its pages as they are.
  fs::rename(fm, root + "/FM.kept");
  WriteFile(root + "/FM", "");
  EXPECT_EQ(Run({}).status, 1);
  EXPECT_EQ(ReadFile(root + "/HK_Report_files/FM/a.html"), pass_page);
  // So does one that went missing (a share not mounted, a rename), and the
  // run says so; an unattended run counts it a finding.
  fs::remove(root + "/FM");
  const RunResult missing = Run({"--fail-on", "alarm", "--max-age", "48"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.errors, "hkreport: FM folder missing: " + root + "/FM (its pages are kept)\nhkreport: wrote " +
                                page +
                                " (0 capture files, 0 frames)\nhkreport: FM: no pass to check: its folder is missing\n"
                                "hkreport: FSK: no pass\n");
  EXPECT_EQ(ReadFile(root + "/HK_Report_files/FM/a.html"), pass_page);
  EXPECT_NE(ReadFile(page).find("<p class=\"problem\">The folder is missing: nothing was read. Its pass pages of "
                                "earlier runs are kept.</p>"),
            std::string::npos);
}

TEST_F(HkReport, ACaptureThatCannotBeReadIsCountedAndFailsTheRun) {
  // /proc/self/mem opens as a regular file, but reading it from offset 0 fails.
  fs::create_symlink("/proc/self/mem", fm + "m.txt");
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors.substr(0, result.errors.find('\n')),
            "hkreport: Cannot read " + fm + "m.txt: Input/output error");
  const std::string html = ReadFile(page);
  EXPECT_NE(html.find("<dt>Files that could not be read</dt><dd>1</dd>"), std::string::npos);
  EXPECT_NE(
      html.find("<tr class=\"problem alarm\">" + PassCell("m.html", "m.txt", true) + "<td class=\"text why\">" +
                Reasons({"alarm: cannot read", "alarm: header cut short", "notice: date does not parse"}) + "</td>"),
      std::string::npos);
}

TEST_F(HkReport, FramesPastTheYear9999LeaveTheirPassUndated) {
  // The last second of 9999: frames 10 s apart from 23:59:40 stay in it;
  // from 23:59:50, the second frame would stand in the year 10000.
  const std::string header = WithHeaderValue(PassHeader("2"), "Packets : 12", "Packets : 1");
  std::string second = kExampleFrame;
  second.replace(0, 11, "00 00 01 40");  // 160 s, 10 s after the first
  const std::string frames = kMarker + std::string(" 1 2 3 1F 3 ") + kExampleFrame + " " + second + " 7E";
  WriteFile(fm + "in.txt",
            WithHeaderValue(WithHeaderValue(header, "2019/01/10", "9999/12/31"), "09:15:30", "23:59:40") + frames);
  // The same times at another ResetInfo: no copy of in.txt.
  WriteFile(fm + "past.txt",
            WithHeaderValue(WithHeaderValue(header, "2019/01/10", "9999/12/31"), "09:15:30", "23:59:50") + kMarker +
                " 1 2 3 1F 3 " + ExampleFrameAt(300, 4) + " " + ExampleFrameAt(320, 4) + " 7E");
  ASSERT_EQ(Run({"--format", "fm", "--export", export_file}).status, 0);
  const std::string rows = ReadFile(export_file);
  EXPECT_NE(rows.find("FM,in.txt,9999-12-31 23:59:40,JST,9999-12-31 23:59:50.0,160.000000,"), std::string::npos);
  EXPECT_NE(rows.find("FM,past.txt,,JST,,160.000000,"), std::string::npos);
  EXPECT_NE(ReadFile(page).find("<tr class=\"problem notice\">" + PassCell("past.html", "past.txt") +
                                "<td class=\"text why\">" + Reasons({"notice: frames run past the year 9999"}) +
                                "</td><td class=\"text bad\">9999/12/31 23:59:50</td>"),
            std::string::npos);
}

TEST_F(HkReport, AnUndatedLatestPassShowsItsDateAsText) {
  // No pass on the charts: the latest pass is the last with frames, and its
  // date, which does not parse, stands as the header gives it, as text.
  const std::string header = WithHeaderValue(PassHeader("2"), "2019/01/10", "<i>&");
  WriteFile(fm + "a.txt",
            header + kMarker + " 1 2 3 1F 3 " + ExampleFrameAt(300, 3) + " " + ExampleFrameAt(320, 3) + " 7E");
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  // 12 packets of 2 frames announced; one rise gives no usual step, so no
  // frames missing are told.
  EXPECT_NE(ReadFile(page).find("<h3>FM: " + PassLink("a.html", "a.txt") +
                                "</h3>\n<p>&lt;i&gt;&amp; 09:15:30 JST: 2 frames decoded of 24 expected, 0 repeated, 0 "
                                "cut short.</p>\n"),
            std::string::npos);
  // b, listed after a and undated too, holds no frame: it is the newest
  // pass and says so, and the values shown, there and in the channel
  // table's Last, are a's last frame's (Buss Voltage 3.75 V).
  WriteFile(fm + "b.txt", header);
  ASSERT_EQ(Run({"--format", "fm"}).status, 0);
  const std::string html = ReadFile(page);
  EXPECT_NE(html.find("<h3>FM: " + PassLink("b.html", "b.txt") + "</h3>\n<p>&lt;i&gt;&amp; 09:15:30 JST: 0 frames"),
            std::string::npos);
  EXPECT_NE(html.find("<p>This pass holds no frame. The last values known, from " + PassLink("a.html", "a.txt") +
                      " (&lt;i&gt;&amp; 09:15:30 JST):</p>\n<div class=\"values\"><div class=\"value\"><span>Buss "
                      "Voltage</span><span>3.750000 V</span></div>"),
            std::string::npos);
  EXPECT_EQ(RowCells(html, "<td class=\"text\">Buss Voltage</td>").at(5), "3.750000");
}

TEST_F(HkReport, RefusesToWriteOverWhatItReadsOrWhatIsNoRegularFile) {
  WriteFile(fm + "a.txt", PassHeader("1"));
  WriteFile(fm + "line\nbreak.txt", PassHeader("1"));
  const std::string limits = root + "/limits.txt";
  WriteFile(limits, "Mag_x, , , ,\n");
  ASSERT_EQ(::mkfifo((root + "/fifo").c_str(), 0644), 0);
  fs::create_symlink(root + "/nowhere", root + "/dangling");
  WriteFile(fsk + "f.txt", PassHeader("1"));
  // Pages' folders that lead elsewhere, whose pages there would go astray.
  fs::create_directories(root + "/victim");
  WriteFile(root + "/victim/keep.html", "mine");
  fs::create_symlink(root + "/victim", root + "/linked_files");
  fs::create_directories(root + "/sub_files");
  fs::create_symlink(root + "/victim", root + "/sub_files/FM");
  fs::create_directories(root + "/x");
  struct Case {
    std::vector<std::string> arguments;
    std::string refused;  // as told
    std::string why;
  };
  std::vector<Case> cases{
      {{"--output", fm + "a.txt"}, fm + "a.txt", "it is the capture file " + fm + "a.txt"},
      {{"--output", fm + "line\nbreak.txt"},
       fm + "line\\x0Abreak.txt",
       "it is the capture file " + fm + "line\\x0Abreak.txt"},
      {{"--limits", limits, "--output", limits}, limits, "it is the limits file " + limits},
      {{"--output", root + "/fifo"}, root + "/fifo", "it is not a regular file"},
      {{"--output", root + "/dangling"}, root + "/dangling", "it is a symbolic link that leads nowhere"},
      {{"--export", fm + "a.txt"}, fm + "a.txt", "it is the capture file " + fm + "a.txt"},
      {{"--export", page}, page, "it is the page " + page},
      // The page under other spellings.
      {{"--export", root + "/x/../HK_Report.html"}, root + "/x/../HK_Report.html", "it is the page " + page},
      {{"--export", root + "/./HK_Report.html"}, root + "/./HK_Report.html", "it is the page " + page},
      // A pass page of this run, before it is written.
      {{"--export", root + "/HK_Report_files/FM/../FM/a.html"},
       root + "/HK_Report_files/FM/../FM/a.html",
       "it is the pass page " + root + "/HK_Report_files/FM/a.html"},
      // A year page of this run, or any file in its pages' folder: refused
      // before the dates are read and anything is made.
      {{"--export", root + "/HK_Report_files/FM-2018.html"},
       root + "/HK_Report_files/FM-2018.html",
       "it lies in the pages' folder " + root + "/HK_Report_files"},
      {{"--format", "fsk", "--output", fsk + "f.txt"}, fsk + "f.txt", "it is the capture file " + fsk + "f.txt"},
      // Pages' folders: a link, a format's folder that is a link, a capture
      // folder, even as the base directory names it through a link.
      {{"--output", root + "/linked.html"}, root + "/linked_files", "it is a symbolic link"},
      {{"--output", root + "/sub.html"}, root + "/sub_files/FM", "it is a symbolic link"},
      {{"--output", fm + "in.html"}, fm + "in_files", "it lies in the capture folder " + root + "/FM"},
      {{"--output", fsk + "in.html"}, fsk + "in_files", "it lies in the capture folder " + root + "/FSK"},
      {{"--root", root + "/R", "--output", root + "/R.html"},
       root + "/R_files/FM",
       "it is the capture folder " + root + "/R/FM"},
  };
  fs::create_directories(root + "/R_files/FM");
  fs::create_symlink(root + "/R_files", root + "/R");
  WriteFile(root + "/R_files/FM/notes.html", "mine");
  // A device node can be made only as root.
  const bool as_root = ::geteuid() == 0;
  if (as_root) {
    ASSERT_EQ(::mknod((root + "/null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    cases.push_back({{"--output", root + "/null"}, root + "/null", "it is not a regular file"});
  }
  for (const Case& c : cases) {
    const RunResult result = Run(c.arguments);
    EXPECT_EQ(result.status, 2) << c.refused;
    EXPECT_EQ(result.errors, "hkreport: refusing to write " + c.refused + ": " + c.why + "\n");
    EXPECT_EQ(result.console, "");
  }
  EXPECT_EQ(ReadFile(fm + "a.txt"), PassHeader("1"));
  EXPECT_EQ(ReadFile(fm + "line\nbreak.txt"), PassHeader("1"));
  EXPECT_EQ(ReadFile(limits), "Mag_x, , , ,\n");
  EXPECT_TRUE(fs::is_fifo(root + "/fifo"));
  EXPECT_TRUE(fs::is_symlink(root + "/dangling"));
  EXPECT_TRUE(!as_root || fs::is_character_file(root + "/null"));
  EXPECT_EQ(ReadFile(root + "/victim/keep.html"), "mine");
  EXPECT_EQ(ReadFile(root + "/R_files/FM/notes.html"), "mine");
  EXPECT_FALSE(Exists(page));
  EXPECT_FALSE(Exists(root + "/HK_Report_files"));
  EXPECT_EQ(Temporaries(), std::vector<std::string>{});

  // Once written, a pass page is no place for the overview, nor for the export.
  fs::remove(fm + "line\nbreak.txt");
  ASSERT_EQ(Run({}).status, 0);
  const std::string pass_page = root + "/HK_Report_files/FM/a.html";
  for (const auto& [arguments, why] :
       {std::pair{std::vector<std::string>{"--output", pass_page},
                  std::string("it is a pass page a.html of HK_Report.html")},
        std::pair{std::vector<std::string>{"--export", pass_page}, "it is the pass page " + pass_page}}) {
    EXPECT_EQ(Run(arguments).errors, "hkreport: refusing to write " + pass_page + ": " + why + "\n");
  }
}

TEST_F(HkReport, AFileWhereAFormatsPagesFolderGoesIsTold) {
  WriteFile(fm + "a.txt", PassHeader("1") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E");
  fs::create_directories(root + "/HK_Report_files");
  WriteFile(root + "/HK_Report_files/FM", "not a folder");
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors.substr(0, result.errors.find('\n')),
            "hkreport: Cannot write " + root + "/HK_Report_files/FM: Not a directory");
  EXPECT_EQ(ReadFile(root + "/HK_Report_files/FM"), "not a folder");
  EXPECT_EQ(ReadFile(page).find("HK_Report_files/FM/a.html"), std::string::npos);  // no link to a page not written
}

TEST_F(HkReport, WritesTheFileALinkLeadsToAndWhateverStandsAtPageTmp) {
  ASSERT_EQ(Run({}).status, 0);
  const std::string expected = ReadFile(page);
  fs::remove(page);
  WriteFile(root + "/target.html", "old");
  fs::create_symlink(root + "/target.html", root + "/link.html");
  fs::create_directory(page + ".tmp");  // in nobody's way
  for (const std::string& output : {root + "/link.html", page}) {
    const RunResult result = Run({"--output", output});
    EXPECT_EQ(result.status, 0) << output;
    EXPECT_EQ(result.errors, "hkreport: wrote " + output + " (0 capture files, 0 frames)\n");
  }
  EXPECT_EQ(fs::read_symlink(root + "/link.html"), root + "/target.html");
  EXPECT_EQ(ReadFile(root + "/target.html"), expected);
  EXPECT_EQ(ReadFile(page), expected);
  EXPECT_EQ(Temporaries(), std::vector<std::string>{});
}

TEST_F(HkReport, TwoRunsAtOnceEachWriteAWholePage) {
  WriteManyCaptures();
  const RunResult alone = Run({"--export", export_file});
  const std::string expected = ReadFile(page);
  const std::string expected_export = ReadFile(export_file);
  fs::remove(page);
  fs::remove(export_file);
  std::vector<int> readers;
  std::vector<pid_t> runs;
  for (int i = 0; i < 2; ++i) {
    const std::array<int, 2> ends = SmallPipe();
    runs.push_back(Start(ends[1]));
    ::close(ends[1]);
    readers.push_back(ends[0]);
  }
  // Each blocks on its full standard error with its export half written.
  EXPECT_TRUE(AwaitTemporaries(2));
  const std::vector<std::string> told = ReadToEnd(readers);
  for (int i = 0; i < 2; ++i) {
    const int status = WaitFor(runs[i]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(told[i], alone.errors);
  }
  EXPECT_EQ(ReadFile(page), expected);
  EXPECT_EQ(ReadFile(export_file), expected_export);
  EXPECT_EQ(Temporaries(), std::vector<std::string>{});
}

TEST_F(HkReport, AClosedStandardErrorFailsNoPage) {
  WriteFile(fm + "a.txt", PassHeader("1") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E");
  ASSERT_EQ(Run({}).status, 0);
  const std::string expected = ReadFile(page);
  fs::remove(page);
  // As under "hkreport 2>&1 | head -1", but certain: nobody reads the pipe
  // from the start.
  int ends[2];
  ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
  ::close(ends[0]);
  const pid_t run = Start(ends[1]);
  ::close(ends[1]);
  const int status = WaitFor(run);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(page), expected);
  EXPECT_EQ(Temporaries(), std::vector<std::string>{});
}

TEST_F(HkReport, AnInterruptRemovesThePagesTemporaryFileAndEndsTheRunByItsSignal) {
  WriteManyCaptures();
  // SIGHUP: the terminal or the ssh session of the run was closed.
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    fs::remove_all(root + "/HK_Report_files");
    const std::array<int, 2> ends = SmallPipe();
    const pid_t run = Start(ends[1]);
    ::close(ends[1]);
    // The run blocks on its full standard error while it reads the
    // captures, with its export begun: its temporary file stands.
    ASSERT_TRUE(AwaitTemporaries(1)) << signal_number;
    ::kill(run, signal_number);
    const int status = WaitFor(run);
    ::close(ends[0]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
    EXPECT_EQ(Temporaries(), std::vector<std::string>{}) << signal_number;
    EXPECT_FALSE(Exists(page));
    EXPECT_FALSE(Exists(export_file));
    // The frames' scratch file, written meanwhile, has no name to leave
    // behind: the pages' folder holds its format folders alone.
    for (const auto& entry : fs::directory_iterator(root + "/HK_Report_files")) {
      EXPECT_TRUE(entry.is_directory()) << entry.path() << " " << signal_number;
    }
  }
}

// A run ended by a kill or a power cut leaves its temporary files; a later
// run removes those of this report that no run holds.
TEST_F(HkReport, ALaterRunRemovesTheTemporaryFilesThatNoRunHolds) {
  ASSERT_EQ(Run({}).status, 0);
  const std::string pages = root + "/HK_Report_files";
  const std::vector<std::string> left{page + ".tmp.AbCd12",
                                      root + "/.hkreport.tmp.XyZ987",
                                      pages + "/judged.txt.tmp.Q1w2E3",
                                      pages + "/FM-2019.html.tmp.000000",
                                      pages + "/FM/a.html.tmp.zzzzzz",
                                      export_file + ".tmp.R4t5Y6"};
  const std::vector<std::string> kept{
      page + ".tmp.AbCd1",               // not six characters
      page + ".tmp.AbC-12",              // nor letters and digits
      root + "/notes.txt.tmp.AbCd12",    // not a file of this report beside the page
      pages + "/young.html.tmp.AbCd12",  // written a moment ago: maybe a run's, not yet held
      pages + "/held.html.tmp.AbCd12",   // held by a run
  };
  for (const std::string& file : left) WriteFile(file, "left");
  for (const std::string& file : kept) WriteFile(file, "kept");
  const auto an_hour_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const std::string& file : left) fs::last_write_time(file, an_hour_ago);
  for (const std::string& file : kept) {
    if (!file.ends_with("young.html.tmp.AbCd12")) fs::last_write_time(file, an_hour_ago);
  }
  const int held = ::open(kept.back().c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  ASSERT_EQ(Run({"--export", export_file}).status, 0);
  ::close(held);
  for (const std::string& file : left) EXPECT_FALSE(Exists(file)) << file;
  for (const std::string& file : kept) EXPECT_EQ(ReadFile(file), "kept") << file;
}

TEST_F(HkReport, OpenShowsTheWrittenPageAndAFailureToShowItIsOnlyTold) {
  const std::string bin = root + "/bin";
  fs::create_directory(bin);
  const char* const path_before = std::getenv("PATH");
  const std::string path = path_before ? path_before : "";
  ::setenv("PATH", bin.c_str(), 1);
  struct Case {
    std::string opener;  // the body of the xdg-open script; empty: there is none
    std::string told;
  };
  const Case cases[] = {
      {"echo \"$@\" > " + root + "/opened.txt", ""},
      {"exit 3", "hkreport: cannot show " + page + ": xdg-open ended with status 3\n"},
      {"", "hkreport: cannot show " + page + ": xdg-open: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    fs::remove(bin + "/xdg-open");
    if (!c.opener.empty()) {
      WriteFile(bin + "/xdg-open", "#!/bin/sh\n" + c.opener + "\n");
      fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
    }
    const RunResult result = Run({"--open"});
    EXPECT_EQ(result.status, 0) << c.opener;
    EXPECT_EQ(result.errors, "hkreport: wrote " + page + " (0 capture files, 0 frames)\n" + c.told);
  }
  EXPECT_EQ(ReadFile(root + "/opened.txt"), page + "\n");
  // A page named from the folder it is shown from, starting with "-": no
  // opener takes it for an option.
  WriteFile(bin + "/xdg-open", "#!/bin/sh\necho \"$@\" > " + root + "/opened.txt\n");
  fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
  const fs::path folder = fs::current_path();
  fs::current_path(root);
  EXPECT_EQ(Run({"--open", "--output", "-page.html"}).status, 0);
  fs::current_path(folder);
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(ReadFile(root + "/opened.txt"), "./-page.html\n");
}

}  // namespace
