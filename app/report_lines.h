// hkreport's lines on standard error, worded from what the report tells.
// Names and cells in them come from files and folders, so no byte of them
// may act on the terminal: bytes below 0x20 and 0x7F are written as \xHH.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/model/failure.h"
#include "report/model/format_record.h"
#include "text/text_output.h"

namespace hkcsv {

// Writes "hkreport: " and `line`, its control bytes as \xHH, then the line
// end, and hands it on at once.
void TellLine(OutputStream& errors, std::string_view line);

// "Cannot list PATH: REASON", "Cannot open ...", "Cannot read ...", "Cannot
// write ...", "Cannot write the scratch file in FOLDER: ...", "FM folder
// missing: PATH (its pages are kept)".
std::string FailureLine(const Failure& failure);

// The lines of a capture file once it is read, where it has a problem:
// "PATH: N frames, K tokens skipped, C cut short" ("1 frame", "1 token") when
// it has no frames, skipped tokens or a packet cut short, after "Cannot read
// PATH: REASON" when it could not be read to its end; only "Cannot open
// PATH: REASON" when it could not be opened. None for a capture read whole
// with frames.
std::vector<std::string> PassReadLines(const FormatRecord& format, const PassRecord& pass);

// Shows the written page in the default browser. A page that does not open
// is told, and the run has not failed for it.
void OpenPage(const std::string& page, OutputStream& errors);

}  // namespace hkcsv
