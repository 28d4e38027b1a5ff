// The bundled capture files, run as the README's first command runs them, and
// compared with CSV files kept in the repository (rows checked by hand when
// they were first made: satellite time, bus voltage, temperatures, gyro and
// magnetometer values). A guard against any change of output.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e_support.h"

namespace fs = std::filesystem;

namespace {

using BundledSamples = EndToEnd;

TEST_F(BundledSamples, GiveTheKeptCsvFiles) {
  for (const char* format : {"FM", "FSK"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(HKCSV_SOURCE_DIR) / "samples" / format)) {
      fs::copy_file(entry.path(), fs::path(root) / format / entry.path().filename());
    }
  }
  const RunResult result = Run("0 1 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console.find("Warning"), std::string::npos);
  EXPECT_EQ(result.console.find("cut short"), std::string::npos);
  const fs::path golden = fs::path(HKCSV_SOURCE_DIR) / "tests" / "golden";
  for (const char* name : {"FM_Analyised_Header.csv", "FM_Analyised_Data.csv"}) {
    EXPECT_EQ(ReadFile(fm + name), ReadFile((golden / name).string())) << name;
  }
  for (const char* name : {"FSK_Analyised_Header.csv", "FSK_Analyised_Data.csv"}) {
    EXPECT_EQ(ReadFile(fsk + name), ReadFile((golden / name).string())) << name;
  }

  // The report's overview of the same files with the bundled limits, its
  // base directory's text aside, and the page of the first FM pass (numbers
  // checked by hand against the data CSV when they were kept: Buss Voltage
  // min 3.752441 in the first pass, mean 3.788714, last 3.837891; the first
  // pass's SatTime 1214189 to 1214239 in rises of 10 s, ResetInfo 2 to 2;
  // the second pass restarted: its first SatTime 1071174 lies below).
  fs::copy_file(fs::path(HKCSV_SOURCE_DIR) / "samples" / "HK_limits.txt", fs::path(root) / "HK_limits.txt");
  const RunResult report = RunWithArguments(HKREPORT_EXE, {"--root", root, "--limits", root + "/HK_limits.txt"});
  EXPECT_EQ(report.status, 0) << report.errors;
  std::string page = ReadFile(root + "/HK_Report.html");
  for (std::size_t at; (at = page.find(root)) != std::string::npos;) page.replace(at, root.size(), "ROOT");
  EXPECT_EQ(page, ReadFile((golden / "HK_Report.html").string()));
  EXPECT_EQ(ReadFile(root + "/HK_Report_files/FM/pass_20190110_0915.html"),
            ReadFile((golden / "pass_20190110_0915.html").string()));
}

// An upgrade: pass pages that hkreport 1.1 wrote carry no mark. A page of
// 1.1 at its own capture's page name is this report's and is replaced; the
// same page where another capture's page goes, or elsewhere, is left alone.
TEST_F(BundledSamples, PassPagesOf1_1AreReplacedWhereTheyStand) {
  const fs::path samples = fs::path(HKCSV_SOURCE_DIR) / "samples" / "FM";
  for (const char* name : {"pass_20190110_0915.txt", "pass_20190111_2130.txt"}) {
    fs::copy_file(samples / name, fs::path(fm) / name);
  }
  const std::string old_page = ReadFile(std::string(HKCSV_SOURCE_DIR) + "/tests/golden/pass_20190110_0915-1.1.html");
  const std::string pages = root + "/HK_Report_files/FM/";
  fs::create_directories(pages);
  WriteFile(pages + "pass_20190110_0915.html", old_page);
  WriteFile(pages + "notes.html", old_page);  // no pass page's name: not touched, not removed
  const std::vector<std::string> run{"--root", root, "--format", "fm"};
  WriteFile(pages + "pass_20190111_2130.html", old_page);  // the page of another capture
  const RunResult refused = RunWithArguments(HKREPORT_EXE, run);
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.errors,
            "hkreport: refusing to write " + pages + "pass_20190111_2130.html: it is not a page of this report\n");
  fs::remove(pages + "pass_20190111_2130.html");
  const RunResult upgraded = RunWithArguments(HKREPORT_EXE, run);
  EXPECT_EQ(upgraded.status, 0) << upgraded.errors;
  EXPECT_NE(ReadFile(pages + "pass_20190110_0915.html"), old_page);
  EXPECT_EQ(ReadFile(pages + "notes.html"), old_page);
}

// The SHA-256 digest of a file, as sha256sum prints it.
std::string Digest(const std::string& path) {
  const std::string command = "sha256sum '" + path + "'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char text[65] = {};
  if (pipe) {
    if (std::fread(text, 1, 64, pipe) != 64) text[0] = '\0';
    ::pclose(pipe);
  }
  return text;
}

// Captures from the benchmark's generator (about 8 MB each, 30,000 frames in
// all), whose outputs were recorded before the reader and writers were tuned
// for speed: every byte must stay as it was.
TEST_F(BundledSamples, BigGeneratedCapturesGiveTheKeptDigests) {
  const std::string generator = std::string(HKCSV_SOURCE_DIR) + "/bench/make_capture.py";
  ASSERT_EQ(std::system(("python3 '" + generator + "' FM 8 '" + fm + "big.txt'").c_str()), 0);
  ASSERT_EQ(std::system(("python3 '" + generator + "' FSK 8 '" + fsk + "big.txt'").c_str()), 0);
  RunResult result = Run("0 1 2");
  for (std::size_t at; (at = result.console.find(root)) != std::string::npos;)
    result.console.replace(at, root.size(), "ROOT");
  WriteFile(root + "/console.txt", result.console);
  EXPECT_EQ(Digest(root + "/console.txt"), "13399aa4e857f887c9abb3216890d952ed97f0cad861e1245deb13e47cdd4886");
  EXPECT_EQ(Digest(fm + "FM_Analyised_Data.csv"), "80fa68c5a0026c232c1a4c81531889dedb2d57d51c6fdf195373fef80349b01b");
  EXPECT_EQ(Digest(fsk + "FSK_Analyised_Data.csv"), "9ec00365db103e41404269c55b00b63aa8b4d55a89833359c2f4d6b63d0b0037");
  EXPECT_EQ(Digest(fm + "FM_Analyised_Header.csv"), "b6b2b9a32bf91c4ee51912cb404a3f52883d373c07a914b020e635aa666686a2");
}

}  // namespace
