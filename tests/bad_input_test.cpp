// Whatever the receiver recorded: noise, cut-off files, odd folder entries and
// outputs that cannot be written. hkcsv must finish, lose nothing it read
// whole, and never report a failure as success.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

#include "tests/e2e_support.h"

namespace fs = std::filesystem;

namespace {

using BadInput = EndToEnd;

const std::string kExampleRow = std::string("1F,3,") + kExampleRowValues;

std::vector<std::string> Tokens(const std::string& text) {
  std::istringstream stream(text);
  std::vector<std::string> tokens;
  for (std::string token; stream >> token;) tokens.push_back(token);
  return tokens;
}

TEST_F(BadInput, NoiseWithoutAColonWritesNoRow) {
  std::mt19937 random(5);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) {
    c = static_cast<char>(random());
    if (c == ':' || c == '\x1A') c = 'n';  // no colon token, no end-of-file byte
  }
  WriteFile(fm + "x.txt", noise);
  WriteFile(fm + "nul.txt", std::string(10000, '\0'));
  WriteFile(fm + "token.txt", std::string(1 << 20, 'T'));
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns));
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns));
  // The long token is echoed cut to 254 bytes, the NUL file as an empty token.
  EXPECT_NE(result.console.find("InputFile = 0\n\n InputFile"), std::string::npos);
  EXPECT_NE(result.console.find("\n\n" + std::string(254, 'T') + " InputFile"), std::string::npos);
}

TEST_F(BadInput, HeaderOnlyAndNonHexDumps) {
  WriteFile(fm + "a.txt", PassHeader("2"));
  // "are" reads as A, the way "%X" reads it; only its rest "re" is skipped.
  WriteFile(fm + "b.txt", PassHeader("2") + "these are no hex ggg\n");
  WriteFile(fm + "c.txt",
            PassHeader("1") + std::string(1 << 20, '0') + "1F " + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console,
            RunConsole(0, fm,
                       {{"a.txt", PassHeaderTrace("2")},
                        {"b.txt", PassHeaderTrace("2") + "Warning: skipped non-hexadecimal token \"these\"\n"
                                                         "Warning: skipped non-hexadecimal token \"re\"\n"
                                                         "Warning: skipped non-hexadecimal token \"no\"\n"
                                                         "Warning: skipped non-hexadecimal token \"hex\"\n"
                                                         "Warning: skipped non-hexadecimal token \"ggg\"\n"},
                        {"c.txt", PassHeaderTrace("1") + "1 2 3 1F 3 \n" + kExampleFrameTrace + "\n7E\n\n"}}));
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"),
            Crlf(kHeaderColumns + PassHeaderRow("2") + PassHeaderRow("2") + PassHeaderRow("1")));
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns + kExampleRow));
}

TEST_F(BadInput, CaptureCutAtEveryToken) {
  const std::string header = PassHeader("2");
  const std::vector<std::string> tokens =
      Tokens(header + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " " + kExampleFrame + " 7E");
  const std::size_t header_tokens = Tokens(header).size();
  const std::size_t frames_start = header_tokens + 13 + 5;
  std::string expected_rows;
  std::size_t cut_inside_packet = 0;
  std::string text;
  for (std::size_t cut = 0; cut <= tokens.size(); ++cut) {
    char name[32];
    std::snprintf(name, sizeof name, "cut_%04zu.txt", cut);
    WriteFile(fm + name, text);
    for (std::size_t frame = 1; frame <= 2; ++frame) {
      if (cut >= frames_start + 78 * frame) expected_rows += kExampleRow;
    }
    if (cut >= header_tokens + 13 && cut < tokens.size()) ++cut_inside_packet;
    if (cut < tokens.size()) text += tokens[cut] + (cut % 7 == 0 ? "\r\n" : " ");
  }
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns + expected_rows));
  std::size_t messages = 0;
  for (std::size_t at = 0; (at = result.console.find("Packet cut short", at)) != std::string::npos; ++at) ++messages;
  EXPECT_EQ(messages, cut_inside_packet);
  // Every file that wrote a cell (from its third token on: "Date : 2019/01/10")
  // has a row of its own, whole or cut short.
  const std::string header_csv = ReadFile(fm + "FM_Analyised_Header.csv");
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = header_csv.find("\r\n", at)) != std::string::npos; ++at) ++lines;
  EXPECT_EQ(lines, 1 + tokens.size() + 1 - 3);
  EXPECT_EQ(header_csv.substr(header_csv.size() - 2), "\r\n");
}

TEST_F(BadInput, EntriesThatCannotBeOpenedAreReportedAndSkipped) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  fs::create_symlink(fm + "nowhere", fm + "y.txt");
  ASSERT_EQ(::mkfifo((fm + "z.txt").c_str(), 0644), 0);
  WriteFile(fm + "zz.txt", PassHeader("0"));
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkcsv: Cannot open " + fm + "y.txt: No such file or directory\nhkcsv: Cannot open " + fm +
                               "z.txt: Invalid argument\n");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + "a.txt\n" + fm + "y.txt\n" + fm + "z.txt\n" +
                                fm + "zz.txt\n\n\nOutputFile_error = 0\nOutputFile_error = 0\n" + "InputFile = 0\n\n" +
                                PassHeaderTrace("0") + "InputFile = 2\n\nCannot open " + fm +
                                "y.txt: No such file or directory\nInputFile = 22\n\nCannot open " + fm +
                                "z.txt: Invalid argument\nInputFile = 0\n\n" + PassHeaderTrace("0") + "\n" +
                                EndConsole());
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns + PassHeaderRow("0") + PassHeaderRow("0")));
}

// /proc/self/mem opens as a regular file, but reading it from offset 0 fails:
// nothing is mapped there. The failed read alone must fail the run.
TEST_F(BadInput, CaptureThatCannotBeReadIsReportedAndFailsTheRun) {
  fs::create_symlink("/proc/self/mem", fm + "m.txt");
  WriteFile(fm + "z.txt", PassHeader("0"));
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkcsv: Cannot read " + fm + "m.txt: Input/output error\n");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + "m.txt\n" + fm + "z.txt\n\n\n" +
                                "OutputFile_error = 0\nOutputFile_error = 0\nInputFile = 0\n\nCannot read " + fm +
                                "m.txt: Input/output error\nInputFile = 0\n\n" + PassHeaderTrace("0") + "\n" +
                                EndConsole());
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns + PassHeaderRow("0")));
}

TEST_F(BadInput, AThousandCaptureFilesAreAllProcessedInNameOrder) {
  std::string expected_rows;
  for (int i = 999; i >= 0; --i) {  // created in reverse order
    char name[32];
    std::snprintf(name, sizeof name, "pass%04d.txt", i);
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, " 1 2 3 %X 3 ", i);
    WriteFile(fm + name, PassHeader("1") + kMarker + numbers + kExampleFrame + " 7E");
  }
  for (int i = 0; i < 1000; ++i) {
    char start[16];
    std::snprintf(start, sizeof start, "%X,3,", i);
    expected_rows += start + std::string(kExampleRowValues);
  }
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns + expected_rows));
}

TEST_F(BadInput, CsvThatCannotBeWrittenIsReported) {
  WriteFile(fm + "a.txt", PassHeader("1") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E");
  fs::create_symlink("/dev/full", fm + "FM_Analyised_Data.csv");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkcsv: Cannot write " + fm + "FM_Analyised_Data.csv: No space left on device\n");
  EXPECT_EQ(result.console,
            std::string(kMenu) + "FormatType = 0\n" + fm + "a.txt\n\n\nOutputFile_error = 0\nOutputFile_error = 0\n" +
                "InputFile = 0\n\n" + PassHeaderTrace("1") + "1 2 3 1F 3 \n" + kExampleFrameTrace + "\n7E\n\n" +
                "Cannot write " + fm + "FM_Analyised_Data.csv: No space left on device\n\n" + EndConsole());
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns + PassHeaderRow("1")));
}

TEST_F(BadInput, ConsoleThatCannotBeWrittenFailsTheProgram) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  const std::string command = std::string("printf '0 2' | '") + HKCSV_EXE + "' > /dev/full 2>/dev/null";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
}

}  // namespace
