// Path data of a chart: coordinates in tenths, series lines and markers.
#include "report/charts/svg_path.h"

#include <array>
#include <limits>
#include <optional>
#include <utility>

#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::int64_t kMarkerSpacing = 800;  // tenths: a marker every ~80 units along a line

struct MarkerStep {
  char command;  // 'M', 'L' or 'Z'
  int dx, dy;    // tenths from the marked point
};
using Marker = std::array<MarkerStep, 5>;  // unused steps have command 0
// Square, triangle, diamond, plus, cross, triangle pointing down.
constexpr std::array<Marker, 6> kMarkers{{
    {{{'M', -30, -30}, {'L', 30, -30}, {'L', 30, 30}, {'L', -30, 30}, {'Z', 0, 0}}},
    {{{'M', 0, -40}, {'L', 35, 25}, {'L', -35, 25}, {'Z', 0, 0}, {0, 0, 0}}},
    {{{'M', 0, -40}, {'L', 40, 0}, {'L', 0, 40}, {'L', -40, 0}, {'Z', 0, 0}}},
    {{{'M', -40, 0}, {'L', 40, 0}, {'M', 0, -40}, {'L', 0, 40}, {0, 0, 0}}},
    {{{'M', -30, -30}, {'L', 30, 30}, {'M', -30, 30}, {'L', 30, -30}, {0, 0, 0}}},
    {{{'M', 0, 40}, {'L', 35, -25}, {'L', -35, -25}, {'Z', 0, 0}, {0, 0, 0}}},
}};

// Whether point i continues the line of point i - 1.
struct Joins {
  const std::vector<DrawPoint>& points;
  bool connect_single;

  bool SameLine(std::size_t i) const {
    return i > 0 && (points[i].in_stroke || points[i].segment == points[i - 1].segment);
  }
  bool Alone(std::size_t i) const { return !SameLine(i) && !(i + 1 < points.size() && SameLine(i + 1)); }
  bool Joined(std::size_t i) const { return SameLine(i) || (connect_single && i > 0 && (Alone(i - 1) || Alone(i))); }
};

constexpr std::size_t kTenthsTextMax = kUnsignedTextMax + 3;  // sign, point and a digit

// The text of AppendTenths at `out`, in one piece; returns its end.
char* PutTenths(std::int64_t tenths, char* out) {
  if (tenths < 0) *out++ = '-';
  const std::uint64_t magnitude = tenths < 0 ? 0 - static_cast<std::uint64_t>(tenths) : tenths;
  out = FormatUnsigned(magnitude / 10, out);
  *out++ = '.';
  *out++ = static_cast<char>('0' + magnitude % 10);
  return out;
}

// The shortest text of a number of tenths: "-2.5", ".5", "3", "0".
char* PutShortTenths(std::int64_t tenths, char* out) {
  if (tenths < 0) *out++ = '-';
  const std::uint64_t magnitude = tenths < 0 ? 0 - static_cast<std::uint64_t>(tenths) : tenths;
  if (magnitude >= 10 || magnitude == 0) out = FormatUnsigned(magnitude / 10, out);
  if (magnitude % 10 != 0) {
    *out++ = '.';
    *out++ = static_cast<char>('0' + magnitude % 10);
  }
  return out;
}

}  // namespace

void AppendTenths(std::string& out, std::int64_t tenths) {
  char text[kTenthsTextMax];
  out.append(text, PutTenths(tenths, text));
}

void AppendStep(std::string& d, char command, std::int64_t x, std::int64_t y) {
  char text[1 + 2 * kTenthsTextMax];
  text[0] = command;
  char* end = PutTenths(x, text + 1);
  *end++ = ' ';
  d.append(text, PutTenths(y, end));
}

namespace {

// A relative step ('l' or 'm') by dx and dy tenths in its shortest text: a
// line along an axis as "v" or "h", whole units without decimals, no zero
// before the point: "l5 -2.5", "v.5", "m-3 1".
void AppendRelativeStep(std::string& d, char command, std::int64_t dx, std::int64_t dy) {
  char text[2 + 2 * kTenthsTextMax];
  char* end = text;
  if (command == 'l' && dx == 0) {
    *end++ = 'v';
    end = PutShortTenths(dy, end);
  } else if (command == 'l' && dy == 0) {
    *end++ = 'h';
    end = PutShortTenths(dx, end);
  } else {
    *end++ = command;
    end = PutShortTenths(dx, end);
    if (dy >= 0) *end++ = ' ';  // a minus sign separates the numbers itself
    end = PutShortTenths(dy, end);
  }
  d.append(text, end);
}

}  // namespace

void AppendMarker(std::string& d, std::size_t series, std::int64_t x, std::int64_t y) {
  for (const MarkerStep& step : kMarkers[series % kMarkers.size()]) {
    if (step.command == 0) break;
    if (step.command == 'Z') {
      d += 'Z';
    } else {
      AppendStep(d, step.command, x + step.dx, y + step.dy);
    }
  }
}

void AppendSeriesPath(std::string& d, const std::vector<DrawPoint>& points, const LineStyle& style) {
  const Joins joins{points, style.connect_single};
  std::vector<std::pair<std::int64_t, std::int64_t>> marks;
  constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  std::int64_t next_mark =
      style.series_count < 2
          ? kNever
          : style.plot_left + 200 + static_cast<std::int64_t>(style.series * kMarkerSpacing / style.series_count);
  std::size_t subpath_start = 0;
  int subpath_points = 0;
  DrawPoint last{};
  // The path's current point, from which each step is written (none before
  // the first); and where it stood before the current subpath began.
  std::optional<std::pair<std::int64_t, std::int64_t>> current, before_subpath;
  const auto end_subpath = [&] {
    if (subpath_points != 1 || !style.mark_lone) return;
    d.resize(subpath_start);  // a lone point draws no line; its marker shows it
    current = before_subpath;
    if (marks.empty() || marks.back() != std::pair{last.x, last.y}) marks.emplace_back(last.x, last.y);
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    const DrawPoint& point = points[i];
    if (joins.Joined(i)) {
      if (point.x == last.x && point.y == last.y) continue;
      AppendRelativeStep(d, 'l', point.x - current->first, point.y - current->second);
      ++subpath_points;
    } else {
      end_subpath();
      subpath_start = d.size();
      before_subpath = current;
      if (current) {
        AppendRelativeStep(d, 'm', point.x - current->first, point.y - current->second);
      } else {
        AppendStep(d, 'M', point.x, point.y);
      }
      subpath_points = 1;
    }
    current = {point.x, point.y};
    last = point;
    if (point.x >= next_mark) {
      marks.emplace_back(point.x, point.y);
      next_mark = point.x + kMarkerSpacing;
    }
  }
  end_subpath();
  for (const auto& [x, y] : marks) AppendMarker(d, style.series, x, y);
}

}  // namespace hkcsv
