// hkcsv's analysis run: the listing, the two CSV files, and every capture
// file of the format through the capture pipeline, with its problem lines.
#include <string>

#include "capture/capture_listing.h"
#include "capture/reader.h"
#include "hkcsv/analysis.h"
#include "hkcsv/csv_rows.h"
#include "hkcsv/problem_line.h"
#include "hkcsv/trace_echo.h"
#include "platform/files.h"
#include "text/failure_text.h"

namespace hkcsv {

namespace {

constexpr std::string_view kProgram = "hkcsv";

ProblemLine ProblemOn(OutputStream& console, const ProblemReport& problems) {
  return {&console, problems.copy_trace ? problems.errors : nullptr};
}

// "Cannot open PATH: REASON" or "Cannot write PATH: REASON" of a CSV file.
void ReportFailure(OutputStream& console, ProblemReport& problems, Attempt what, const std::string& path, int error) {
  ReportPathProblem(ProblemOn(console, problems), kProgram, AttemptWords(what), path, error);
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
    ReportFailure(console, problems, Attempt::kOpen, path, error);
    return false;
  }
  csv = OutputToFile(std::move(file), true);
  column_line(csv);
  return true;
}

// Closes a CSV file; a write that failed on the way is reported here.
void CloseCsv(const std::string& path, OutputStream& csv, OutputStream& console, ProblemReport& problems) {
  if (const int error = CloseOutput(csv)) ReportFailure(console, problems, Attempt::kWrite, path, error);
}

// Prints the listing: folders by name with "(DIR)", capture files by full
// path. Returns the capture files, in listing order.
std::vector<CaptureSource> PrintListing(const CaptureListing& listing, OutputStream& console) {
  for (const FolderEntry& entry : listing.entries) {
    if (entry.is_folder) {
      WriteText(console, entry.name);
      WriteText(console, " (DIR)\n");
    } else {
      WriteText(console, listing.folder + kPathSeparator + entry.name);
      WriteText(console, "\n");
    }
  }
  WriteText(console, "\n\n");
  return CaptureSources(listing);
}

// The trace and problem lines of the capture files as the pipeline reads
// them: "InputFile = %d\n\n" after each open, and a line for each problem.
struct CaptureProblems {
  ProblemLine line;
  ProblemReport& problems;
  std::string path;   // the capture file being read
  bool shown = true;  // a skipped token shows as "%s" would: up to a NUL byte
};

void TellOpened(CaptureProblems& told, OutputStream& console, const std::string& path, int error) {
  told.path = path;
  WriteText(console, "InputFile = ");
  WriteDecimal(console, error);
  WriteText(console, "\n\n");
  if (error == 0) return;
  ReportPathProblem(told.line, kProgram, AttemptWords(Attempt::kOpen), path, error);
  told.problems.data_missing = true;
}

void TellSkippedToken(CaptureProblems& told, TokenPart part, std::string_view text) {
  switch (part) {
    case TokenPart::kStart:
      BeginProblem(told.line, kProgram, told.path);
      ProblemText(told.line, "Warning: skipped non-hexadecimal token \"");
      told.shown = true;
      break;
    case TokenPart::kPiece:
      if (told.shown) {
        const std::size_t nul = text.find('\0');
        ProblemText(told.line, text.substr(0, nul));
        told.shown = nul == std::string_view::npos;
      }
      break;
    case TokenPart::kEnd:
      ProblemText(told.line, "\"");
      EndProblem(told.line);
      break;
  }
}

void TellCutShort(const CaptureProblems& told) {
  BeginProblem(told.line, kProgram, told.path);
  ProblemText(told.line, "Packet cut short by the end of the file.");
  EndProblem(told.line);
}

void TellRead(CaptureProblems& told, const CaptureFile& file) {
  if (file.read_error == 0) return;
  ReportPathProblem(told.line, kProgram, AttemptWords(Attempt::kRead), told.path, file.read_error);
  told.problems.data_missing = true;
}

// Recreates both CSV files and processes the capture files in order. A CSV
// file that cannot be created ends the run.
void ProcessCaptureFiles(const std::vector<CaptureSource>& InputFilePath, const std::string& FileDirectory,
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
  CaptureProblems told{ProblemOn(console, problems), problems, {}};
  CaptureEvents events;
  events.opened = [&](const std::string& path, int error) { TellOpened(told, console, path, error); };
  events.header = [&header_csv](const PassHeader& header) { WriteHeaderRow(header_csv, header); };
  events.frame = [&data_csv](const DecodedFrame& frame) { WriteDataRow(data_csv, frame); };
  events.skipped_token = [&told](TokenPart part, std::string_view text) { TellSkippedToken(told, part, text); };
  events.cut_short = [&told] { TellCutShort(told); };
  events.read = [&told](const CaptureFile& file) { TellRead(told, file); };
  TraceEcho trace{console};
  ReadCaptures(InputFilePath, constants.tail, events, trace);
  CloseCsv(header_path, header_csv, console, problems);
  CloseCsv(data_path, data_csv, console, problems);
}

// "hkcsv: Cannot list PATH: REASON", on standard error only: the trace of a
// folder that lists nothing stays as it is.
void ReportListingFailure(const CaptureListing& listing, ProblemReport& problems) {
  problems.data_missing = true;
  ReportPathProblem({nullptr, problems.errors}, kProgram, AttemptWords(Attempt::kList), listing.folder, listing.error);
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
