// The packet scanner: packets found in the hex dump, their trace and data rows, through the pipeline in-process.
#include <algorithm>
#include <string>
#include <vector>

#include "capture/read_captures.h"
#include "tests/capture_support.h"
#include "tests/e2e_support.h"

using hkcsv::DownlinkFormat;

namespace {

using Traces = std::vector<std::string>;

const std::string kZeroFrame = [] {
  std::string frame;
  for (int i = 0; i < 78; ++i) frame += "00 ";
  return frame;
}();
const std::string kZeroFrameTrace = [] {
  std::string trace;
  for (int i = 0; i < 78; ++i) trace += "0 ";
  return trace;
}();
// Worked out by hand: every temperature is its channel's offset, gyro
// temperatures read 45.
const char kZeroRowValues[] =
    "0.000000,0, 0, 0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,"
    "127.000000,126.000000,127.000000,126.000000,125.000000,126.000000,128.000000,125.000000,"
    "127.000000,127.000000,126.000000,127.000000,125.000000,127.000000,126.000000,128.000000,"
    "45.000000,45.000000,45.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,\n";

const std::string kExampleRow = std::string("1F,3,") + kExampleRowValues;

// The trace and data rows of one capture "a.txt" with a header of `blocks`.
struct Expected {
  std::string trace;        // after the header's trace
  std::string rows;         // after the column line, "\n" line ends
  std::string errors = "";  // standard error: copies of the trace's problem lines
};

class Scan : public InProcess {
 protected:
  // Through the pipeline alone (0: FM, 1: FSK); a problem told fails the test.
  void Check(int choice, const std::string& blocks, const std::string& dump, const Expected& expected) {
    const PipelineRun run =
        ReadInMemory(choice == 0 ? DownlinkFormat::kFM : DownlinkFormat::kFSK, {{"a.txt", PassHeader(blocks) + dump}});
    EXPECT_EQ(run.traces, Traces{PassHeaderTrace(blocks) + expected.trace});
    EXPECT_EQ(run.data_csv, Crlf(kDataColumns + expected.rows));
  }
  // Through hkcsv's FM run, whose problem lines are in the trace and copied
  // to standard error; they mean no data is missing.
  void CheckProblems(const std::string& blocks, const std::string& dump, const Expected& expected) {
    const std::string fm = Folder(DownlinkFormat::kFM);
    WriteFile(fm + "a.txt", PassHeader(blocks) + dump);
    const AnalysisRun run = Analyze(DownlinkFormat::kFM);
    EXPECT_FALSE(run.data_missing);
    EXPECT_EQ(run.console, AnalysisConsole(fm, {{"a.txt", PassHeaderTrace(blocks) + expected.trace}}));
    EXPECT_EQ(ReadFile(fm + "FM_Analyised_Data.csv"), Crlf(kDataColumns + expected.rows));
    EXPECT_EQ(run.errors, expected.errors);
  }
  // A problem line as copied to standard error, naming the capture file.
  std::string Copy(const std::string& line) {
    return "hkcsv: " + Folder(DownlinkFormat::kFM) + "a.txt: " + line + "\n";
  }
};

TEST_F(Scan, ExampleFrameGivesTheExampleRow) {
  Check(0, "1", std::string("12 34 ") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E 55 66\n",
        {std::string("1 2 3 1F 3 \n") + kExampleFrameTrace + "\n7E\n\n", kExampleRow});
}

TEST_F(Scan, EachValueEchoesAsPercentXPrintsIt) {
  Check(0, "1", std::string(kMarker) + " 10 0A 00 1f 03 " + kExampleFrame + " 7E",
        {std::string("10 A 0 1F 3 \n") + kExampleFrameTrace + "\n7E\n\n", kExampleRow});
}

TEST_F(Scan, MarkerSearch) {
  const std::string packet = std::string(" 1 2 3 1F 3 ") + kExampleFrame + " 7E ";
  const Expected found{std::string("1 2 3 1F 3 \n") + kExampleFrameTrace + "\n7E\n\n", kExampleRow};
  struct Case {
    const char* what;
    std::string dump;
    Expected expected;
  };
  const Case cases[] = {
      {"one wrong value", "51 58 30 54 4C 4D 3E 56 4F 52 41 4E 3B" + packet, {"", ""}},
      {"a missing value", "51 58 30 54 4C 4D 56 4F 52 41 4E 3A" + packet, {"", ""}},
      {"a stray 51 before the marker", std::string("51 ") + kMarker + packet, found},
      {"a broken marker restarting", std::string("51 58 ") + kMarker + packet, found},
      {"lower case and leading zeros", "51 58 30 54 4c 4d 3e 56 4f 52 41 4e 03a" + packet, found},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Check(0, "1", c.dump, c.expected);
  }
}

TEST_F(Scan, FramesPerPacketZeroOrNegativeGivesNoRow) {
  for (const char* blocks : {"0", "-4"}) {
    SCOPED_TRACE(blocks);
    Check(0, blocks, std::string(kMarker) + " 1 2 3 1F 3 7E " + kMarker + " 4 5 6 20 3 7F",
          {"1 2 3 1F 3 \n7E\n\n4 5 6 20 3 \n7F\n\n", ""});
  }
}

TEST_F(Scan, FmTailTakesTheFirstValueOfAnAdjacentMarker) {
  Check(0, "1",
        std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " " + kMarker + " 1 2 3 20 3 " + kExampleFrame + " 7E",
        {std::string("1 2 3 1F 3 \n") + kExampleFrameTrace + "\n51\n\n", kExampleRow});
}

TEST_F(Scan, FskTailReadsZerosThenOneNonzeroValue) {
  Check(1, "1",
        std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " 0 0 0 7E " + kMarker + " 1 2 3 1F 3 " +
            kExampleFrame + " 5",
        {std::string("1 2 3 1F 3 \n") + kExampleFrameTrace + "\n0 0 0 7E\n\n" + "1 2 3 1F 3 \n" + kExampleFrameTrace +
             "\n5\n\n",
         kExampleRow + kExampleRow});
}

TEST_F(Scan, FskTailEndedByTheEndOfTheFile) {
  Check(1, "1", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " 0 0",
        {std::string("1 2 3 1F 3 \n") + kExampleFrameTrace + "\n0 0 ", kExampleRow});
}

TEST_F(Scan, TokensReadAsPercentXReadsThem) {
  // 0x1F and -1 as the packet numbers, 1ff (lower case, above FF) as the
  // switch information, -1 in the reset information.
  std::string frame = kZeroFrame;
  frame.replace(4 * 3, 3, "1ff ");
  frame.replace(9 * 3 + 1, 3, "-1 ");
  std::string trace = kZeroFrameTrace;
  trace.replace(4 * 2, 2, "1FF ");
  trace.replace(9 * 2 + 2, 2, "FFFFFFFF ");
  Check(0, "1", std::string(kMarker) + " +1 2 3 0x1F -1 " + frame + " 0X7e",
        {"1 2 3 1F FFFFFFFF \n" + trace + "\n7E\n\n",
         std::string("1F,FFFFFFFF,") + std::string(kZeroRowValues).replace(9, 6, "1FF, FFFFFFFF, ")});
}

TEST_F(Scan, SlotsHoldingMinusOnePrintAsFFFFFFFF) {
  std::string frame = kZeroFrame;
  frame.replace(4 * 3, 3, "-1 ");            // switch information
  frame.replace(6 * 3, 12, "FF FF FF FF ");  // reset information
  std::string trace = kZeroFrameTrace;
  trace.replace(4 * 2, 2, "FFFFFFFF ");
  trace.replace(6 * 2 + 7, 8, "FF FF FF FF ");
  Check(0, "1", std::string(kMarker) + " 1 2 3 1F 3 " + frame + " 7E",
        {"1 2 3 1F 3 \n" + trace + "\n7E\n\n",
         std::string("1F,3,") + std::string(kZeroRowValues).replace(9, 6, "FFFFFFFF, FFFFFFFF, ")});
}

TEST_F(Scan, FrameHoldingTheMarkerIsReadAsAFrame) {
  std::string frame = kZeroFrame;
  frame.replace(30, 39, std::string(kMarker) + " ");
  std::string trace = kZeroFrameTrace;
  trace.replace(20, 26, "51 58 30 54 4C 4D 3E 56 4F 52 41 4E 3A ");
  const std::string packet = std::string(kMarker) + " 1 2 3 1F 3 " + frame + " 7E ";
  const Expected expected = [&] {
    Expected e;
    e.trace = "1 2 3 1F 3 \n" + trace + "\n7E\n\n";
    return e;
  }();
  const PipelineRun run = ReadInMemory(DownlinkFormat::kFM, {{"a.txt", PassHeader("1") + packet}});
  EXPECT_EQ(run.traces, Traces{PassHeaderTrace("1") + expected.trace});
  // One row, whose bytes 10 to 22 hold the marker's values.
  EXPECT_EQ(std::count(run.data_csv.begin(), run.data_csv.end(), '\n'), 2);
}

TEST_F(Scan, RowsOfSeveralFilesPacketsAndFramesStayInOrder) {
  std::string second = kZeroFrame;
  second.replace(3 * 3, 3, "04 ");  // satellite time 2.0
  const std::string second_trace = [&] {
    std::string t = kZeroFrameTrace;
    t.replace(3 * 2, 2, "4 ");
    return t;
  }();
  const std::string second_row = std::string(kZeroRowValues).replace(0, 8, "2.000000");
  const PipelineRun run = ReadInMemory(
      DownlinkFormat::kFM, {{"a.txt", PassHeader("2") + kMarker + " 1 2 3 A 1 " + kExampleFrame + " " + second +
                                          " 7E " + kMarker + " 1 2 3 B 1 " + second + " " + kExampleFrame + " 7E"},
                            {"b.txt", PassHeader("1") + kMarker + " 1 2 3 C 2 " + kZeroFrame + " 7E"}});
  EXPECT_EQ(run.traces, (Traces{PassHeaderTrace("2") + "1 2 3 A 1 \n" + kExampleFrameTrace + "\n" + second_trace +
                                    "\n7E\n\n" + "1 2 3 B 1 \n" + second_trace + "\n" + kExampleFrameTrace + "\n7E\n\n",
                                PassHeaderTrace("1") + "1 2 3 C 2 \n" + kZeroFrameTrace + "\n7E\n\n"}));
  EXPECT_EQ(run.data_csv, Crlf(kDataColumns + ("A,1," + std::string(kExampleRowValues)) + "A,1," + second_row + "B,1," +
                               second_row + "B,1," + kExampleRowValues + "C,2," + kZeroRowValues));
}

TEST_F(Scan, NonHexTokensAreSkippedWithAWarning) {
  std::string frame = kExampleFrame;
  frame.insert(frame.find("0C"), "zz ");
  std::string trace = kExampleFrameTrace;
  trace.insert(trace.find(" C ") + 1, "Warning: skipped non-hexadecimal token \"zz\"\n");
  const std::string noise(300, 'q');  // arrives whole, longer than any buffer of 255
  CheckProblems("1", noise + " - " + kMarker + " 1 2 3 1F 3 " + frame + " +G 7E",
                {"Warning: skipped non-hexadecimal token \"" + noise +
                     "\"\n"
                     "Warning: skipped non-hexadecimal token \"-\"\n"
                     "1 2 3 1F 3 \n" +
                     trace + "Warning: skipped non-hexadecimal token \"+G\"\n\n7E\n\n",
                 kExampleRow,
                 Copy("Warning: skipped non-hexadecimal token \"" + noise + "\"") +
                     Copy("Warning: skipped non-hexadecimal token \"-\"") +
                     Copy("Warning: skipped non-hexadecimal token \"zz\"") +
                     Copy("Warning: skipped non-hexadecimal token \"+G\"")});
}

TEST_F(Scan, FileCutOffInsideAPacket) {
  const std::string frame = kExampleFrame;
  const std::string cut_frame = frame.substr(0, frame.find(" 0C"));
  const std::string cut_trace =
      std::string(kExampleFrameTrace).substr(0, std::string(kExampleFrameTrace).find(" C ") + 1);
  const char kCut[] = "\nPacket cut short by the end of the file.\n";
  const std::string copy = Copy("Packet cut short by the end of the file.");
  CheckProblems("2", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " " + cut_frame,
                {"1 2 3 1F 3 \n" + std::string(kExampleFrameTrace) + "\n" + cut_trace + kCut, kExampleRow, copy});
  CheckProblems("1", std::string(kMarker) + " 1 2", {std::string("1 2 ") + kCut, "", copy});
  CheckProblems("1", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame,
                {"1 2 3 1F 3 \n" + std::string(kExampleFrameTrace) + kCut, kExampleRow, copy});
  // A huge frame count with a short dump ends at the end of the file.
  CheckProblems("2147483647", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " 7E",
                {"1 2 3 1F 3 \n" + std::string(kExampleFrameTrace) + "\n7E " + kCut, kExampleRow, copy});
  // A packet cut short counts the tokens it read: the marker's 13, then the
  // values read before the end (10 bytes of the second frame; 2 numbers; a
  // whole frame without its tail; the tail taken for a frame's first byte).
  const auto tokens = [](const std::string& blocks, const std::string& dump) {
    std::uint64_t read = 0;
    hkcsv::CaptureEvents events;
    events.read = [&read](const hkcsv::CaptureFile& file) { read = file.counts.tokens; };
    const std::string text = PassHeader(blocks) + dump;
    const hkcsv::CaptureSource capture[] = {{"a.txt", text}};
    hkcsv::ReadCaptures(capture, hkcsv::PacketTail::kOneValue, events);
    return read;
  };
  EXPECT_EQ(tokens("2", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " " + cut_frame), 13u + 5 + 78 + 10);
  EXPECT_EQ(tokens("1", std::string(kMarker) + " 1 2"), 13u + 2);
  EXPECT_EQ(tokens("1", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame), 13u + 5 + 78);
  EXPECT_EQ(tokens("2147483647", std::string(kMarker) + " 1 2 3 1F 3 " + kExampleFrame + " 7E"), 13u + 5 + 78 + 1);
}

TEST_F(Scan, ControlZEndsTheFile) {
  Check(0, "1", std::string("\x1A ") + kMarker + " 1 2 3 1F 3 " + kExampleFrame + " 7E", {"", ""});
}

}  // namespace
