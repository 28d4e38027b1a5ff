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
// A step of path data, the command and "x y" in tenths: "M12.5 -3.0".
void AppendStep(std::string& d, char command, std::int64_t x, std::int64_t y);
// The path of series number `series`'s marker (one of six shapes, in turn)
// around the point (x, y).
void AppendMarker(std::string& d, std::size_t series, std::int64_t x, std::int64_t y);

struct DrawPoint {
  std::int64_t x, y;  // tenths
  std::uint32_t segment;
  std::uint32_t seq;  // the sample's
  bool in_stroke;     // joined to the previous point within one reduced column
};

struct LineStyle {
  std::size_t series;        // the series' number, which picks its marker
  std::size_t series_count;  // of the chart: with more than one, markers tell them apart
  bool connect_single;       // join a point that would stand alone in its segment to its neighbours
  // Mark each point left alone, which no line shows; else leave it in the
  // path, a move that shows only the markers a chart puts on every point.
  bool mark_lone;
  std::int64_t plot_left;  // tenths
};

// Appends the path data of a series to `d`: its line through `points`, each
// step from the one before it (a series that draws 1,000 columns takes about
// half the bytes it would with absolute coordinates),
// lifted at every change of segment, then its markers: on every point left
// alone when `mark_lone`, and where the chart has several series every ~80
// units along the line from 20 units right of `plot_left`, offset per series
// so the markers of different series do not stack.
void AppendSeriesPath(std::string& d, const std::vector<DrawPoint>& points, const LineStyle& style);

}  // namespace hkcsv
