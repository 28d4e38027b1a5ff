// The path text of a chart's drawing: coordinates in tenths of a user unit,
// the markers of the series and the line of one series through its points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hkcsv {

// Coordinates print with one decimal by integer arithmetic, so every
// platform gives one text: "-12.5" of -125.
void AppendTenths(std::string& out, std::int64_t tenths);
// "x y" in tenths.
void AppendPoint(std::string& out, std::int64_t x, std::int64_t y);
// The path of series number `series`'s marker (one of six shapes, in turn)
// around the point (x, y).
void AppendMarker(std::string& d, std::size_t series, std::int64_t x, std::int64_t y);

struct DrawPoint {
  std::int64_t x, y;  // tenths
  std::uint32_t segment;
  bool in_stroke;  // joined to the previous point within one reduced column
};

// The path data of series number `series` of `series_count`: its line through
// `points`, lifted at every change of segment (unless `connect_single` joins
// a point that would stand alone in its segment to its neighbours), then its
// markers: every ~80 units along the line from 20 units right of
// `plot_left`, offset per series so the markers of different series do not
// stack, and on every point left alone.
std::string SeriesPathData(const std::vector<DrawPoint>& points, std::size_t series, std::size_t series_count,
                           bool connect_single, std::int64_t plot_left);

}  // namespace hkcsv
