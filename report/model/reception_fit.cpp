// Reception against exposure per band and sector, its multiplicative fit by
// iterative proportional fitting, and the weak sectors the fit shows.
#include "report/model/reception_fit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "report/model/median.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// The factors of the fit, in the order a round sets them.
enum FactorGroup { kBand, kRising, kSetting, kModulation, kPolarization, kFactorGroups };

struct Factors {
  std::vector<double> value;
  std::vector<bool> has_passes;
};

using PassCells = std::array<std::size_t, kFactorGroups>;

PassCells CellsOf(const PassReception& pass) {
  return {ElevationBand(pass.max_angle_deg), Sector(pass.aos_azimuth_deg), Sector(pass.los_azimuth_deg),
          pass.modulation, pass.polarization};
}

void Add(CellSums& cell, const PassReception& pass) {
  ++cell.passes;
  cell.expected += pass.expected;
  cell.found += pass.found;
}

// One round's setting of a group's factors; returns the largest move.
double FitGroup(std::span<const PassReception> passes, const std::vector<PassCells>& cells,
                std::array<Factors, kFactorGroups>& factors, std::size_t group) {
  Factors& fitted = factors[group];
  std::vector<double> modelled(fitted.value.size(), 0.0);
  std::vector<double> found(fitted.value.size(), 0.0);
  for (std::size_t p = 0; p < passes.size(); ++p) {
    double model = static_cast<double>(passes[p].expected);
    for (std::size_t other = 0; other < kFactorGroups; ++other) {
      if (other != group) model *= factors[other].value[cells[p][other]];
    }
    modelled[cells[p][group]] += model;
    found[cells[p][group]] += static_cast<double>(passes[p].found);
  }
  double largest_move = 0;
  for (std::size_t cell = 0; cell < fitted.value.size(); ++cell) {
    // Modelled as 0 through other factors: nothing to set this one by.
    if (!fitted.has_passes[cell] || modelled[cell] <= 0) continue;
    const double value = found[cell] / modelled[cell];
    largest_move = std::max(largest_move, std::fabs(value - fitted.value[cell]));
    fitted.value[cell] = value;
  }
  return largest_move;
}

// Scales a group to a median of 1 over its cells with passes, the scale
// going into the bands, which leaves every modelled pass as it was.
void ScaleToMedianOne(std::array<Factors, kFactorGroups>& factors, std::size_t group) {
  std::vector<double> values;
  for (std::size_t cell = 0; cell < factors[group].value.size(); ++cell) {
    if (factors[group].has_passes[cell]) values.push_back(factors[group].value[cell]);
  }
  const std::optional<double> median = Median(std::move(values));
  if (!median || *median <= 0) return;
  for (double& value : factors[group].value) value /= *median;
  for (double& value : factors[kBand].value) value *= *median;
}

template <std::size_t N>
void CopyFactors(const Factors& from, std::array<FitFactor, N>& to) {
  for (std::size_t cell = 0; cell < N; ++cell) {
    if (from.has_passes[cell]) to[cell] = from.value[cell];
  }
}

std::vector<FitFactor> FactorList(const Factors& from) {
  std::vector<FitFactor> to(from.value.size());
  for (std::size_t cell = 0; cell < to.size(); ++cell) {
    if (from.has_passes[cell]) to[cell] = from.value[cell];
  }
  return to;
}

}  // namespace

std::size_t ElevationBand(double max_angle_deg) {
  if (!(max_angle_deg > 0)) return 0;
  return std::min(static_cast<std::size_t>(max_angle_deg / 10), kElevationBands - 1);
}

std::size_t Sector(double azimuth_deg) {
  double turned = std::fmod(azimuth_deg + 22.5, 360.0);
  if (turned < 0) turned += 360.0;
  if (!(turned >= 0)) return 0;
  return std::min(static_cast<std::size_t>(turned / 45), kSectors - 1);
}

std::optional<double> ReceptionPercent(const CellSums& cell) {
  if (cell.expected <= 0) return std::nullopt;
  return 100.0 * static_cast<double>(cell.found) / static_cast<double>(cell.expected);
}

ReceptionSums SumReception(std::span<const PassReception> passes) {
  ReceptionSums sums;
  std::array<std::vector<double>, kElevationBands> s_meters;
  for (const PassReception& pass : passes) {
    const std::size_t band = ElevationBand(pass.max_angle_deg);
    Add(sums.bands[band], pass);
    Add(sums.rising[Sector(pass.aos_azimuth_deg)], pass);
    Add(sums.setting[Sector(pass.los_azimuth_deg)], pass);
    if (pass.s_meter) s_meters[band].push_back(*pass.s_meter);
  }
  for (std::size_t band = 0; band < kElevationBands; ++band)
    sums.band_s_meter[band] = Median(std::move(s_meters[band]));
  return sums;
}

ReceptionFit FitReception(std::span<const PassReception> all_passes) {
  std::vector<PassReception> passes;
  for (const PassReception& pass : all_passes) {
    if (pass.expected > 0) passes.push_back(pass);
  }
  std::vector<PassCells> cells;
  std::array<std::size_t, kFactorGroups> cell_counts{kElevationBands, kSectors, kSectors, 0, 0};
  for (const PassReception& pass : passes) {
    cells.push_back(CellsOf(pass));
    cell_counts[kModulation] = std::max(cell_counts[kModulation], pass.modulation + 1);
    cell_counts[kPolarization] = std::max(cell_counts[kPolarization], pass.polarization + 1);
  }
  std::array<Factors, kFactorGroups> factors;
  for (std::size_t group = 0; group < kFactorGroups; ++group) {
    factors[group].value.assign(cell_counts[group], 1.0);
    factors[group].has_passes.assign(cell_counts[group], false);
  }
  for (const PassCells& pass_cells : cells) {
    for (std::size_t group = 0; group < kFactorGroups; ++group) factors[group].has_passes[pass_cells[group]] = true;
  }

  ReceptionFit fit;
  while (fit.rounds < kFitRoundsMax && !fit.converged) {
    double largest_move = 0;
    for (std::size_t group = 0; group < kFactorGroups; ++group) {
      largest_move = std::max(largest_move, FitGroup(passes, cells, factors, group));
    }
    ++fit.rounds;
    fit.converged = largest_move <= kFitTolerance;
  }
  for (std::size_t group = kRising; group < kFactorGroups; ++group) ScaleToMedianOne(factors, group);

  CopyFactors(factors[kBand], fit.band);
  CopyFactors(factors[kRising], fit.rising);
  CopyFactors(factors[kSetting], fit.setting);
  fit.modulation = FactorList(factors[kModulation]);
  fit.polarization = FactorList(factors[kPolarization]);
  return fit;
}

std::vector<WeakSector> WeakSectors(const ReceptionFit& fit, const ReceptionSums& sums) {
  std::vector<WeakSector> weak;
  const auto look = [&weak](PassSide side, const std::array<FitFactor, kSectors>& factors,
                            const std::array<CellSums, kSectors>& cells) {
    for (std::size_t sector = 0; sector < kSectors; ++sector) {
      const FitFactor& factor = factors[sector];
      if (factor && *factor <= kWeakFactor && cells[sector].passes >= kWeakSectorPassesMin) {
        weak.push_back({side, sector, *factor, cells[sector].passes});
      }
    }
  };
  look(PassSide::kRising, fit.rising, sums.rising);
  look(PassSide::kSetting, fit.setting, sums.setting);
  return weak;
}

std::string WeakSectorLine(const WeakSector& weak) {
  const std::string_view sector = kSectorNames[weak.sector];
  std::string line = weak.side == PassSide::kRising ? "Rising passes from " : "Setting passes toward ";
  line += sector;
  line += " are heard at ";
  line += Decimals(weak.factor, 2);
  line += " of what passes as high get from other directions (";
  AppendCounted(line, static_cast<std::uint64_t>(weak.passes), "pass", "passes");
  line += "): an obstruction or a pointing offset toward ";
  line += sector;
  line += '?';
  return line;
}

}  // namespace hkcsv
