// Helpers of the end-to-end tests: folders of capture files, a run of the
// real hkcsv executable with piped standard input, and the texts it prints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

struct RunResult {
  int status;
  std::string console;  // standard output
  std::string errors;   // standard error
};

// Runs `exe` with `input` on standard input; captures standard output and
// standard error apart.
RunResult RunHkcsv(const std::string& exe, std::string_view input);
// Runs `exe` with `arguments` and no input; captures both outputs apart.
RunResult RunWithArguments(const std::string& exe, const std::vector<std::string>& arguments);

// Runs `exe` as RunWithArguments does, but no file it writes may grow past
// `bytes` (RLIMIT_FSIZE, its signal ignored: such a write fails with EFBIG,
// as on a full disk).
RunResult RunWithFileSizeLimit(const std::string& exe, const std::vector<std::string>& arguments, std::size_t bytes);

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// Empties `path` (or creates it) and creates the FM and FSK folders in it.
void ResetRoot(const std::string& path);
// An empty folder of the test's own under the test temporary folder,
// `NAME_PID`, with an empty subfolder "sub".
std::string OwnFolder(const std::string& name);

// Each "\n" as CR LF: how the CSV files store line ends.
std::string Crlf(std::string_view text);

// The four menu lines.
extern const char kMenu[];
// The column lines of the two CSV files, with "\n" as their line end.
extern const char kHeaderColumns[];
extern const char kDataColumns[];

// A pass header whose last field gives `blocks` frames per packet, and the
// header CSV row it yields (line end "\n").
std::string PassHeader(std::string_view blocks);
std::string PassHeaderRow(std::string_view blocks);
// The console trace of PassHeader(blocks).
std::string PassHeaderTrace(std::string_view blocks);

// The whole console of the input "0 2" (FM) or "1 2" (FSK) over a folder
// whose capture files, named in byte order, all open: each file's name and
// the trace of its header and packets.
struct TracedFile {
  std::string name;
  std::string trace;
};
std::string RunConsole(int choice, const std::string& folder, const std::vector<TracedFile>& files);
// The part of it that the analysis of the format writes, after the line
// "FormatType = N" and before the menu again.
std::string AnalysisConsole(const std::string& folder, const std::vector<TracedFile>& files);
// The console of the program's end after choice 2.
std::string EndConsole();

// The 13 marker values as hex tokens, without a trailing space.
extern const char kMarker[];
// The 78 bytes of a frame whose values are worked out by hand, and its row
// after "1F,3," (line end "\n").
extern const char kExampleFrame[];
extern const char kExampleFrameTrace[];  // as echoed: "%X " per value
extern const char kExampleRowValues[];

#ifdef HKCSV_EXE
// A fixture whose base directory is emptied before each test.
class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { ResetRoot(root); }
  RunResult Run(std::string_view input) { return RunHkcsv(HKCSV_EXE, input); }

  const std::string root = HKCSV_ROOT;
  const std::string fm = root + "/FM/";
  const std::string fsk = root + "/FSK/";
};
#endif
