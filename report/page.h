// The report page: one self-contained HTML5 file that is also well-formed
// XML, with inline CSS and SVG, no script and nothing fetched.
#pragma once

#include <string>
#include <vector>

#include "report/report_data.h"

struct PageInputs {
  std::string sample_root;  // the base directory, as given
  std::string limits_file;  // empty when no limits were given
};

// The whole page of the formats' data; `limits` is null when none were given.
void AppendPage(std::string& html, const PageInputs& inputs, const std::vector<FormatData>& formats,
                const LimitTable* limits);
