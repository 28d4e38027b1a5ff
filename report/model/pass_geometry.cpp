// The geometry of a pass from its header: reading it, the spherical
// geometry of a circular orbit, the altitude of a format and a pass's track.
#include "report/model/pass_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <system_error>

#include "report/model/median.h"
#include "text/calendar.h"

namespace hkcsv {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double OrbitRadiusKm(double altitude_km) { return kEarthRadiusKm + altitude_km; }

// arccos of a value that rounding may have carried just past [-1, 1].
double SafeAcos(double value) { return std::acos(std::clamp(value, -1.0, 1.0)); }

// An angle in [0, 360): fmod leaves (-360, 360), and adding 360 to a tiny
// negative value rounds to 360 itself.
double NormalisedAzimuth(double degrees) {
  double value = std::fmod(degrees, 360.0);
  if (value < 0) value += 360.0;
  return value >= 360.0 ? 0.0 : value;
}

// The rate of the ground track of a circular orbit, in radians a second.
double MeanMotion(double altitude_km) {
  const double r = OrbitRadiusKm(altitude_km);
  return std::sqrt(kEarthGravityKm3PerS2 / (r * r * r));
}

// A max angle's fault, or kNone with the value in `degrees`.
GeometryFault ReadMaxAngle(std::string_view cell, double& degrees) {
  if (cell.empty()) return GeometryFault::kMaxAngleMissing;
  const std::optional<double> value = ReadHeaderNumber(cell);
  if (!value) return GeometryFault::kMaxAngleNotANumber;
  if (!(*value > 0 && *value <= 90)) return GeometryFault::kMaxAngleOutOfRange;
  degrees = *value;
  return GeometryFault::kNone;
}

GeometryFault ReadAzimuth(std::string_view cell, double& degrees) {
  if (cell.empty()) return GeometryFault::kAzimuthMissing;
  const std::optional<double> value = ReadHeaderNumber(cell);
  if (!value) return GeometryFault::kAzimuthNotANumber;
  if (!(*value >= 0 && *value < 360)) return GeometryFault::kAzimuthOutOfRange;
  degrees = *value;
  return GeometryFault::kNone;
}

// The seconds from AOS to LOS, a day added where LOS reads earlier.
GeometryFault ReadDuration(std::string_view aos_time, std::string_view los_time, double& seconds) {
  if (aos_time.empty() || los_time.empty()) return GeometryFault::kTimeMissing;
  // Read as times of one day, as the charts read a header's time.
  double aos = 0;
  double los = 0;
  if (!ParseGroundTime("1970/01/01", aos_time, aos) || !ParseGroundTime("1970/01/01", los_time, los)) {
    return GeometryFault::kTimeDoesNotParse;
  }
  if (aos == los) return GeometryFault::kAosEqualsLos;
  seconds = los > aos ? los - aos : los + kSecondsPerDay - aos;
  return GeometryFault::kNone;
}

}  // namespace

std::string_view GeometryFaultText(GeometryFault fault) { return kGeometryFaultTexts[static_cast<std::size_t>(fault)]; }

std::optional<double> ReadHeaderNumber(std::string_view cell) {
  double value = 0;
  const char* const end = cell.data() + cell.size();
  const std::from_chars_result result = std::from_chars(cell.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

GeometryReading ReadPassGeometry(std::string_view max_angle, std::string_view aos_azimuth, std::string_view los_azimuth,
                                 std::string_view aos_time, std::string_view los_time) {
  PassGeometry pass;
  GeometryFault fault = ReadMaxAngle(max_angle, pass.max_angle_deg);
  if (fault == GeometryFault::kNone) fault = ReadAzimuth(aos_azimuth, pass.aos_azimuth_deg);
  if (fault == GeometryFault::kNone) fault = ReadAzimuth(los_azimuth, pass.los_azimuth_deg);
  if (fault == GeometryFault::kNone) fault = ReadDuration(aos_time, los_time, pass.duration_s);
  if (fault != GeometryFault::kNone) return {fault, PassGeometry{}};
  return {GeometryFault::kNone, pass};
}

double CentralAngleDeg(double elevation_deg, double altitude_km) {
  const double elevation = elevation_deg * kDegree;
  return SafeAcos(kEarthRadiusKm * std::cos(elevation) / OrbitRadiusKm(altitude_km)) / kDegree - elevation_deg;
}

double ElevationDeg(double central_deg, double altitude_km) {
  const double central = central_deg * kDegree;
  return std::atan2(std::cos(central) - kEarthRadiusKm / OrbitRadiusKm(altitude_km), std::sin(central)) / kDegree;
}

double HalfArcDeg(double max_angle_deg, double altitude_km) {
  const double horizon = CentralAngleDeg(0, altitude_km) * kDegree;
  const double closest = CentralAngleDeg(max_angle_deg, altitude_km) * kDegree;
  return SafeAcos(std::cos(horizon) / std::cos(closest)) / kDegree;
}

double PassDurationS(double max_angle_deg, double altitude_km) {
  return 2 * HalfArcDeg(max_angle_deg, altitude_km) * kDegree / MeanMotion(altitude_km);
}

std::optional<double> AltitudeForDuration(double max_angle_deg, double duration_s) {
  double low = kLowestAltitudeKm;
  double high = kHighestAltitudeKm;
  if (!(duration_s >= PassDurationS(max_angle_deg, low) && duration_s <= PassDurationS(max_angle_deg, high))) {
    return std::nullopt;
  }
  // 40 halvings take 1,800 km below a millimetre.
  for (int step = 0; step < 40; ++step) {
    const double middle = (low + high) / 2;
    (PassDurationS(max_angle_deg, middle) < duration_s ? low : high) = middle;
  }
  return (low + high) / 2;
}

double FormatAltitudeKm(std::span<const PassGeometry> passes) {
  std::vector<double> altitudes;
  for (const PassGeometry& pass : passes) {
    if (const std::optional<double> altitude = AltitudeForDuration(pass.max_angle_deg, pass.duration_s)) {
      altitudes.push_back(*altitude);
    }
  }
  return Median(std::move(altitudes)).value_or(kUnknownAltitudeKm);
}

std::vector<SkyPoint> PassTrack(const PassGeometry& pass, double altitude_km, int points) {
  const bool through_zenith = pass.max_angle_deg > kThroughZenithAboveDeg;
  // A pass drawn through the zenith follows the elevations of an overhead pass.
  const double closest = through_zenith ? 0.0 : CentralAngleDeg(pass.max_angle_deg, altitude_km) * kDegree;
  const double half_arc = HalfArcDeg(through_zenith ? 90.0 : pass.max_angle_deg, altitude_km) * kDegree;
  // The shorter arc from AOS to LOS, signed (clockwise positive), and its middle.
  double arc = NormalisedAzimuth(pass.los_azimuth_deg - pass.aos_azimuth_deg);
  if (arc > 180) arc -= 360;
  const double middle = pass.aos_azimuth_deg + arc / 2;
  // The azimuth turned from the middle at the ends: scaling by it makes the
  // track meet both recorded azimuths.
  const double end_turn = std::atan(std::tan(half_arc) / std::sin(closest));

  const int count = std::max(points, 2);
  std::vector<SkyPoint> track;
  track.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double along = half_arc * (2.0 * i / (count - 1) - 1);  // u, from -s0 to s0
    const double central = SafeAcos(std::cos(closest) * std::cos(along)) / kDegree;
    SkyPoint point;
    point.elevation_deg = std::clamp(ElevationDeg(central, altitude_km), 0.0, 90.0);
    if (through_zenith) {
      point.azimuth_deg = 2 * i < count - 1 ? pass.aos_azimuth_deg : pass.los_azimuth_deg;
    } else {
      const double turn = std::atan(std::tan(along) / std::sin(closest));
      point.azimuth_deg = NormalisedAzimuth(middle + arc / 2 * turn / end_turn);
    }
    track.push_back(point);
  }
  return track;
}

PlotPoint SkyPlotPosition(SkyPoint point) {
  const double radius = (90.0 - point.elevation_deg) / 90.0;
  const double azimuth = point.azimuth_deg * kDegree;
  return {radius * std::sin(azimuth), -radius * std::cos(azimuth)};
}

}  // namespace hkcsv
