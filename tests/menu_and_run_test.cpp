// The menu, the listing of a format folder and the creation of the CSV files,
// through the real executable.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/e2e_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kEnd = std::string(kMenu) + "FormatType = 2\nProgram is end.\n";

using Menu = EndToEnd;
using AnalysisRun = EndToEnd;

TEST_F(Menu, ChoiceTwoEndsAtOnceAndCreatesNoFile) {
  WriteFile(fm + "a.txt", "");
  const RunResult result = Run("2\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console, kEnd);
  EXPECT_FALSE(Exists(fm + "FM_Analyised_Header.csv"));
  EXPECT_FALSE(Exists(fm + "FM_Analyised_Data.csv"));
}

TEST_F(Menu, OtherNumbersAreEchoedAndIgnored) {
  WriteFile(fm + "a.txt", "");
  const RunResult result = Run("7\n-3 2\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 7\n" + kMenu + "FormatType = -3\n" + kEnd);
  EXPECT_FALSE(Exists(fm + "FM_Analyised_Header.csv"));
}

TEST_F(Menu, EndOfInputClosesTheProgram) {
  for (const char* input : {"", "   \n", "7"}) {
    const RunResult result = Run(input);
    EXPECT_EQ(result.status, 0) << input;
    const std::string echoed = std::string(input) == "7" ? std::string(kMenu) + "FormatType = 7\n" : "";
    EXPECT_EQ(result.console, echoed + kMenu + "Program is end.\n") << input;
  }
}

TEST_F(Menu, TokensThatAreNoIntegerAreDiscarded) {
  const std::string menu = kMenu;
  struct Case {
    const char* input;
    std::string console;
  };
  const Case cases[] = {
      {"abc 2", menu + kEnd},
      {"12abc 2", menu + "FormatType = 12\n" + menu + kEnd},
      {"99999999999 2", menu + kEnd},
      {"- 2", menu + kEnd},
      {"+7 2", menu + "FormatType = 7\n" + kEnd},
      {"x", menu + menu + "Program is end.\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.input).console, c.console) << c.input;
}

TEST_F(AnalysisRun, ListsCaptureFilesAndFoldersInByteOrder) {
  WriteFile(fm + "b.txt", "");
  WriteFile(fm + "a.txt", "");
  WriteFile(fm + "D.TXT", "");
  WriteFile(fm + "c.csv", "");
  WriteFile(fm + "a.txtx", "");
  fs::create_directory(fm + "old.txt");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + "D.TXT\n" + fm + "a.txt\n" + fm +
                                "b.txt\nold.txt (DIR)\n\n\nOutputFile_error = 0\nOutputFile_error = 0\n"
                                "InputFile = 0\n\nInputFile = 0\n\nInputFile = 0\n\n\n" +
                                kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns));
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns));
  EXPECT_FALSE(Exists(fsk + "FSK_Analyised_Header.csv"));
}

TEST_F(AnalysisRun, FskChoiceUsesTheFskFolderAndNames) {
  fs::create_directory(fsk + "only.txt");
  const RunResult result = Run("1 2");
  EXPECT_EQ(result.console, std::string(kMenu) +
                                "FormatType = 1\nonly.txt (DIR)\n\n\n"
                                "OutputFile_error = 0\nOutputFile_error = 0\n\n" +
                                kEnd);
  EXPECT_EQ(ReadFile(fsk + "FSK_Analyised_Header.csv"), Crlf(kHeaderColumns));
  EXPECT_EQ(ReadFile(fsk + "FSK_Analyised_Data.csv"), Crlf(kDataColumns));
}

TEST_F(AnalysisRun, RunningAFormatTwiceGivesTheSameFiles) {
  WriteFile(fm + "a.txt", PassHeader("1") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E\n");
  Run("0 2");
  const std::string header = ReadFile(fm + "FM_Analyised_Header.csv");
  const std::string data = ReadFile(fm + "FM_Analyised_Data.csv");
  EXPECT_EQ(header, Crlf(std::string(kHeaderColumns) + PassHeaderRow("1")));
  EXPECT_EQ(data, Crlf(std::string(kDataColumns) + "1F,3," + kExampleRowValues));
  Run("0 0 2");
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), header);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), data);
}

TEST_F(AnalysisRun, FolderWithNoCaptureFileLeavesTheCsvFilesAlone) {
  WriteFile(fm + "FM_Analyised_Header.csv", "old header");
  WriteFile(fm + "FM_Analyised_Data.csv", "old data");
  fs::remove_all(fsk);  // and a format folder that does not exist
  const RunResult result = Run("0 1 2");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n\n" + kMenu + "FormatType = 1\n\n" + kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), "old header");
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), "old data");
}

TEST_F(AnalysisRun, CaptureFileThatCannotBeOpenedIsReportedAndSkipped) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  fs::create_symlink(fm + "missing", fm + "b.txt");
  WriteFile(fm + "c.txt", PassHeader("0"));
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + "a.txt\n" + fm + "b.txt\n" + fm +
                                "c.txt\n\n\nOutputFile_error = 0\nOutputFile_error = 0\nInputFile = 0\n\n" +
                                PassHeaderTrace("0") + "InputFile = 2\n\nCannot open " + fm +
                                "b.txt: No such file or directory\nInputFile = 0\n\n" + PassHeaderTrace("0") + "\n" +
                                kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"),
            Crlf(std::string(kHeaderColumns) + PassHeaderRow("0") + PassHeaderRow("0")));
}

TEST_F(AnalysisRun, HeaderCsvThatCannotBeCreatedEndsTheRun) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  fs::create_directory(fm + "FM_Analyised_Header.csv");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + "a.txt\n\n\nOutputFile_error = 21\n" +
                                "Cannot open " + fm + "FM_Analyised_Header.csv: Is a directory\n\n" + kEnd);
  EXPECT_FALSE(Exists(fm + "FM_Analyised_Data.csv"));
}

TEST_F(AnalysisRun, DataCsvThatCannotBeCreatedEndsTheRun) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  fs::create_directory(fm + "FM_Analyised_Data.csv");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm +
                                "a.txt\n\n\nOutputFile_error = 0\nOutputFile_error = 21\n" + "Cannot open " + fm +
                                "FM_Analyised_Data.csv: Is a directory\n\n" + kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns));
}

TEST(JapaneseBaseDirectory, PathsPassThroughByteForByte) {
  const std::string root = HKCSV_JAPANESE_ROOT;
  ResetRoot(root);
  const std::string fm = root + "/FM/";
  WriteFile(fm + "パス1.txt", PassHeader("0"));
  const RunResult result = RunHkcsv(HKCSV_JAPANESE_EXE, "0 2");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm +
                                "パス1.txt\n\n\nOutputFile_error = 0\nOutputFile_error = 0\nInputFile = 0\n\n" +
                                PassHeaderTrace("0") + "\n" + kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(std::string(kHeaderColumns) + PassHeaderRow("0")));
}

}  // namespace
