#include <string>

#include "analysis/analysis.h"
#include "analysis/csv_rows.h"
#include "analysis/problem_line.h"
#include "platform/files.h"

namespace hkcsv {

namespace {

constexpr std::string_view kProgram = "hkcsv";

ProblemLine ProblemOn(OutputStream& console, const ProblemReport& problems) {
  return {&console, problems.copy_trace ? problems.errors : nullptr};
}

// "Cannot open PATH: REASON" or "Cannot write PATH: REASON" of a CSV file.
void ReportFailure(OutputStream& console, ProblemReport& problems, const char* what, const std::string& path,
                   int error) {
  ReportPathProblem(ProblemOn(console, problems), kProgram, what, path, error);
  problems.data_missing = true;
}

// Creates a CSV file and writes its column line. Prints the open's result
// code; returns false, with a message, when the file cannot be created.
bool CreateCsv(const std::string& path, void (*column_line)(OutputStream&), OutputStream& csv, OutputStream& console,
               ProblemReport& problems) {
  File file;
  const int error = CreateForWriting(path, file);
  WriteText(console, "OutputFile_error = ");
  WriteDecimal(console, error);
  WriteText(console, "\n");
  if (error != 0) {
    ReportFailure(console, problems, "Cannot open", path, error);
    return false;
  }
  csv = OutputToFile(std::move(file), true);
  column_line(csv);
  return true;
}

// Closes a CSV file; a write that failed on the way is reported here.
void CloseCsv(const std::string& path, OutputStream& csv, OutputStream& console, ProblemReport& problems) {
  if (const int error = CloseOutput(csv)) ReportFailure(console, problems, "Cannot write", path, error);
}

// Prints the listing: folders by name with "(DIR)", capture files by full
// path. Returns the paths of the capture files, in listing order.
std::vector<std::string> PrintListing(const CaptureListing& listing, OutputStream& console) {
  std::vector<std::string> InputFilePath;
  for (const FolderEntry& entry : listing.entries) {
    if (entry.is_folder) {
      WriteText(console, entry.name);
      WriteText(console, " (DIR)\n");
    } else {
      InputFilePath.push_back(listing.folder + kPathSeparator + entry.name);
      WriteText(console, InputFilePath.back());
      WriteText(console, "\n");
    }
  }
  WriteText(console, "\n\n");
  return InputFilePath;
}

// Recreates both CSV files and processes the capture files in order. A CSV
// file that cannot be created ends the run.
void ProcessCaptureFiles(const std::vector<std::string>& InputFilePath, const std::string& FileDirectory,
                         const FormatConstants& constants, OutputStream& console, ProblemReport& problems) {
  const std::string header_path = FileDirectory + constants.header_csv;
  const std::string data_path = FileDirectory + constants.data_csv;
  OutputStream header_csv;
  OutputStream data_csv;
  if (!CreateCsv(header_path, WriteHeaderColumnLine, header_csv, console, problems)) return;
  if (!CreateCsv(data_path, WriteDataColumnLine, data_csv, console, problems)) {
    CloseCsv(header_path, header_csv, console, problems);
    return;
  }
  CaptureOutput out;
  out.trace = &console;
  out.header_csv = &header_csv;
  out.errors = problems.copy_trace ? problems.errors : nullptr;
  out.program = kProgram;
  out.frame = [&data_csv](const RunState& run) { WriteDataRow(data_csv, run); };
  RunState run;
  for (const std::string& path : InputFilePath) {
    const CaptureFile file = ReadCaptureFile(path, constants.tail, run, out);
    if (file.open_error != 0 || file.read_error != 0) problems.data_missing = true;
  }
  CloseCsv(header_path, header_csv, console, problems);
  CloseCsv(data_path, data_csv, console, problems);
}

// "hkcsv: Cannot list PATH: REASON", on standard error only: the trace of a
// folder that lists nothing stays as it is.
void ReportListingFailure(const CaptureListing& listing, ProblemReport& problems) {
  problems.data_missing = true;
  ReportPathProblem({nullptr, problems.errors}, kProgram, "Cannot list", listing.folder, listing.error);
}

}  // namespace

void AnalyzeFormat(DownlinkFormat format, std::string_view sample_root, OutputStream& console,
                   ProblemReport& problems) {
  const FormatConstants& constants = ConstantsOf(format);
  const CaptureListing listing = ListCaptures(sample_root, constants);
  if (listing.error != 0) ReportListingFailure(listing, problems);
  // Nothing listed: the CSV files of an earlier run stay as they are.
  if (!listing.entries.empty()) {
    ProcessCaptureFiles(PrintListing(listing, console), listing.folder + kPathSeparator, constants, console, problems);
  }
  WriteText(console, "\n");
}

}  // namespace hkcsv
