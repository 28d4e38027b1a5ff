// How well the station hears the satellite, settled for the station page, the
// overview's station card and each pass page: every pass's path across the
// sky from its header alone, the reception of its frames against exposure
// (found over expected) by band of max angle, by sector where passes rise
// and set, by modulation and by plane of polarization, and the factors of a
// fit that tells a weak direction apart from low passes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/model/pass_geometry.h"
#include "report/model/reception_fit.h"

namespace hkcsv {

struct FormatRecord;

// How much of a pass was heard, as the sky plot colours its track.
enum class HeardBand { kAll, kMost, kLittle, kNothing };
inline constexpr double kAllHeard = 0.95;   // at least this: all heard
inline constexpr double kMostHeard = 0.50;  // at least this: most; above 0: little
HeardBand BandOfHeard(double reception);

// The sky plot draws at most this many passes, the newest last.
inline constexpr std::size_t kDrawnPassesMax = 1000;
// The overview's card tells the reception of the passes of this many days
// before the newest dated pass, and of the whole archive.
inline constexpr double kRecentDays = 30;

// A pass with usable geometry.
struct PassSky {
  PassGeometry geometry;
  std::vector<SkyPoint> track;      // AOS to LOS, at the format's altitude
  std::optional<double> reception;  // frames found over expected; none without frames expected
  std::optional<double> typical;    // what the fit expects of a pass like it, at most 1; none unfitted
};

struct StationFacts {
  double altitude_km = kUnknownAltitudeKm;
  std::size_t altitude_passes = 0;             // passes whose duration gave an altitude
  std::vector<std::optional<PassSky>> passes;  // by pass; none without usable geometry
  // The passes left out of the figures, by reason, in the operator's words:
  // "capture not read", then the faults of the geometry ("max angle
  // missing", ...), then "frames expected unknown"; only reasons that occur.
  std::vector<std::pair<std::string, std::size_t>> left_out;
  std::size_t fitted = 0;  // passes with usable geometry and frames expected
  ReceptionSums sums;
  ReceptionFit fit;
  std::vector<WeakSector> weak;
  std::vector<std::string> modulations;    // as the headers name them, in byte order
  std::vector<std::string> polarizations;  // the same
  std::vector<CellSums> by_modulation;
  std::vector<CellSums> by_polarization;
  // By modulation: each fitted pass's (max angle, S meter) where its S meter is a number.
  std::vector<std::vector<std::pair<double, double>>> s_meters;
  std::vector<std::size_t> drawn;  // the passes the sky plot draws, in listing order: the newest last
  std::size_t not_drawn = 0;       // passes with geometry left off it
  CellSums recent;                 // passes with frames expected, dated kRecentDays before the newest
  CellSums whole;                  // every pass with frames expected
};

// Settles the station's facts of a format whose passes are settled.
StationFacts SettleStation(const FormatRecord& format);

}  // namespace hkcsv
