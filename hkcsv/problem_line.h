// A problem line of the trace ("Cannot open ...", "Warning: ...") and its
// copy on standard error, which starts with the program's name and, where the
// line does not name its capture file, the file's path.
#pragma once

#include <string_view>

#include "text/text_output.h"

namespace hkcsv {

struct ProblemLine {
  OutputStream* trace;  // either may be null
  OutputStream* copy;
};

// Starts the line: the copy's prefix "PROGRAM: " and, when `path` is not
// empty, "PATH: ".
void BeginProblem(ProblemLine line, std::string_view program, std::string_view path);
// A piece of the line's text, without a line end.
void ProblemText(ProblemLine line, std::string_view text);
// Ends the line on both; the copy is handed on at once.
void EndProblem(ProblemLine line);

// The whole line "WHAT PATH: REASON" ("Cannot open", "Cannot read", "Cannot
// write", "Cannot list"), REASON the text of the error number `error`.
void ReportPathProblem(ProblemLine line, std::string_view program, std::string_view what, std::string_view path,
                       int error);

}  // namespace hkcsv
