// The menu, the listing of a format folder and the creation of the CSV files,
// through the real executable.
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>

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

// Reads what `fd` offers until `count` bytes have come or `seconds` pass.
std::string ReadFor(int fd, std::size_t count, int seconds) {
  std::string got;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (got.size() < count && std::chrono::steady_clock::now() < until) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

TEST_F(Menu, ReachesTheConsoleBeforeTheProgramWaitsForInput) {
  int input[2];
  int output[2];
  ASSERT_EQ(::pipe(input), 0);
  ASSERT_EQ(::pipe(output), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(input[0], 0);
    ::dup2(output[1], 1);
    for (int fd : {input[0], input[1], output[0], output[1]}) ::close(fd);
    ::execl(HKCSV_EXE, HKCSV_EXE, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(input[0]);
  ::close(output[1]);
  // Standard input stays open and empty: the menu must come all the same.
  EXPECT_EQ(ReadFor(output[0], std::strlen(kMenu), 20), kMenu);
  EXPECT_EQ(::write(input[1], "2\n", 2), 2);
  ::close(input[1]);
  EXPECT_EQ(ReadFor(output[0], 1 << 20, 20), "FormatType = 2\nProgram is end.\n");
  ::close(output[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
      // A lone sign at the end of the input is discarded like any other.
      {"-", menu + menu + "Program is end.\n"},
      {"7+", menu + "FormatType = 7\n" + menu + menu + "Program is end.\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.input).console, c.console) << c.input;
}

TEST_F(AnalysisRun, ListsCaptureFilesAndFoldersInByteOrder) {
  WriteFile(fm + "b.txt", "");
  WriteFile(fm + "a.txt", "");
  WriteFile(fm + "D.TXT", "");
  WriteFile(fm + ".txt", "");
  WriteFile(fm + "c.csv", "");
  WriteFile(fm + "a.txtx", "");
  fs::create_directory(fm + "old.txt");
  fs::create_directory(root + "/elsewhere");
  fs::create_directory_symlink(root + "/elsewhere", fm + "x.txt");  // a link to a folder is a folder
  const std::string long_name = std::string(250, 'n') + ".txt";     // its path is over 256 bytes
  WriteFile(fm + long_name, "");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + ".txt\n" + fm + "D.TXT\n" + fm + "a.txt\n" +
                                fm + "b.txt\n" + fm + long_name + "\nold.txt (DIR)\nx.txt (DIR)\n\n\n" +
                                "OutputFile_error = 0\nOutputFile_error = 0\n" +
                                "InputFile = 0\n\nInputFile = 0\n\nInputFile = 0\n\nInputFile = 0\n\n"
                                "InputFile = 0\n\n\n" +
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
  fs::remove_all(fsk);  // and a format folder that does not exist: nothing to do
  const RunResult result = Run("0 1 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n\n" + kMenu + "FormatType = 1\n\n" + kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), "old header");
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), "old data");
}

TEST_F(AnalysisRun, FolderThatCannotBeListedIsReportedOnStandardError) {
  const std::string nothing = std::string(kMenu) + "FormatType = 0\n\n" + kMenu + "FormatType = 1\n\n" + kEnd;
  struct Case {
    const char* what;
    std::function<void()> make;
    std::string errors;
  };
  const Case cases[] = {
      {"no base directory", [&] { fs::remove_all(root); },
       "hkcsv: Cannot list " + root + "/FM: No such file or directory\nhkcsv: Cannot list " + root +
           "/FSK: No such file or directory\n"},
      {"a file in the folder's place",
       [&] {
         fs::remove_all(fm);
         WriteFile(root + "/FM", "");
       },
       "hkcsv: Cannot list " + root + "/FM: Not a directory\n"},
      {"no permission to read the folder", [&] { fs::permissions(fsk, fs::perms::none); },
       "hkcsv: Cannot list " + root + "/FSK: Permission denied\n"},
  };
  for (const Case& c : cases) {
    if (std::string(c.what) == "no permission to read the folder" && ::geteuid() == 0) continue;  // root reads all
    ResetRoot(root);
    c.make();
    const RunResult result = Run("0 1 2");
    EXPECT_EQ(result.status, 1) << c.what;
    EXPECT_EQ(result.console, nothing) << c.what;
    EXPECT_EQ(result.errors, c.errors) << c.what;
    if (fs::exists(fsk)) fs::permissions(fsk, fs::perms::owner_all);
  }
}

TEST_F(AnalysisRun, ProblemLinesAreNotCopiedWhenBothOutputsAreOneFile) {
  WriteFile(fm + "a.txt", PassHeader("1") + "zz");
  fs::create_symlink(fm + "missing", fm + "b.txt");
  const std::string merged = root + "/merged.txt";
  const std::string command = "printf '0 2' | '" + std::string(HKCSV_EXE) + "' > '" + merged + "' 2>&1";
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(ReadFile(merged), Run("0 2").console);
}

TEST_F(AnalysisRun, CaptureFileThatCannotBeOpenedIsReportedAndSkipped) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  fs::create_symlink(fm + "missing", fm + "b.txt");
  WriteFile(fm + "c.txt", PassHeader("0"));
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkcsv: Cannot open " + fm + "b.txt: No such file or directory\n");
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
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "hkcsv: Cannot open " + fm + "FM_Analyised_Header.csv: Is a directory\n");
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm + "a.txt\n\n\nOutputFile_error = 21\n" +
                                "Cannot open " + fm + "FM_Analyised_Header.csv: Is a directory\n\n" + kEnd);
  EXPECT_FALSE(Exists(fm + "FM_Analyised_Data.csv"));
}

TEST_F(AnalysisRun, DataCsvThatCannotBeCreatedEndsTheRun) {
  WriteFile(fm + "a.txt", PassHeader("0"));
  fs::create_directory(fm + "FM_Analyised_Data.csv");
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.console, std::string(kMenu) + "FormatType = 0\n" + fm +
                                "a.txt\n\n\nOutputFile_error = 0\nOutputFile_error = 21\n" + "Cannot open " + fm +
                                "FM_Analyised_Data.csv: Is a directory\n\n" + kEnd);
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns));
}

TEST_F(AnalysisRun, NamesWithBytesAbove7FSortAfterAsciiNames) {
  // Created out of order; each file's weather and packet number tell it apart.
  const char* const names[] = {"\xEF\xBD\x9A.txt", "z.txt", "\xE3\x83\x91\xE3\x82\xB9.txt", "A.txt"};
  const char* const sorted[] = {"A.txt", "z.txt", "\xE3\x83\x91\xE3\x82\xB9.txt", "\xEF\xBD\x9A.txt"};
  auto number = [&](const std::string& name) {
    return std::to_string(std::find(std::begin(names), std::end(names), name) - std::begin(names));
  };
  auto weather = [&](const std::string& name) { return std::string("W").append(number(name)); };
  auto packet = [&](const std::string& name) { return number(name); };
  for (const std::string name : names) {
    std::string header = PassHeader("1");
    header.replace(header.find("Fine"), 4, weather(name));
    WriteFile(fm + name, header + kMarker + " 1 2 3 " + packet(name) + " 3 " + kExampleFrame + " 7E");
  }
  std::vector<TracedFile> traced;
  std::string header_rows;
  std::string data_rows;
  for (const std::string name : sorted) {
    std::string trace = PassHeaderTrace("1") + "1 2 3 " + packet(name) + " 3 \n" + kExampleFrameTrace + "\n7E\n\n";
    trace.replace(trace.find("Fine"), 4, weather(name));
    traced.push_back({name, trace});
    std::string row = PassHeaderRow("1");
    header_rows += row.replace(row.find("Fine"), 4, weather(name));
    data_rows += packet(name) + ",3," + kExampleRowValues;
  }
  const RunResult result = Run("0 2");
  EXPECT_EQ(result.console, RunConsole(0, fm, traced));
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"), Crlf(kHeaderColumns + header_rows));
  EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns + data_rows));
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
