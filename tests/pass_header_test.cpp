// The pass header of capture files: its trace and header CSV row, through the capture pipeline in-process.
#include <string>
#include <vector>

#include "tests/capture_support.h"
#include "tests/e2e_support.h"

using hkcsv::DownlinkFormat;

namespace {

using PassHeaderReader = InProcess;
using Traces = std::vector<std::string>;

// One FM run over `captures`.
PipelineRun Read(const Captures& captures) { return ReadInMemory(DownlinkFormat::kFM, captures); }

// The header with its fields named F0 to F16, one field per line.
const char kNamedHeader[] =
    "F0 : 2019/01/10 09:15:30 JST\nF1 : 09:10:00\nF2 : 09:20:00\nF3 : 45 deg\nF4 : 120 deg\nF5 : 300 deg\n"
    "F6 : 8 degC\nF7 : 1015 hPa\nF8 : Fine\nF9 : Sunshine\nF10 : xyz\nF11 : Right Hand\nF12 : 5\nF13 : 12\n"
    "F14 : GMSK\nF15 : HK data\nF16 : 2\n";
const char kNamedTrace[] =
    "F0 : 2019/01/10 09:15:30 JST \nF1 : 09:10:00 \nF2 : 09:20:00 \nF3 : 45 deg \nF4 : 120 deg \n"
    "F5 : 300 deg \nF6 : 8 degC \nF7 : 1015 hPa \nF8 : Fine \nF9 : Sunshine \nF10 : \nF11 : Right Hand \n"
    "F12 : 5 \nF13 : 12 \nF14 : GMSK \nF15 : HK data \nF16 : 2 \n";
const char kNamedRow[] =
    "2019/01/10, 09:15:30, 09:10:00, 09:20:00, 45, 120, 300, 8, 1015, Fine, Sunshine, Right Hand, 5, 12, GMSK, "
    "HK data, 2, \n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST_F(PassHeaderReader, NamedHeaderGivesSeventeenCellsAndSeventeenLines) {
  const PipelineRun run = Read({{"a.txt", kNamedHeader}});
  EXPECT_EQ(run.traces, Traces{kNamedTrace});
  EXPECT_EQ(run.header_csv, Crlf(std::string(kHeaderColumns) + kNamedRow));
  EXPECT_EQ(run.data_csv, Crlf(kDataColumns));
}

TEST_F(PassHeaderReader, LineLayoutDoesNotMatter) {
  std::string one_line = kNamedHeader;
  for (char& c : one_line) {
    if (c == '\n') c = ' ';
  }
  const std::string crlf = Crlf(kNamedHeader);
  std::string mixed = kNamedHeader;
  for (char& c : mixed) {
    if (c == ' ') c = '\t';
  }
  for (const std::string& header : {one_line, crlf, mixed}) {
    EXPECT_EQ(Read({{"a.txt", header}}).header_csv, Crlf(std::string(kHeaderColumns) + kNamedRow)) << header;
  }
}

TEST_F(PassHeaderReader, NamesAreAnyTokensNotStartingWithAColon) {
  struct Case {
    const char* what;
    std::string header;
    std::string trace;
    std::string row;
  };
  const Case cases[] = {
      {"value holding colons", Replaced(kNamedHeader, "F8 : Fine", "F8 : :rain:"),
       Replaced(kNamedTrace, "F8 : Fine", "F8 : :rain:"), Replaced(kNamedRow, "Fine,", ":rain:,")},
      {"name of several tokens", Replaced(kNamedHeader, "F3 :", "MAX Angle of Attack :"),
       Replaced(kNamedTrace, "F3 :", "MAX Angle of Attack :"), kNamedRow},
      {"field without a name", Replaced(kNamedHeader, "F4 :", ":"), Replaced(kNamedTrace, "F4 :", ":"), kNamedRow},
      {"name ending in a colon", Replaced(kNamedHeader, "F8 :", "Weather: :"),
       Replaced(kNamedTrace, "F8 :", "Weather: :"), kNamedRow},
      {"colon token with more after it", Replaced(kNamedHeader, "F9 :", "F9 :x"),
       Replaced(kNamedTrace, "F9 :", "F9 :x"), kNamedRow},
      {"field 10's value never shows", Replaced(kNamedHeader, "xyz", "secret"), kNamedTrace, kNamedRow},
      {"too many values: the extra one names the next field",
       Replaced(kNamedHeader, "F1 : 09:10:00", "F1 : 09:10:00 extra"), Replaced(kNamedTrace, "F2 :", "extra F2 :"),
       kNamedRow},
      {"too few values: the next field's name is taken", Replaced(kNamedHeader, "F3 : 45 deg", "F3 : 45"),
       Replaced(kNamedTrace, "F3 : 45 deg \nF4 :", "F3 : 45 F4 \n:"), kNamedRow},
      {"too few values, taken name written", Replaced(kNamedHeader, "F1 : 09:10:00", "F1 :"),
       Replaced(kNamedTrace, "F1 : 09:10:00 \nF2 :", "F1 : F2 \n:"), Replaced(kNamedRow, "09:10:00,", "F2,")},
      {"a NUL byte ends a token's text", Replaced(kNamedHeader, "Fine", std::string("Fi\0ne", 5)),
       Replaced(kNamedTrace, "Fine", "Fi"), Replaced(kNamedRow, "Fine", "Fi")},
  };
  for (const Case& c : cases) {
    const PipelineRun run = Read({{"a.txt", c.header}});
    EXPECT_EQ(run.traces, Traces{c.trace}) << c.what;
    EXPECT_EQ(run.header_csv, Crlf(kHeaderColumns + c.row)) << c.what;
  }
}

TEST_F(PassHeaderReader, FileWithoutColonTokenIsEchoedAndWritesNothing) {
  const PipelineRun run = Read({{"a.txt", "just some words\n12 34\n"}});
  EXPECT_EQ(run.traces, Traces{"just some words 12 34 "});
  EXPECT_EQ(run.header_csv, Crlf(kHeaderColumns));
  EXPECT_EQ(run.data_csv, Crlf(kDataColumns));
}

TEST_F(PassHeaderReader, OverlongTokensAreCutTo254Bytes) {
  const std::string name(300, 'N');
  const std::string value(300, 'v');
  const std::string header = Replaced(Replaced(kNamedHeader, "F8 : Fine", name + " : " + value), "F9", "F9");
  const PipelineRun run = Read({{"a.txt", header}});
  const std::string cut_name(254, 'N');
  const std::string cut_value(254, 'v');
  EXPECT_EQ(run.traces, Traces{Replaced(kNamedTrace, "F8 : Fine", cut_name + " : " + cut_value)});
  EXPECT_EQ(run.header_csv, Crlf(kHeaderColumns + Replaced(kNamedRow, "Fine,", cut_value + ",")));
}

TEST_F(PassHeaderReader, RowsOfTwoFilesStandOnTheirOwnLines) {
  const PipelineRun run = Read({{"a.txt", kNamedHeader}, {"b.txt", Replaced(kNamedHeader, "Fine", "Rain")}});
  EXPECT_EQ(run.traces, (Traces{kNamedTrace, Replaced(kNamedTrace, "Fine", "Rain")}));
  EXPECT_EQ(run.header_csv, Crlf(kHeaderColumns + std::string(kNamedRow) + Replaced(kNamedRow, "Fine", "Rain")));
}

TEST_F(PassHeaderReader, NumberOfFramesIsReadAsADecimalInteger) {
  struct Case {
    const char* value;    // the token of the last field
    const char* shown;    // as written and echoed
    const char* scanned;  // what the packet scanner then prints
  };
  const Case cases[] = {
      {"0", "0", ""},
      {"-4", "-4", ""},
      {"+7", "7", ""},
      {"3A", "3", ""},  // "A" is read by the packet scanner, outside any packet
      {"1Q", "1", "Warning: skipped non-hexadecimal token \"Q\"\n"},
      {"x", "0", "Warning: skipped non-hexadecimal token \"x\"\n"},   // keeps the run's earlier value, 0
      {"-Q", "0", "Warning: skipped non-hexadecimal token \"Q\"\n"},  // the sign is consumed
  };
  // hkcsv's run, for the warnings are its own lines.
  const std::string fm = Folder(DownlinkFormat::kFM);
  for (const Case& c : cases) {
    WriteFile(fm + "a.txt", Replaced(kNamedHeader, "F16 : 2", std::string("F16 : ") + c.value));
    EXPECT_EQ(Analyze(DownlinkFormat::kFM).console,
              AnalysisConsole(fm, {{"a.txt", Replaced(kNamedTrace, "F16 : 2 ", std::string("F16 : ") + c.shown + " ") +
                                                 c.scanned}}))
        << c.value;
    EXPECT_EQ(ReadFile(fm + "FM_Analyised_Header.csv"),
              Crlf(kHeaderColumns + Replaced(kNamedRow, " 2, ", std::string(" ") + c.shown + ", ")))
        << c.value;
  }
}

TEST_F(PassHeaderReader, NumberOfFramesCarriesOverToTheNextFile) {
  std::vector<std::string> skipped;
  const PipelineRun run = ReadInMemory(
      DownlinkFormat::kFM,
      {{"a.txt", kNamedHeader}, {"b.txt", Replaced(kNamedHeader, "F16 : 2", "F16 : x")}, {"c.txt", "no header at all"}},
      &skipped);
  EXPECT_EQ(run.header_csv, Crlf(kHeaderColumns + std::string(kNamedRow) + kNamedRow));
  EXPECT_EQ(skipped, std::vector<std::string>{"x"});  // no number: left to the packet scanner
}

TEST_F(PassHeaderReader, HeaderCutShortStillEndsItsRow) {
  const std::string header = kNamedHeader;
  struct Case {
    const char* what;
    std::string file;
    std::string trace;
    std::string row;
  };
  const Case cases[] = {
      {"between fields", header.substr(0, header.find("F6")),
       std::string(kNamedTrace).substr(0, std::string(kNamedTrace).find("F6")),
       "2019/01/10, 09:15:30, 09:10:00, 09:20:00, 45, 120, 300, \n"},
      {"inside a field", header.substr(0, header.find("degC")),
       std::string(kNamedTrace).substr(0, std::string(kNamedTrace).find("degC")),
       "2019/01/10, 09:15:30, 09:10:00, 09:20:00, 45, 120, 300, 8, \n"},
      {"before the number of frames", header.substr(0, header.find(" 2\n")),
       std::string(kNamedTrace).substr(0, std::string(kNamedTrace).find("F16 : ") + 6),
       Replaced(kNamedRow, "HK data, 2, ", "HK data, ")},
      // A lone sign converts nothing: the earlier value (0 at the run's start)
      // is written and echoed, as for any value that is no number.
      {"at a lone sign as the number", header.substr(0, header.find(" 2\n")) + " -",
       std::string(kNamedTrace).substr(0, std::string(kNamedTrace).find("F16 : ") + 6) + "0 \n",
       Replaced(kNamedRow, "HK data, 2, ", "HK data, 0, ")},
  };
  for (const Case& c : cases) {
    const PipelineRun run = Read({{"a.txt", c.file}, {"b.txt", kNamedHeader}});
    EXPECT_EQ(run.traces, (Traces{c.trace, kNamedTrace})) << c.what;
    EXPECT_EQ(run.header_csv, Crlf(kHeaderColumns + c.row + kNamedRow)) << c.what;
  }
}

}  // namespace
