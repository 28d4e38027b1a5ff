// Helpers of the capture pipeline's tests: captures read in memory as one run, and hkcsv's run in-process.
#include "tests/capture_support.h"

#include <unistd.h>

#include <filesystem>

#include "analysis/analysis.h"
#include "analysis/capture/capture.h"
#include "analysis/csv_rows.h"
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
  CaptureOutput out;
  out.trace = &trace;
  out.header_csv = &header_csv;
  out.opened = [&](const std::string&, int) {
    Flush(trace);
    starts.push_back(trace_text.size());
  };
  out.frame = [&data_csv](const DecodedFrame& frame) { WriteDataRow(data_csv, frame); };
  std::vector<std::string> own;
  std::vector<std::string>& tokens = skipped ? *skipped : own;
  out.skipped_token = [&tokens](TokenPart part, std::string_view text) {
    if (part == TokenPart::kStart) tokens.emplace_back();
    if (part == TokenPart::kPiece) tokens.back() += text;
  };
  out.cut_short = [] { ADD_FAILURE() << "packet cut short"; };
  ReadCaptures(sources, ConstantsOf(format).tail, out);
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
