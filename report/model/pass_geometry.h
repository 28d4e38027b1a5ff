// The geometry of a pass from its header alone, for the station page: the
// max angle, the azimuths at AOS and LOS and the times give the track across
// the sky and, over many passes, the satellite's altitude. A spherical Earth
// and a circular orbit, no orbital elements, the Earth's rotation ignored.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace hkcsv {

inline constexpr double kEarthRadiusKm = 6371.0;
inline constexpr double kEarthGravityKm3PerS2 = 398600.4418;  // mu = G M

// The altitudes a format's altitude is sought between, and the one taken
// when no pass gives one.
inline constexpr double kLowestAltitudeKm = 200.0;
inline constexpr double kHighestAltitudeKm = 2000.0;
inline constexpr double kUnknownAltitudeKm = 500.0;

// A pass higher than this is drawn through the zenith: near the top, the
// azimuth turns too fast for two header azimuths to place the track.
inline constexpr double kThroughZenithAboveDeg = 85.0;

// Points of a drawn track, AOS to LOS.
inline constexpr int kTrackPoints = 33;

// Why a pass's header gives no usable geometry.
enum class GeometryFault {
  kNone,
  kMaxAngleMissing,
  kMaxAngleNotANumber,
  kMaxAngleOutOfRange,  // not in (0, 90]
  kAzimuthMissing,
  kAzimuthNotANumber,
  kAzimuthOutOfRange,  // not in [0, 360)
  kTimeMissing,
  kTimeDoesNotParse,
  kAosEqualsLos,
  kGeometryFaults
};

// The operator's words for each fault ("" for none).
inline constexpr std::array<std::string_view, static_cast<std::size_t>(GeometryFault::kGeometryFaults)>
    kGeometryFaultTexts{
        "",
        "max angle missing",
        "max angle is not a number",
        "max angle out of range",
        "azimuth missing",
        "azimuth is not a number",
        "azimuth out of range",
        "AOS or LOS time missing",
        "AOS or LOS time does not parse",
        "AOS equals LOS",
    };

std::string_view GeometryFaultText(GeometryFault fault);

// What the header says of a pass's path, in degrees and seconds.
struct PassGeometry {
  double max_angle_deg = 0;    // (0, 90]
  double aos_azimuth_deg = 0;  // [0, 360)
  double los_azimuth_deg = 0;  // [0, 360)
  double duration_s = 0;       // LOS - AOS, a day added across midnight; above 0
};

struct GeometryReading {
  GeometryFault fault = GeometryFault::kNone;
  PassGeometry geometry;  // all zero unless the fault is kNone
};

// A number as a header cell writes it ("45", "45.5", "-3"): the whole cell
// read by std::from_chars, finite. None for anything else, "" included.
std::optional<double> ReadHeaderNumber(std::string_view cell);

// Reads a pass's geometry from its header cells (the value tokens, as
// "45", "152", "09:10:12"). The first fault found, in this order, wins: max
// angle, AOS azimuth, LOS azimuth, times.
GeometryReading ReadPassGeometry(std::string_view max_angle, std::string_view aos_azimuth, std::string_view los_azimuth,
                                 std::string_view aos_time, std::string_view los_time);

// The Earth-central angle between the station and a satellite at `altitude_km`
// seen at `elevation_deg`: lambda = arccos(R cos e / r) - e.
double CentralAngleDeg(double elevation_deg, double altitude_km);

// Back again: the elevation of a satellite at central angle `central_deg`,
// e = atan2(cos lambda - R / r, sin lambda).
double ElevationDeg(double central_deg, double altitude_km);

// Half the central angle the satellite travels above the horizon on a pass of
// `max_angle_deg`: s0 = arccos(cos lambda(0) / cos lambda(max angle)).
double HalfArcDeg(double max_angle_deg, double altitude_km);

// How long a pass of `max_angle_deg` lasts at `altitude_km`, AOS to LOS:
// 2 s0 / n, with n = sqrt(mu / r^3) the rate along the ground track.
double PassDurationS(double max_angle_deg, double altitude_km);

// The altitude at which a pass of `max_angle_deg` lasts `duration_s`, found
// by bisection between kLowestAltitudeKm and kHighestAltitudeKm (a higher
// orbit gives a longer pass); none when no altitude there gives it.
std::optional<double> AltitudeForDuration(double max_angle_deg, double duration_s);

// A format's altitude: the median of the altitudes its passes give, or
// kUnknownAltitudeKm when none gives one.
double FormatAltitudeKm(std::span<const PassGeometry> passes);

// A point of the sky, as the station's antenna points.
struct SkyPoint {
  double azimuth_deg = 0;    // [0, 360), clockwise from north
  double elevation_deg = 0;  // [0, 90]
};

// The track of a pass across the sky, `points` points (at least 2) evenly
// along it from AOS to LOS. The track meets both recorded azimuths, and
// turns through the shorter arc between them (clockwise where they lie half
// a turn apart); a pass above kThroughZenithAboveDeg runs from its AOS
// azimuth up to the zenith and down to its LOS azimuth.
std::vector<SkyPoint> PassTrack(const PassGeometry& pass, double altitude_km, int points = kTrackPoints);

// Where a point of the sky stands on a polar sky plot of radius 1: the zenith
// at the centre, the horizon on the rim, north up and east to the right as on
// a map, y growing downward as in SVG.
struct PlotPoint {
  double x = 0;
  double y = 0;
};
PlotPoint SkyPlotPosition(SkyPoint point);

}  // namespace hkcsv
