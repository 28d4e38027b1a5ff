// Helpers of the capture pipeline's tests: captures read in memory as one run, and hkcsv's run in-process.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "capture/downlink_format.h"

// Captures in memory, each its name and its text, in the order of the run.
using Captures = std::vector<std::pair<std::string, std::string>>;

// What the pipeline gives for captures read as one run: the trace of each
// capture, and the two CSV files as hkcsv writes them (column line, then the
// header rows and the data rows of WriteDataRow, CR LF line ends).
struct PipelineRun {
  std::vector<std::string> traces;
  std::string header_csv;
  std::string data_csv;
};

// Reads `captures` through ReadCaptures. A packet cut short fails the test,
// and so does a skipped token unless `skipped` takes the tokens: the lines
// that tell them are hkcsv's own, checked through AnalyzeFormat.
PipelineRun ReadInMemory(hkcsv::DownlinkFormat format, const Captures& captures,
                         std::vector<std::string>* skipped = nullptr);

// hkcsv's run of one format, in-process: its console and standard error.
struct AnalysisRun {
  std::string console;
  std::string errors;
  bool data_missing;
};

// A fixture for tests of the pipeline whose few cases about hkcsv's own lines
// run AnalyzeFormat on a base directory of the test's own, made on first use
// and removed after the test.
class InProcess : public ::testing::Test {
 protected:
  void TearDown() override;
  // The base directory's format folder, emptied on first use: ".../FM/".
  std::string Folder(hkcsv::DownlinkFormat format);
  AnalysisRun Analyze(hkcsv::DownlinkFormat format);

 private:
  std::string root_;
};
