// The charts of how well the station hears the satellite: the sky plot of
// the passes' tracks, the rose of the direction factors, reception by band
// of max angle as bars, and the S meter against max angle. Each an inline
// SVG of the page's stylesheet; the facts they draw are settled in the model.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/model/station.h"

namespace hkcsv {

struct SkyTrack {
  const std::vector<SkyPoint>* points;
  std::optional<HeardBand> heard;  // none: its frames expected are unknown
  std::string href;                // the pass page's link, or empty where it does not stand
  std::string title;               // its name, reception and max angle (narrow text)
};

// The class of a track of `heard` ("heard-all", ..., "heard-unknown"), and
// its legend's words.
std::string_view HeardClass(std::optional<HeardBand> heard);
std::string HeardWords(std::optional<HeardBand> heard);

// A polar sky plot, `size` pixels square: north up and east to the right as
// on a map, the zenith at the centre, rings at 0, 30 and 60 degrees of
// elevation, N E S W; each track a line from AOS to LOS coloured by how much
// of its pass was heard, drawn in order (the newest last), titled and
// linked. With `labelled`, the rings' degrees and the compass points.
void AppendSkyPlot(std::string& html, std::span<const SkyTrack> tracks, int size, bool labelled);

struct RoseSector {
  FitFactor factor;
  std::int64_t passes = 0;
  std::optional<double> reception_percent;
  bool weak = false;
};

// A rose of the eight sectors, north up: each wedge as long as its factor
// (rings at 1, what passes get from a typical direction, and at the weak
// line), weak wedges marked, each titled with its figures.
void AppendRose(std::string& html, std::string_view title, const std::array<RoseSector, kSectors>& sectors);

// Reception by band of max angle, in percent, as bars.
void AppendBandBars(std::string& html, const std::array<std::optional<double>, kElevationBands>& reception_percent);

// The S meter against max angle, a colour per modulation, with a legend.
void AppendSMeterScatter(std::string& html, const std::vector<std::string>& modulations,
                         const std::vector<std::vector<std::pair<double, double>>>& points);

}  // namespace hkcsv
