// hkcsv's problem lines: on the trace, and copied to standard error.
#include "hkcsv/problem_line.h"

#include <cstring>

namespace hkcsv {

void BeginProblem(ProblemLine line, std::string_view program, std::string_view path) {
  if (!line.copy) return;
  WriteBytes(*line.copy, program);
  WriteBytes(*line.copy, ": ");
  if (!path.empty()) {
    WriteBytes(*line.copy, path);
    WriteBytes(*line.copy, ": ");
  }
}

void ProblemText(ProblemLine line, std::string_view text) {
  if (line.trace) WriteBytes(*line.trace, text);
  if (line.copy) WriteBytes(*line.copy, text);
}

void EndProblem(ProblemLine line) {
  if (line.trace) WriteLineEnd(*line.trace);
  if (line.copy) {
    WriteLineEnd(*line.copy);
    Flush(*line.copy);
  }
}

void ReportPathProblem(ProblemLine line, std::string_view program, std::string_view what, std::string_view path,
                       int error) {
  BeginProblem(line, program, "");
  ProblemText(line, what);
  ProblemText(line, " ");
  ProblemText(line, path);
  ProblemText(line, ": ");
  ProblemText(line, std::strerror(error));
  EndProblem(line);
}

}  // namespace hkcsv
