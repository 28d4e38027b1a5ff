// Helpers of the capture pipeline's tests: captures read in memory as one run, and hkcsv's run in-process.
#include "tests/capture_support.h"

#include <unistd.h>

#include <filesystem>

#include "capture/capture_listing.h"
#include "capture/reader.h"
#include "hkcsv/analysis.h"
#include "hkcsv/csv_rows.h"
#include "hkcsv/trace_echo.h"
#include "platform/files.h"
#include "tests/e2e_support.h"

using namespace hkcsv;

PipelineRun ReadInMemory(DownlinkFormat format, const Captures& captures, std::vector<std::string>* skipped) {
  std::vector<CaptureSource> sources;
  for (const auto& [name, text] : captures) sources.push_back({name, text});
  std::string trace_text;
  PipelineRun run;
  OutputStream trace = OutputToMemory(&trace_text, false);
  OutputStream header_csv = OutputToMemory(&run.header_csv, true);
  OutputStream data_csv = OutputToMemory(&run.data_csv, true);
  WriteHeaderColumnLine(header_csv);
  WriteDataColumnLine(data_csv);
  std::vector<std::size_t> starts;
  CaptureEvents events;
  events.opened = [&](const std::string&, int) {
    Flush(trace);
    starts.push_back(trace_text.size());
  };
  events.header = [&header_csv](const hkcsv::PassHeader& header) { WriteHeaderRow(header_csv, header); };
  events.frame = [&data_csv](const DecodedFrame& frame) { WriteDataRow(data_csv, frame); };
  std::vector<std::string> own;
  std::vector<std::string>& tokens = skipped ? *skipped : own;
  events.skipped_token = [&tokens](TokenPart part, std::string_view text) {
    if (part == TokenPart::kStart) tokens.emplace_back();
    if (part == TokenPart::kPiece) tokens.back() += text;
  };
  events.cut_short = [] { ADD_FAILURE() << "packet cut short"; };
  TraceEcho echo{trace};
  ReadCaptures(sources, ConstantsOf(format).tail, events, echo);
  Flush(trace);
  Flush(header_csv);
  Flush(data_csv);
  starts.push_back(trace_text.size());
  for (const std::string& token : own) ADD_FAILURE() << "skipped token \"" << token << "\"";
  for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
    run.traces.push_back(trace_text.substr(starts[i], starts[i + 1] - starts[i]));
  }
  return run;
}

void InProcess::TearDown() {
  if (!root_.empty()) std::filesystem::remove_all(root_);
}

std::string InProcess::Folder(DownlinkFormat format) {
  if (root_.empty()) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = ::testing::TempDir() + "hkcsv_" + test->test_suite_name() + "." + test->name() + "." +
            std::to_string(::getpid());
    ResetRoot(root_);
  }
  // The separator the program itself writes between folders.
  return root_ + kPathSeparator + ConstantsOf(format).folder + kPathSeparator;
}

AnalysisRun InProcess::Analyze(DownlinkFormat format) {
  Folder(format);
  AnalysisRun run;
  OutputStream console = OutputToMemory(&run.console, false);
  OutputStream errors = OutputToMemory(&run.errors, false);
  ProblemReport problems{&errors, true, false};
  AnalyzeFormat(format, root_, console, problems);
  Flush(console);
  Flush(errors);
  run.data_missing = problems.data_missing;
  return run;
}
