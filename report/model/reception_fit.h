// How well the station hears the satellite, for the station page: frames
// found against frames expected per band of max angle and per sector of the
// sky where passes rise and set, and a multiplicative fit that tells a weak
// direction (an obstruction, a pointing offset) apart from low passes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hkcsv {

// Bands of 10 degrees of max angle. A bound belongs to the band above it
// (10 is in 10-20), but for 90, in the last band.
inline constexpr std::size_t kElevationBands = 9;
inline constexpr std::array<std::string_view, kElevationBands> kElevationBandNames{
    "0-10", "10-20", "20-30", "30-40", "40-50", "50-60", "60-70", "70-80", "80-90",
};

// Sectors of 45 degrees of azimuth, N covering [337.5, 22.5). A bound
// belongs to the sector clockwise of it (22.5 is in NE).
inline constexpr std::size_t kSectors = 8;
inline constexpr std::array<std::string_view, kSectors> kSectorNames{"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

std::size_t ElevationBand(double max_angle_deg);
std::size_t Sector(double azimuth_deg);

// One pass with usable geometry, as the fit takes it.
struct PassReception {
  double max_angle_deg = 0;
  double aos_azimuth_deg = 0;
  double los_azimuth_deg = 0;
  std::int64_t expected = 0;  // frames: packets announced x frames per packet
  std::int64_t found = 0;     // frames decoded, at most `expected`
  // Indexes the caller gives to its modulations and planes of polarization,
  // counting from 0.
  std::size_t modulation = 0;
  std::size_t polarization = 0;
  std::optional<double> s_meter;  // none where the header's cell is no number
};

// The passes of a cell and their frames, added up: reception is the found of
// them all over the expected of them all, so that a long pass weighs as its
// frames do.
struct CellSums {
  std::int64_t passes = 0;
  std::int64_t expected = 0;
  std::int64_t found = 0;
};

// found / expected in percent; none without frames expected.
std::optional<double> ReceptionPercent(const CellSums& cell);

struct ReceptionSums {
  std::array<CellSums, kElevationBands> bands;
  std::array<CellSums, kSectors> rising;   // by AOS azimuth
  std::array<CellSums, kSectors> setting;  // by LOS azimuth
  // The median S meter of a band's passes whose S meter is a number.
  std::array<std::optional<double>, kElevationBands> band_s_meter;
};

ReceptionSums SumReception(std::span<const PassReception> passes);

// A factor of the fit; none for a cell without passes.
using FitFactor = std::optional<double>;

inline constexpr double kFitTolerance = 0.001;  // the largest move of a factor in a round, once converged
inline constexpr int kFitRoundsMax = 200;

// Each pass's frames found modelled as expected x band x rising sector x
// setting sector x modulation x plane of polarization. The direction,
// modulation and polarization factors have a median of 1 over their cells
// with passes (unless half or more of them are 0), so that a band's factor is
// the reception of a typical pass of that band.
struct ReceptionFit {
  std::array<FitFactor, kElevationBands> band;
  std::array<FitFactor, kSectors> rising;
  std::array<FitFactor, kSectors> setting;
  std::vector<FitFactor> modulation;  // up to the largest index given
  std::vector<FitFactor> polarization;
  int rounds = 0;
  bool converged = false;
};

// Fits the factors by iterative proportional fitting: each factor in turn is
// set so that the modelled found of its passes equals their found, until no
// factor moves by more than kFitTolerance in a round, or kFitRoundsMax
// rounds. A pass without frames expected tells nothing and takes no part.
ReceptionFit FitReception(std::span<const PassReception> passes);

// A sector heard at most kWeakFactor of the others, over enough passes to
// say so.
inline constexpr double kWeakFactor = 0.80;
inline constexpr std::int64_t kWeakSectorPassesMin = 5;

enum class PassSide { kRising, kSetting };

struct WeakSector {
  PassSide side = PassSide::kRising;
  std::size_t sector = 0;
  double factor = 0;
  std::int64_t passes = 0;
};

// The weak sectors of a fit, rising ones first, each side clockwise from N;
// `sums` of the same passes give the passes of each sector.
std::vector<WeakSector> WeakSectors(const ReceptionFit& fit, const ReceptionSums& sums);

// The line that tells the operator of a weak sector: "Rising passes from SW
// are heard at 0.34 of what passes as high get from other directions (40
// passes): an obstruction or a pointing offset toward SW?"
std::string WeakSectorLine(const WeakSector& weak);

}  // namespace hkcsv
