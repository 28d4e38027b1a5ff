// hkreport's progress on a terminal: one line on standard error that
// rewrites itself as a run goes on (formats, files read, pages written), as
// people expect of a run that takes seconds. Nothing when standard error is
// no terminal: a log or a mail holds only lines that stay.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/output/report.h"
#include "text/text_output.h"

namespace hkcsv {

struct ProgressLine {
  bool shown = false;                            // standard error is a terminal
  std::size_t width = 0;                         // of the text standing on the line; 0: none
  std::chrono::steady_clock::time_point next{};  // the earliest time of the next change
};

// "hkreport: FM and FSK: 120 of 1781 files read", "hkreport: FM: 300 of 1781
// pages written".
std::string ProgressText(std::string_view formats, RunStage stage, std::uint64_t done, std::uint64_t total);

// Shows `text` in place of the text standing, when the line is shown and a
// tenth of a second has passed since the last change (or `last` is set: the
// stage's end).
void ShowProgress(ProgressLine& line, OutputStream& errors, std::string_view text, bool last);

// Takes the text standing off the line, so that another line can be told.
void ClearProgress(ProgressLine& line, OutputStream& errors);

}  // namespace hkcsv
