// The station's facts of a format: geometry, reception and the fit.
#include "report/model/station.h"

#include <algorithm>
#include <map>

#include "report/model/format_record.h"
#include "report/model/pass_order.h"

namespace hkcsv {

namespace {

// Why a pass takes no part in the figures, in the order the station page
// counts them: not read, each fault of its geometry, no frames expected.
constexpr std::size_t kNotRead = 0;
constexpr std::size_t kNoExpected = static_cast<std::size_t>(GeometryFault::kGeometryFaults);

// Each pass's geometry as its header gives it, or why it has none.
struct Read {
  std::optional<PassGeometry> geometry;
  std::optional<std::size_t> left_out;  // why it takes no part in the figures
};

std::string_view LeftOutText(std::size_t reason) {
  if (reason == kNotRead) return "capture not read";
  if (reason == kNoExpected) return "frames expected unknown";
  return GeometryFaultText(static_cast<GeometryFault>(reason));
}

const std::string& Cell(const PassRecord& pass, PassHeaderCell cell) {
  static const std::string kNone;
  const PassHeader& header = pass.file.header;
  return cell < header.cell_count ? header.cells[static_cast<std::size_t>(cell)] : kNone;
}

Read ReadPass(const PassRecord& pass) {
  if (pass.file.open_error != 0) return {std::nullopt, kNotRead};
  const GeometryReading reading =
      ReadPassGeometry(Cell(pass, kMaxAngleCell), Cell(pass, kAzimuthAosCell), Cell(pass, kAzimuthLosCell),
                       Cell(pass, kAosTimeCell), Cell(pass, kLosTimeCell));
  if (reading.fault != GeometryFault::kNone) return {std::nullopt, static_cast<std::size_t>(reading.fault)};
  if (!pass.frames_expected) return {reading.geometry, kNoExpected};
  return {reading.geometry, std::nullopt};
}

// The names a header cell takes over the passes, in byte order, and each
// pass's index among them.
std::vector<std::string> NamesOf(const FormatRecord& format, PassHeaderCell cell) {
  std::vector<std::string> names;
  for (const PassRecord& pass : format.passes) names.push_back(Cell(pass, cell));
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::size_t IndexIn(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<std::size_t>(std::lower_bound(names.begin(), names.end(), name) - names.begin());
}

void Add(CellSums& cell, const PassRecord& pass) {
  ++cell.passes;
  cell.expected += *pass.frames_expected;
  cell.found += static_cast<std::int64_t>(pass.frames_found);
}

// What the fit expects of a pass: the product of its factors, at most all
// of its frames; none where one of them is unknown.
std::optional<double> Typical(const ReceptionFit& fit, const PassReception& pass) {
  const FitFactor factors[] = {
      fit.band[ElevationBand(pass.max_angle_deg)], fit.rising[Sector(pass.aos_azimuth_deg)],
      fit.setting[Sector(pass.los_azimuth_deg)],
      pass.modulation < fit.modulation.size() ? fit.modulation[pass.modulation] : std::nullopt,
      pass.polarization < fit.polarization.size() ? fit.polarization[pass.polarization] : std::nullopt};
  double product = 1;
  for (const FitFactor& factor : factors) {
    if (!factor) return std::nullopt;
    product *= *factor;
  }
  return std::min(product, 1.0);
}

}  // namespace

HeardBand BandOfHeard(double reception) {
  if (reception >= kAllHeard) return HeardBand::kAll;
  if (reception >= kMostHeard) return HeardBand::kMost;
  return reception > 0 ? HeardBand::kLittle : HeardBand::kNothing;
}

StationFacts SettleStation(const FormatRecord& format) {
  StationFacts station;
  const std::size_t count = format.passes.size();
  std::vector<Read> reads;
  std::vector<PassGeometry> usable;
  for (const PassRecord& pass : format.passes) {
    reads.push_back(ReadPass(pass));
    if (reads.back().geometry) usable.push_back(*reads.back().geometry);
  }
  for (const PassGeometry& geometry : usable) {
    if (AltitudeForDuration(geometry.max_angle_deg, geometry.duration_s)) ++station.altitude_passes;
  }
  station.altitude_km = FormatAltitudeKm(usable);

  std::map<std::size_t, std::size_t> left_out;  // by reason
  station.modulations = NamesOf(format, kModulationCell);
  station.polarizations = NamesOf(format, kPolarizationCell);
  station.by_modulation.resize(station.modulations.size());
  station.by_polarization.resize(station.polarizations.size());
  station.s_meters.resize(station.modulations.size());
  std::vector<PassReception> fitted;
  std::vector<std::size_t> fitted_pass;
  station.passes.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const PassRecord& pass = format.passes[i];
    const Read& read = reads[i];
    if (read.left_out) ++left_out[*read.left_out];
    if (!read.geometry) continue;
    PassSky& sky = station.passes[i].emplace();
    sky.geometry = *read.geometry;
    sky.track = PassTrack(sky.geometry, station.altitude_km);
    sky.reception = pass.reception;
    if (read.left_out) continue;
    PassReception reception;
    reception.max_angle_deg = sky.geometry.max_angle_deg;
    reception.aos_azimuth_deg = sky.geometry.aos_azimuth_deg;
    reception.los_azimuth_deg = sky.geometry.los_azimuth_deg;
    reception.expected = *pass.frames_expected;
    reception.found = static_cast<std::int64_t>(pass.frames_found);
    reception.modulation = IndexIn(station.modulations, Cell(pass, kModulationCell));
    reception.polarization = IndexIn(station.polarizations, Cell(pass, kPolarizationCell));
    reception.s_meter = ReadHeaderNumber(Cell(pass, kSMeterCell));
    Add(station.by_modulation[reception.modulation], pass);
    Add(station.by_polarization[reception.polarization], pass);
    if (reception.s_meter) {
      station.s_meters[reception.modulation].emplace_back(reception.max_angle_deg, *reception.s_meter);
    }
    fitted.push_back(reception);
    fitted_pass.push_back(i);
  }
  for (const auto& [reason, passes] : left_out) station.left_out.emplace_back(LeftOutText(reason), passes);
  station.fitted = fitted.size();
  station.sums = SumReception(fitted);
  station.fit = FitReception(fitted);
  station.weak = WeakSectors(station.fit, station.sums);
  for (std::size_t k = 0; k < fitted.size(); ++k) {
    station.passes[fitted_pass[k]]->typical = Typical(station.fit, fitted[k]);
  }

  // The sky plot: the last passes with geometry, the newest last.
  std::vector<std::size_t> with_sky;
  for (std::size_t i = 0; i < count; ++i) {
    if (station.passes[i]) with_sky.push_back(i);
  }
  const std::size_t first_drawn = with_sky.size() > kDrawnPassesMax ? with_sky.size() - kDrawnPassesMax : 0;
  station.drawn.assign(with_sky.begin() + static_cast<std::ptrdiff_t>(first_drawn), with_sky.end());
  station.not_drawn = first_drawn;

  // The card: the whole archive, and the days before the newest dated pass.
  std::optional<double> newest;
  for (const PassRecord& pass : format.passes) {
    const std::optional<double> time = OrderTime(pass);
    if (time && (!newest || *time > *newest)) newest = time;
  }
  for (const PassRecord& pass : format.passes) {
    if (!pass.frames_expected) continue;
    Add(station.whole, pass);
    const std::optional<double> time = OrderTime(pass);
    if (newest && time && *time > *newest - kRecentDays * 86400) Add(station.recent, pass);
  }
  return station;
}

}  // namespace hkcsv
