// The report's pages and export rows, drawn from a format's settled record
// and its stored frames into a sink. Rendering touches no file: the program
// writes what it is handed (report.h), and the fuzzer and the tests keep it
// in memory, through the same code.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "report/model/format_record.h"
#include "report/model/replay.h"
#include "report/pages/page_layout.h"
#include "report/pages/page_names.h"
#include "text/text_input.h"
#include "text/text_output.h"

namespace hkcsv {

// The stored frames of a format, read from their start by `read` each time:
// false when they cannot be, or end short of what was stored.
using FrameReader = std::function<bool(const std::function<bool(InputStream& frames)>& read)>;

// Where the rendered pages and rows go. A page callback says whether the
// page now stands; the pages link only those that do. An empty callback
// renders no such page (its folder could not be made).
struct RenderSink {
  std::function<bool(std::size_t pass, std::string_view html)> pass_page;
  std::function<bool(std::size_t year, std::string_view html)> year_page;  // by entry of lists.years
  OutputStream* export_rows = nullptr;  // the format's rows of the export, when one is written
  FrameVisitor frame;                   // each frame as the trend series take it, after its export row
};

// Renders a format: its pass pages from the frames (the page before one that
// could not be written is rendered again, without its link), its trend
// series and export rows from the frames again, its year pages, and last its
// part of the overview into `section`. `links` names the pages and says
// which stand. Returns false when the frames end short; the series are
// released once the section is drawn.
bool RenderFormat(const PageLayout& layout, FormatRecord& record, PassPageLinks& links, const FrameReader& frames,
                  RenderSink& sink, std::string& section);

}  // namespace hkcsv
