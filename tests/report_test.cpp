// hkreport through the real executable: its command line, its messages and
// exit status, and the numbers of its pass and channel tables for capture
// files whose values are worked out by hand.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e_support.h"

namespace fs = std::filesystem;

namespace {

class HkReport : public EndToEnd {
 protected:
  RunResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--root", root});
    return RunWithArguments(HKREPORT_EXE, arguments);
  }
  const std::string page = root + "/HK_Report.html";
};

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

std::string PassCell(const std::string& page, const std::string& name) {
  return "<td class=\"text\">" + PassLink(page, name) + "</td>";
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
  EXPECT_EQ(result.errors, "hkreport: " + fm + "a.txt: 1 frames, 1 tokens skipped, 1 cut short\n" +
                               "hkreport: Cannot open " + fm + "b.txt: No such file or directory\n" +
                               "hkreport: " + fm + "c.txt: 2 frames, 0 tokens skipped, 0 cut short\n" +
                               "hkreport: " + fm + "d.txt: 0 frames, 0 tokens skipped, 0 cut short\n" +
                               "hkreport: " + fm + "f.txt: 0 frames, 0 tokens skipped, 0 cut short\n" +
                               "hkreport: wrote " + page + " (5 capture files, 3 frames)\n");
  const std::string html = ReadFile(page);
  const std::string no_frames = "<td></td><td></td><td></td><td></td><td></td><td></td><td></td>";
  for (const std::string& row : {
           "<tr class=\"problem\">" + PassCell("a.html", "a.txt") +
               "<td class=\"text why\">10 packets missing, cut short, 1 token skipped</td>" + kHeaderCells +
               "<td class=\"text\">GMSK</td><td class=\"text\">1</td><td class=\"text bad\">12</td>"
               "<td class=\"bad\">2</td><td>1</td><td>12</td><td></td><td>0</td><td class=\"bad\">1</td>"
               "<td class=\"bad\">1</td><td>150.000000</td><td>150.000000</td><td class=\"text\">3</td>"
               "<td class=\"text\">3</td><td>0</td><td>3.750000</td><td>33.925000</td></tr>\n",
           "<tr class=\"problem\">" + PassCell("b.html", "b.txt") +
               "<td class=\"text bad\" colspan=\"22\">Cannot open: No such file or directory</td></tr>\n",
           "<tr class=\"problem\">" + PassCell("c.html", "c.txt") + "<td class=\"text why\">1 restart</td>" +
               kHeaderCells +
               "<td class=\"text\">&lt;b&gt;&amp;</td><td class=\"text\">1</td><td class=\"text\">02</td>"
               "<td>2</td><td>2</td><td>2</td><td></td><td>0</td><td>0</td><td>0</td>"
               "<td>150.000000</td><td>0.000000</td><td class=\"text\">3</td><td class=\"text bad\">0</td>"
               "<td class=\"bad\">1</td><td>0.000000</td><td>127.000000</td></tr>\n",
           "<tr class=\"problem\">" + PassCell("d.html", "d.txt") + "<td class=\"text why\">no frames decoded</td>" +
               kHeaderCells +
               "<td class=\"text\">GMSK</td><td class=\"text\">0</td><td class=\"text\">1</td><td>1</td>"
               "<td class=\"bad\">0</td><td></td><td></td><td>0</td><td>0</td><td>0</td>" +
               no_frames + "</tr>\n",
           // Cut after its 13th cell: only the cell the header ends before is marked.
           "<tr class=\"problem\">" + PassCell("f.html", "f.txt") + "<td class=\"text why\">header cut short</td>" +
               kHeaderCells +
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
           "<tr class=\"problem\"><td class=\"text\">Solar Current 1</td><td class=\"text\">mA</td>"
           "<td>0.000000</td><td>20.833333</td><td>31.250000</td><td class=\"red\">0.000000</td>" +
               at_newest + at_first + "<td>0</td><td class=\"bad\">1</td></tr>\n",
           // Equal values: the first frame read holds the extreme. No limits:
           // no counts, which are not 0.
           "<tr><td class=\"text\">Mag_y</td><td class=\"text\">nT</td><td>0.000000</td><td>0.000000</td>"
           "<td>0.000000</td><td>0.000000</td>" +
               at_newest + at_newest + "<td></td><td></td></tr>\n",
           // Each pass counts its own samples past a limit; the satellite
           // restarted between a and A: A's counter fell from 160 to 0.
           "<tr class=\"problem\">" + PassCell("A.html", "A.txt") +
               "<td class=\"text why\">restarted since the previous pass, 1 sample past red</td>"
               "<td class=\"text\">2019-01-11 09:15:30</td>",
           std::string("<td>0.000000</td><td>0.000000</td><td class=\"text bad\">0</td><td class=\"text\">0</td>"
                       "<td class=\"bad\">1</td><td>0.000000</td><td>127.000000</td><td>1</td>"
                       "<td class=\"bad\">1</td></tr>\n"),
           "<tr>" + PassCell("a~2.html", "a.txt") + "<td class=\"text why\"></td>" + kHeaderCells +
               "<td class=\"text\">GMSK</td><td class=\"text\">2</td><td class=\"text\">1</td><td>1</td><td>2</td>"
               "<td>2</td><td></td><td>0</td><td>0</td><td>0</td><td>150.000000</td><td>160.000000</td>"
               "<td class=\"text\">3</td><td class=\"text\">3</td><td>0</td><td>3.750000</td><td>33.925000</td>"
               "<td>1</td><td>0</td></tr>\n",
       }) {
    EXPECT_NE(html.find(row), std::string::npos) << row;
  }
  EXPECT_NE(html.find("<th>Past yellow</th><th>Past red</th>"), std::string::npos);
}

TEST_F(HkReport, CommandLine) {
  WriteFile(root + "/bad_limits.txt", "Buss Voltage, 1, 2, 3, 4\nBus Voltage, 1, 2, 3, 4\nMag_x, 5, 4, , \n");
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
       "hkreport: cannot write " + root + "/no/such/page_files: No such file or directory"},
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
  EXPECT_EQ(version.console.rfind("hkreport ", 0), 0u);
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
      {"no base directory",
       "none",
       1,
       {"<p class=\"problem\">Cannot list " + root + "/FM: No such file or directory</p>"}},
  };
  for (const Case& c : cases) {
    ResetRoot(root);
    std::string output = root + "/HK_Report.html";
    if (c.make_root == "no-fsk") fs::remove_all(fsk);
    if (c.make_root == "none") {
      fs::remove_all(root);
      output = root + "_page.html";
    }
    const RunResult result = Run({"--output", output});
    EXPECT_EQ(result.status, c.status) << c.what;
    const std::string html = ReadFile(output);
    for (const std::string& text : c.shown) EXPECT_NE(html.find(text), std::string::npos) << c.what << ": " << text;
    EXPECT_NE(result.errors.find("hkreport: wrote " + output + " (0 capture files, 0 frames)\n"), std::string::npos)
        << c.what;
    fs::remove(root + "_page.html");
    fs::remove_all(root + "_page_files");
  }
}

}  // namespace
