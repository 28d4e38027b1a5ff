// The station's charts as SVG.
#include "report/charts/station_charts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "report/charts/svg_path.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr double kDegrees = std::numbers::pi / 180;

void AppendInteger(std::string& svg, double value) { AppendSigned(svg, static_cast<std::int64_t>(std::lround(value))); }

void AppendPoint(std::string& svg, double x, double y) {
  AppendInteger(svg, x);
  svg += ' ';
  AppendInteger(svg, y);
}

void OpenSvg(std::string& html, std::string_view css_class, int width, int height) {
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"";
  html += css_class;
  html += "\" viewBox=\"0 0 ";
  AppendUnsigned(html, static_cast<unsigned>(width));
  html += ' ';
  AppendUnsigned(html, static_cast<unsigned>(height));
  html += "\" width=\"";
  AppendUnsigned(html, static_cast<unsigned>(width));
  html += "\" height=\"";
  AppendUnsigned(html, static_cast<unsigned>(height));
  html += "\">";
}

// A label of the chart's own (UTF-8, as "30\u00B0"); titles, which name captures, are narrow text.
void AppendText(std::string& html, double x, double y, std::string_view anchor, std::string_view text) {
  html += "<text x=\"";
  AppendInteger(html, x);
  html += "\" y=\"";
  AppendInteger(html, y);
  html += "\" text-anchor=\"";
  html += anchor;
  html += "\">";
  AppendHtmlText(html, text);
  html += "</text>";
}

void AppendTitle(std::string& html, std::string_view title) {
  html += "<title>";
  AppendNarrow(html, title);
  html += "</title>";
}

}  // namespace

std::string_view HeardClass(std::optional<HeardBand> heard) {
  if (!heard) return "heard-unknown";
  switch (*heard) {
    case HeardBand::kAll:
      return "heard-all";
    case HeardBand::kMost:
      return "heard-most";
    case HeardBand::kLittle:
      return "heard-little";
    case HeardBand::kNothing:
      break;
  }
  return "heard-nothing";
}

std::string HeardWords(std::optional<HeardBand> heard) {
  if (!heard) return "frames expected unknown";
  switch (*heard) {
    case HeardBand::kAll:
      return "all heard (" + Decimals(kAllHeard * 100, 0) + "% or more)";
    case HeardBand::kMost:
      return "most heard (" + Decimals(kMostHeard * 100, 0) + "% or more)";
    case HeardBand::kLittle:
      return "little heard (above 0%)";
    case HeardBand::kNothing:
      break;
  }
  return "nothing heard";
}

void AppendSkyPlot(std::string& html, std::span<const SkyTrack> tracks, int size, bool labelled) {
  const double margin = labelled ? 18 : 4;
  const double centre = size / 2.0;
  const double radius = centre - margin;
  OpenSvg(html, "sky", size, size);
  // The rings at 0, 30 and 60 degrees of elevation, and the compass's cross.
  for (const int ring : {0, 30, 60}) {
    html += "<circle class=\"ring\" cx=\"";
    AppendInteger(html, centre);
    html += "\" cy=\"";
    AppendInteger(html, centre);
    html += "\" r=\"";
    AppendInteger(html, radius * (90 - ring) / 90);
    html += "\"/>";
  }
  html += "<path class=\"ring\" d=\"M";
  AppendPoint(html, centre, centre - radius);
  html += "V";
  AppendInteger(html, centre + radius);
  html += "M";
  AppendPoint(html, centre - radius, centre);
  html += "H";
  AppendInteger(html, centre + radius);
  html += "\"/>";
  for (const SkyTrack& track : tracks) {
    if (!track.href.empty()) {
      html += "<a href=\"";
      AppendHtmlText(html, track.href);
      html += "\">";
    }
    html += "<path class=\"";
    html += HeardClass(track.heard);
    html += "\" d=\"M";
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (std::size_t i = 0; i < track.points->size(); ++i) {
      const PlotPoint at = SkyPlotPosition((*track.points)[i]);
      const std::int64_t next_x = std::lround(centre + radius * at.x);
      const std::int64_t next_y = std::lround(centre + radius * at.y);
      if (i == 0) {
        AppendSigned(html, next_x);
        html += ' ';
        AppendSigned(html, next_y);
        html += 'l';
      } else {
        if (i > 1 && next_x - x >= 0) html += ' ';  // a minus sign separates the numbers itself
        AppendSigned(html, next_x - x);
        if (next_y - y >= 0) html += ' ';
        AppendSigned(html, next_y - y);
      }
      x = next_x;
      y = next_y;
    }
    html += "\">";
    AppendTitle(html, track.title);
    html += "</path>";
    if (!track.href.empty()) html += "</a>";
  }
  if (labelled) {
    AppendText(html, centre, margin - 5, "middle", "N");
    AppendText(html, centre, size - 4, "middle", "S");
    AppendText(html, size - margin + 3, centre + 4, "start", "E");
    AppendText(html, margin - 3, centre + 4, "end", "W");
    for (const int ring : {0, 30, 60}) {
      AppendText(html, centre + 3, centre - radius * (90 - ring) / 90 + 11, "start", std::to_string(ring) + "\u00B0");
    }
  }
  html += "</svg>";
}

void AppendRose(std::string& html, std::string_view title, const std::array<RoseSector, kSectors>& sectors) {
  constexpr int kSize = 260;
  constexpr double kCentre = kSize / 2.0;
  constexpr double kUnit = 70;      // the radius of a factor of 1
  constexpr double kLongest = 1.5;  // factors above are drawn at this
  OpenSvg(html, "rose", kSize, kSize);
  AppendText(html, kCentre, 14, "middle", title);
  for (const double ring : {kWeakFactor, 1.0}) {
    html += "<circle class=\"";
    html += ring == 1.0 ? "ring" : "weak-ring";
    html += "\" cx=\"";
    AppendInteger(html, kCentre);
    html += "\" cy=\"";
    AppendInteger(html, kCentre + 8);
    html += "\" r=\"";
    AppendInteger(html, kUnit * ring);
    html += "\"/>";
  }
  for (std::size_t sector = 0; sector < kSectors; ++sector) {
    const RoseSector& cell = sectors[sector];
    const double middle = 45.0 * static_cast<double>(sector);
    const double label_at = kUnit * kLongest + 10;
    AppendText(html, kCentre + label_at * std::sin(middle * kDegrees),
               kCentre + 8 - label_at * std::cos(middle * kDegrees) + 4, "middle", kSectorNames[sector]);
    if (!cell.factor) continue;
    const double length = kUnit * std::min(*cell.factor, kLongest);
    html += "<path class=\"";
    html += cell.weak ? "wedge weak" : "wedge";
    html += "\" d=\"M";
    AppendPoint(html, kCentre, kCentre + 8);
    for (const double edge : {middle - 20, middle + 20}) {
      html += "L";
      AppendPoint(html, kCentre + length * std::sin(edge * kDegrees), kCentre + 8 - length * std::cos(edge * kDegrees));
    }
    html += "Z\">";
    std::string words = std::string(kSectorNames[sector]) + ": factor " + Decimals(*cell.factor, 2) + ", ";
    AppendCounted(words, static_cast<std::uint64_t>(cell.passes), "pass", "passes");
    if (cell.reception_percent) words += ", reception " + Decimals(*cell.reception_percent, 1) + "%";
    AppendTitle(html, words);
    html += "</path>";
  }
  html += "</svg>";
}

void AppendBandBars(std::string& html, const std::array<std::optional<double>, kElevationBands>& reception_percent) {
  constexpr int kWidth = 420;
  constexpr int kHeight = 180;
  constexpr double kLeft = 36;
  constexpr double kTop = 10;
  constexpr double kPlotHeight = 130;
  constexpr double kBar = 40;
  OpenSvg(html, "bars", kWidth, kHeight);
  for (const int percent : {0, 50, 100}) {
    const double y = kTop + kPlotHeight * (100 - percent) / 100;
    html += "<path class=\"ring\" d=\"M";
    AppendPoint(html, kLeft, y);
    html += "H";
    AppendInteger(html, kLeft + kBar * kElevationBands);
    html += "\"/>";
    AppendText(html, kLeft - 4, y + 4, "end", std::to_string(percent) + "%");
  }
  for (std::size_t band = 0; band < kElevationBands; ++band) {
    const double x = kLeft + kBar * static_cast<double>(band);
    AppendText(html, x + kBar / 2, kTop + kPlotHeight + 16, "middle", kElevationBandNames[band]);
    if (!reception_percent[band]) continue;
    const double height = kPlotHeight * std::clamp(*reception_percent[band], 0.0, 100.0) / 100;
    html += "<rect class=\"bar\" x=\"";
    AppendInteger(html, x + 4);
    html += "\" y=\"";
    AppendInteger(html, kTop + kPlotHeight - height);
    html += "\" width=\"";
    AppendInteger(html, kBar - 8);
    html += "\" height=\"";
    AppendInteger(html, height);
    html += "\">";
    AppendTitle(html, std::string(kElevationBandNames[band]) + " deg: " + Decimals(*reception_percent[band], 1) + "%");
    html += "</rect>";
  }
  AppendText(html, kLeft + kBar * kElevationBands / 2, kHeight - 2, "middle", "Max angle [deg]");
  html += "</svg>";
}

void AppendSMeterScatter(std::string& html, const std::vector<std::string>& modulations,
                         const std::vector<std::vector<std::pair<double, double>>>& points) {
  constexpr int kWidth = 500;
  constexpr int kHeight = 200;
  constexpr double kLeft = 36;
  constexpr double kTop = 10;
  constexpr double kPlotWidth = 360;
  constexpr double kPlotHeight = 150;
  double top = 1;  // the highest S meter, the axis's end
  for (const auto& series : points) {
    for (const auto& [angle, s_meter] : series) top = std::max(top, s_meter);
  }
  top = std::ceil(top);
  OpenSvg(html, "scatter", kWidth, kHeight);
  html += "<path class=\"ring\" d=\"M";
  AppendPoint(html, kLeft, kTop);
  html += "V";
  AppendInteger(html, kTop + kPlotHeight);
  html += "H";
  AppendInteger(html, kLeft + kPlotWidth);
  html += "\"/>";
  for (const int angle : {0, 30, 60, 90}) {
    AppendText(html, kLeft + kPlotWidth * angle / 90, kTop + kPlotHeight + 14, "middle", std::to_string(angle));
  }
  AppendText(html, kLeft - 4, kTop + 4, "end", std::to_string(static_cast<int>(top)));
  AppendText(html, kLeft - 4, kTop + kPlotHeight + 4, "end", "0");
  AppendText(html, kLeft + kPlotWidth / 2, kHeight - 4, "middle", "Max angle [deg]; S meter up");
  for (std::size_t series = 0; series < points.size(); ++series) {
    html += "<g class=\"series-";
    AppendUnsigned(html, series % 7);
    html += " dots\">";
    for (const auto& [angle, s_meter] : points[series]) {
      html += "<circle cx=\"";
      AppendInteger(html, kLeft + kPlotWidth * angle / 90);
      html += "\" cy=\"";
      AppendInteger(html, kTop + kPlotHeight * (1 - std::max(0.0, s_meter) / top));
      html += "\" r=\"2\"/>";
    }
    html += "</g>";
    // The legend, right of the plot.
    const double y = kTop + 12 + 14 * static_cast<double>(series);
    html += "<g class=\"series-";
    AppendUnsigned(html, series % 7);
    html += " dots\"><circle cx=\"";
    AppendInteger(html, kLeft + kPlotWidth + 16);
    html += "\" cy=\"";
    AppendInteger(html, y - 4);
    html += "\" r=\"3\"/></g>";
    AppendText(html, kLeft + kPlotWidth + 24, y, "start", modulations[series]);
  }
  html += "</svg>";
}

}  // namespace hkcsv
