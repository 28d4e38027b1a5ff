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

TEST_F(HkReport, PassTableShowsEachFileAndMarksItsProblems) {
  // a.txt: 12 packets announced, 2 found, the second cut short; one token
  // skipped. Its frame is the worked example: SatTime 150, Buss Voltage
  // 3.75, Battery Temp1 33.25 and Temp2 33.925.
  WriteFile(fm + "a.txt", PassHeader("1") + "zz " + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E " + kMarker +
                              " 1 2 3 20 3 00 00 01");
  fs::create_symlink(fm + "nowhere", fm + "b.txt");
  // c.txt: the example frame, then the zero frame: the satellite's clock
  // went back from 150 to 0, one restart. Its modulation is markup.
  WriteFile(fm + "c.txt",
            WithHeaderValue(WithHeaderValue(PassHeader("1"), "Packets : 12", "Packets : 2"), "GMSK", "<b>&") + kMarker +
                " 1 2 3 1 3 " + kExampleFrame + " 7E " + kMarker + " 1 2 3 2 3 " + ZeroFrame() + " 7E");
  const RunResult result = Run({"--format", "fm"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkreport: " + fm + "a.txt: 1 frames, 1 tokens skipped, 1 cut short\n" +
                               "hkreport: Cannot open " + fm + "b.txt: No such file or directory\n" +
                               "hkreport: " + fm + "c.txt: 2 frames, 0 tokens skipped, 0 cut short\n" +
                               "hkreport: wrote " + page + " (3 capture files, 3 frames)\n");
  const std::string html = ReadFile(page);
  const std::string header_cells =
      "<td class=\"text\">2019/01/10</td><td class=\"text\">09:15:30</td><td class=\"text\">09:10:00</td>"
      "<td class=\"text\">09:20:00</td><td class=\"text\">45</td>";
  for (const std::string& row : {
           "<tr class=\"problem\"><td class=\"text\">a.txt</td>" + header_cells +
               "<td class=\"text\">GMSK</td><td class=\"text\">1</td><td class=\"text bad\">12</td>"
               "<td class=\"bad\">2</td><td>1</td><td class=\"bad\">1</td><td class=\"bad\">1</td>"
               "<td>150.000000</td><td>150.000000</td><td>0</td><td>3.750000</td><td>33.925000</td></tr>\n",
           std::string("<tr class=\"problem\"><td class=\"text\">b.txt</td>"
                       "<td class=\"text bad\" colspan=\"17\">Cannot open: No such file or directory</td></tr>\n"),
           "<tr><td class=\"text\">c.txt</td>" + header_cells +
               "<td class=\"text\">&lt;b&gt;&amp;</td><td class=\"text\">1</td><td class=\"text\">2</td>"
               "<td>2</td><td>2</td><td>0</td><td>0</td>"
               "<td>150.000000</td><td>0.000000</td><td>1</td><td>0.000000</td><td>127.000000</td></tr>\n",
       }) {
    EXPECT_NE(html.find(row), std::string::npos) << row;
  }
}

TEST_F(HkReport, ChannelTableAndLimitsCountedOnBothSidesOfEachBoundary) {
  // a.txt holds the example frame, b.txt, a day later, the zero frame.
  WriteFile(fm + "a.txt", PassHeader("1") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E");
  WriteFile(fm + "b.txt", WithHeaderValue(PassHeader("1"), "2019/01/10", "2019/01/11") + kMarker + " 1 2 3 1F 3 " +
                              ZeroFrame() + " 7E");
  // Buss Voltage 3.75 and 0 lie on their limits: inside. Buss Current 0 is
  // below 0.1: yellow. Solar Current 1 31.25 lies on its red limit, 0 is
  // below it: red.
  WriteFile(root + "/limits.txt",
            "\xEF\xBB\xBF# both sides of each boundary\r\n\r\n"
            "Buss Voltage, , 0, 3.75,\r\n"
            " Buss Current ,  , 0.1 , , \r\n"
            "Solar Current 1, 31.25, , ,\r\n");
  const RunResult result = Run({"--format", "fm", "--limits", root + "/limits.txt"});
  EXPECT_EQ(result.status, 0) << result.errors;
  const std::string html = ReadFile(page);
  const std::string at_a = "<td class=\"text\">2019/01/10 09:15:30</td>";
  const std::string at_b = "<td class=\"text\">2019/01/11 09:15:30</td>";
  for (const std::string& row : {
           "<tr><td class=\"text\">Buss Voltage</td><td>0.000000</td><td>1.875000</td><td>3.750000</td>"
           "<td>0.000000</td>" +
               at_b + at_a + "<td>0</td><td>0</td></tr>\n",
           "<tr><td class=\"text\">Buss Current</td><td>0.000000</td><td>122.070312</td><td>244.140625</td>"
           "<td>0.000000</td>" +
               at_b + at_a + "<td>1</td><td>0</td></tr>\n",
           "<tr class=\"problem\"><td class=\"text\">Solar Current 1</td><td>0.000000</td><td>15.625000</td>"
           "<td>31.250000</td><td>0.000000</td>" +
               at_b + at_a + "<td>0</td><td class=\"bad\">1</td></tr>\n",
           // Equal values: the first pass holds the extreme.
           "<tr><td class=\"text\">Mag_y</td><td>0.000000</td><td>0.000000</td><td>0.000000</td>"
           "<td>0.000000</td>" +
               at_a + at_a + "<td>0</td><td>0</td></tr>\n",
           // Each pass counts its own samples past a limit.
           std::string("<td>3.750000</td><td>33.925000</td><td>0</td><td>0</td></tr>\n"),
           std::string("<td>0.000000</td><td>127.000000</td><td>1</td><td class=\"bad\">1</td></tr>\n"),
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
       "hkreport: cannot write " + root + "/no/such/page.html: No such file or directory"},
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
      {"no capture files", "", 0, {"<p>No capture files were found.</p>", "<p>No capture files in this folder.</p>"}},
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
  }
}

}  // namespace
