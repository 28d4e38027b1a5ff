// The station page: how well the station hears the satellite, for each
// format its sky plot, reception by max angle, by direction (rising and
// setting apart, with the fitted direction factors and the weak sectors), by
// modulation and plane of polarization, the S meter against max angle, and
// the passes left out, by reason. And the overview's station card, and a pass
// page's own sky. Every figure is settled in the model.
#pragma once

#include <string>
#include <vector>

#include "report/model/format_record.h"
#include "report/pages/page_layout.h"
#include "report/pages/page_names.h"

namespace hkcsv {

struct StationFormat {
  const FormatRecord* record;
  const PassPageLinks* pages;  // which pass pages stand, and their names
};

struct StationPageInput {
  const PageLayout* layout;
  std::vector<StationFormat> formats;  // those whose folder stands
  std::string mark;                    // PageMark of the station page
};

void RenderStationPage(std::string& html, const StationPageInput& input);

// The overview's station card: per format, its reception of the last days
// and of the whole archive, its weak sectors, and a link to its part of the
// station page.
void AppendStationCard(std::string& html, const PageLayout& layout, const std::vector<StationFormat>& formats);

// A pass page's sky: its own track, how much of it was heard and what the fit
// expects of passes like it, and a link to the station page.
void AppendPassSky(std::string& html, const FormatRecord& format, std::size_t pass);

}  // namespace hkcsv
