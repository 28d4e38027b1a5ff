// The SVG chart drawn from reduced series: its lines, strokes, markers,
// captions and escaping, read back from the rendered figure; and the chart
// sections of a page built from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "report/charts/charts.h"
#include "report/charts/svg_chart.h"
#include "report/charts/svg_text.h"
#include "report/model/ground_clock.h"
#include "report/model/time_series.h"

using namespace hkcsv;

namespace {

// ---- The chart --------------------------------------------------------------

struct Point {
  double x, y;
  bool operator==(const Point&) const = default;
};

// The subpaths of path data, as absolute points: M, L and Z with "x y", and
// steps from the current point, m and l with "dx dy", h with dx, v with dy;
// Z adds the subpath's first point again.
std::vector<std::vector<Point>> Subpaths(const std::string& d) {
  std::vector<std::vector<Point>> subpaths;
  Point current{0, 0};
  const char* at = d.c_str();
  while (*at != '\0') {
    const char command = *at++;
    if (command == 'Z') {
      subpaths.back().push_back(subpaths.back().front());
      current = subpaths.back().front();
      continue;
    }
    char* end;
    const double first = std::strtod(at, &end);
    const double second = command == 'h' || command == 'v' ? 0 : std::strtod(end, &end);
    at = end;
    switch (command) {
      case 'M':
      case 'L':
        current = {first, second};
        break;
      case 'm':
      case 'l':
        current = {current.x + first, current.y + second};
        break;
      case 'h':
        current.x += first;
        break;
      case 'v':
        current.y += first;
        break;
    }
    if (command == 'M' || command == 'm') subpaths.emplace_back();
    // Tenths added up stay tenths: round off what binary fractions add.
    current = {std::round(current.x * 10) / 10, std::round(current.y * 10) / 10};
    subpaths.back().push_back(current);
  }
  return subpaths;
}

// The value of attribute `name` of the first element that starts with `start`.
std::string Attribute(const std::string& html, const std::string& start, const std::string& name) {
  const std::size_t element = html.find(start);
  if (element == std::string::npos) return "";
  const std::size_t value = html.find(" " + name + "=\"", element) + name.size() + 3;
  return html.substr(value, html.find('"', value) - value);
}

// The contents of every <text class="css_class" ...>.
std::vector<std::string> Texts(const std::string& html, const std::string& css_class) {
  std::vector<std::string> texts;
  const std::string start = "<text class=\"" + css_class + "\"";
  for (std::size_t at = html.find(start); at != std::string::npos; at = html.find(start, at + 1)) {
    const std::size_t open = html.find('>', at) + 1;
    texts.push_back(html.substr(open, html.find("</text>", open) - open));
  }
  return texts;
}

// Enough of XML to catch what breaks a page: unbalanced or unquoted markup,
// bare ampersands, raw control bytes, more than one root.
bool WellFormed(std::string_view xml, std::string& why) {
  std::vector<std::string> open;
  int roots = 0;
  const auto entity_ok = [&](std::size_t& i) {
    const std::size_t end = xml.find(';', i);
    if (end == std::string_view::npos) return false;
    const std::string name(xml.substr(i + 1, end - i - 1));
    i = end + 1;
    if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos") return true;
    return name.size() > 1 && name[0] == '#' &&
           std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  std::size_t i = 0;
  while (i < xml.size()) {
    const auto c = static_cast<unsigned char>(xml[i]);
    if (c == '&') {
      if (!entity_ok(i)) return why = "bad entity at " + std::to_string(i), false;
    } else if (c < 0x20 && c != '\n') {
      return why = "control byte at " + std::to_string(i), false;
    } else if (c != '<') {
      if (open.empty() && c != '\n') return why = "text outside the root at " + std::to_string(i), false;
      ++i;
    } else if (xml.substr(i + 1, 1) == "/") {
      const std::size_t end = xml.find('>', i);
      const std::string name(xml.substr(i + 2, end - i - 2));
      if (open.empty() || open.back() != name) return why = "unbalanced </" + name + ">", false;
      open.pop_back();
      i = end + 1;
    } else {
      std::size_t j = i + 1;
      while (j < xml.size() && std::isalnum(static_cast<unsigned char>(xml[j]))) ++j;
      const std::string name(xml.substr(i + 1, j - i - 1));
      for (;;) {
        if (xml.substr(j, 1) == ">" || xml.substr(j, 2) == "/>") break;
        if (xml[j] != ' ') return why = "no space before an attribute of <" + name + ">", false;
        const std::size_t quote = xml.find("=\"", j);
        const std::size_t close = xml.find('"', quote + 2);
        if (quote == std::string_view::npos || close == std::string_view::npos) return why = "unquoted", false;
        for (std::size_t k = quote + 2; k < close;) {
          if (xml[k] == '<') return why = "< in an attribute of <" + name + ">", false;
          if (xml[k] != '&') {
            ++k;
          } else if (!entity_ok(k)) {
            return why = "bad entity in an attribute of <" + name + ">", false;
          }
        }
        j = close + 1;
      }
      if (open.empty()) ++roots;
      if (xml[j] == '>') open.push_back(name);
      i = j + (xml[j] == '>' ? 1 : 2);
    }
  }
  if (!open.empty() || roots != 1) return why = "unclosed <" + (open.empty() ? "" : open.back()) + "> or roots", false;
  return true;
}

std::string Render(const ChartInput& chart) {
  std::string html;
  AppendChart(html, chart);
  std::string why;
  EXPECT_TRUE(WellFormed(html, why)) << why;
  return html;
}

ChartInput Chart(std::vector<ChartSeriesView> series, std::uint64_t frames) {
  return {"solar", "Solar currents", "Solar Current [mA]", "Ground time (JST)", std::move(series), {}, frames};
}

TEST(SvgChart, LinesNeverJoinSamplesOfDifferentSegments) {
  // A pass, a pass of one frame, then a pass after a restart of the clock
  // that ends on a lone frame; each in a value band of its own.
  for (const int per_pass : {12, 30000}) {
    std::vector<Sample> samples;
    const auto add = [&](double t, float v, std::uint32_t segment) {
      samples.push_back({t, v, static_cast<std::uint32_t>(samples.size()), segment});
    };
    for (int i = 0; i < per_pass; ++i) add(1e9 + 0.5 * i, static_cast<float>(i % 3) / 2, 0);
    add(1e9 + per_pass, 10.5f, 1);
    for (int i = 0; i < per_pass; ++i) add(1e9 + 2 * per_pass + 0.5 * i, 20 + static_cast<float>(i % 3) / 2, 2);
    add(1e9 + 3 * per_pass, 20.5f, 3);
    TimeSeries series;
    for (const Sample& sample : samples) AddSample(series, sample);
    const std::string html = Render(Chart({{"Solar Current 1", &series}}, samples.size()));
    const auto subpaths = Subpaths(Attribute(html, "<path class=\"series-0\"", "d"));
    std::vector<double> ys;
    for (const auto& subpath : subpaths) {
      for (const Point& point : subpath) ys.push_back(point.y);
    }
    std::sort(ys.begin(), ys.end());
    const auto band = [&](double y) {  // bands of points, cut where the y values jump
      int band = 0;
      for (std::size_t i = 1; i < ys.size() && ys[i] <= y; ++i) band += ys[i] - ys[i - 1] > 40 ? 1 : 0;
      return 2 - band;
    };
    int lone_marks = 0;
    for (const auto& subpath : subpaths) {
      for (const Point& point : subpath) {
        ASSERT_EQ(band(point.y), band(subpath.front().y)) << "a line leaves its segment, " << per_pass << " per pass";
      }
      lone_marks += band(subpath.front().y) == 1 && subpath.size() >= 3 ? 1 : 0;
    }
    EXPECT_EQ(lone_marks, 1) << "the lone frame has no mark, " << per_pass << " per pass";
    EXPECT_NE(
        html.find(std::to_string(samples.size()) + (per_pass < 100 ? " frames, all drawn." : " frames; drawn in ")),
        std::string::npos);
  }
}

TEST(SvgChart, ConnectsSegmentsOfOneWhenAsked) {
  TimeSeries series;
  for (std::uint32_t pass = 0; pass < 5; ++pass) AddSample(series, {1e9 + 86400.0 * pass, 1.0f * pass, pass, pass});
  ChartInput chart = Chart({{"Battery Temp1", &series}}, 5);
  chart.connect_segments_of_one = true;
  const auto subpaths = Subpaths(Attribute(Render(chart), "<path class=\"series-0\"", "d"));
  ASSERT_FALSE(subpaths.empty());
  EXPECT_EQ(subpaths[0].size(), 5u);
}

TEST(SvgChart, PlotIsAtMost1000UnitsWideWithOneStrokePerColumn) {
  // Three series on different grids over a month; one dense, one sparse, one of a single frame.
  TimeSeries dense, sparse, single;
  for (std::uint32_t i = 0; i < 400000; ++i)
    AddSample(dense, {2e9 + 6.5 * i, static_cast<float>(i % 101), i, i / 5000});
  for (std::uint32_t i = 0; i < 300; ++i) AddSample(sparse, {2e9 + 8640.0 * i, static_cast<float>(i % 7), i, 0});
  AddSample(single, {2e9 + 1e6, 50, 0, 0});
  const std::string html =
      Render(Chart({{"Buss Current", &dense}, {"Solar Current 1", &sparse}, {"Solar Current 2", &single}}, 400301));
  const double left = std::stod(Attribute(html, "<rect class=\"plot\"", "x"));
  const double width = std::stod(Attribute(html, "<rect class=\"plot\"", "width"));
  EXPECT_LE(width, 1000);
  for (const char* series : {"series-0", "series-1", "series-2"}) {
    std::map<std::int64_t, int> strokes;  // runs of points at one x, by that x in tenths: each a column of its own
    for (const auto& subpath : Subpaths(Attribute(html, std::string("<path class=\"") + series + "\"", "d"))) {
      for (std::size_t i = 0; i < subpath.size(); ++i) {
        EXPECT_GE(subpath[i].x, left - 4.5) << series;  // a marker may reach 4 units past a point
        EXPECT_LE(subpath[i].x, left + width + 4.5) << series;
        const bool starts_run =
            i + 1 < subpath.size() && subpath[i + 1].x == subpath[i].x && (i == 0 || subpath[i - 1].x != subpath[i].x);
        if (subpath.size() > 5 && starts_run) ++strokes[std::llround(subpath[i].x * 10)];
      }
    }
    if (series == std::string("series-0")) {
      EXPECT_GT(strokes.size(), 500u);  // the dense series is drawn as strokes
    }
    for (const auto& [unit, count] : strokes) EXPECT_EQ(count, 1) << series << " at " << unit;
  }
}

TEST(SvgChart, ExtremeTimesAndValuesStillDraw) {
  const float most = std::numeric_limits<float>::max();
  TimeSeries series;
  AddSample(series, {-kTimeLimit, -most, 0, 0});
  AddSample(series, {kTimeLimit, most, 1, 1});
  ChartInput chart = Chart({{"Mag_x", &series}}, 2);
  chart.limits = {{"not drawn", 1e300, true}, {"nor this", std::nan(""), false}};
  const std::string html = Render(chart);
  EXPECT_EQ(Subpaths(Attribute(html, "<path class=\"series-0\"", "d")).size(), 2u);  // two lone marks
  EXPECT_EQ(html.find("not drawn"), std::string::npos);
}

TEST(SvgChart, LimitsWidenTheValueAxisUnlessTooFarToDraw) {
  TimeSeries series;
  AddSample(series, {1e9, -30, 0, 0});
  AddSample(series, {1e9 + 1, 80, 1, 0});
  ChartInput chart = Chart({{"Buss Voltage", &series}}, 2);
  chart.limits = {{"upper", 100, true}, {"beyond", 1e300, false}};
  EXPECT_EQ(Texts(Render(chart), "ytick"), (std::vector<std::string>{"-50", "0", "50", "100"}));
}

TEST(SvgChart, CaptionTellsHowTheFramesWereDrawn) {
  TimeSeries series;  // one frame a second for 10000 s: 16 s columns after the budget and the width
  for (std::uint32_t i = 0; i < 10000; ++i) AddSample(series, {1e9 + i, static_cast<float>(i % 5), i, 0});
  EXPECT_NE(
      Render(Chart({{"Buss Voltage", &series}}, 10000))
          .find("<figcaption><strong>Solar currents</strong>: 10000 frames; drawn in 625 columns of 16 s, reduced "
                "to first, last, minimum and maximum where a column holds more than four.</figcaption>"),
      std::string::npos);
  // Columns of 0.5 s holding eight frames each, drawn as strokes at their
  // centres on a grid widened to 120 columns; the caption counts those drawn.
  struct Reduced {
    double first;  // t of the first of `frames` frames 1/16 s apart
    std::uint32_t frames;
    std::vector<double> stroke_xs;  // the first and the last
    const char* caption;
  };
  const Reduced cases[] = {
      // Columns 2e9 to 2e9 + 9 of the grid from 2e9 - 55: centres 55.5 and 64.5 columns of 326/120 units in.
      {1e9, 80, {208.8, 233.2}, ": 80 frames; drawn in 10 columns of 0.5 s, reduced"},
      // Before 1970: columns -20 to -1 of the grid from -70.
      {-10, 160, {195.2, 246.8}, ": 160 frames; drawn in 20 columns of 0.5 s, reduced"},
  };
  for (const Reduced& c : cases) {
    TimeSeries reduced;
    for (std::uint32_t i = 0; i < c.frames; ++i) AddSample(reduced, {c.first + i / 16.0, i % 3 * 1.0f, i, 0});
    const std::string html = Render(Chart({{"Buss Voltage", &reduced}}, c.frames));
    const auto subpaths = Subpaths(Attribute(html, "<path class=\"series-0\"", "d"));
    ASSERT_EQ(subpaths.size(), 1u) << c.first;
    std::vector<double> xs;  // of the strokes, one per column
    for (const Point& point : subpaths[0]) {
      if (xs.empty() || xs.back() != point.x) xs.push_back(point.x);
    }
    EXPECT_EQ(xs.size(), c.frames / 8) << c.first;
    EXPECT_EQ((std::vector<double>{xs.front(), xs.back()}), c.stroke_xs) << c.first;
    EXPECT_NE(html.find(c.caption), std::string::npos) << c.first;
  }
  const TimeSeries empty;
  const std::string none = Render(Chart({{"Buss Voltage", &empty}, {"Buss Current", nullptr}}, 0));
  EXPECT_NE(none.find("No frames to draw."), std::string::npos);
  EXPECT_EQ(none.find("<svg"), std::string::npos);
}

TEST(SvgChart, EscapesEveryTextItWrites) {
  TimeSeries series;
  AddSample(series, {1e9, 1, 0, 0});
  ChartInput chart = Chart({{"a<b>&\"c'", &series}, {"bad \x01 \xFF byte", &series}}, 1);
  chart.id = "id\"x";
  chart.title = "T\xC3\xA9mp <\xE6\xB8\xA9\xE5\xBA\xA6>";
  chart.axis_title = "Temp [degC] & more";
  chart.limits = {{"red < 60", 60, true}, {"yellow > 40", 40, false}};
  const std::string html = Render(chart);
  for (const char* text : {"a&lt;b&gt;&amp;&quot;c&#39;", "bad \\x01 \\xFF byte", "id&quot;x",
                           "T\xC3\xA9mp &lt;\xE6\xB8\xA9\xE5\xBA\xA6&gt;", "red &lt; 60", "yellow &gt; 40"}) {
    EXPECT_NE(html.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(html.find("&nbsp;"), std::string::npos);
}

TEST(SvgText, TextIsSqueezedOnlyWhereItWouldNotFit) {
  // A character beyond ASCII counts once, 10 units wide, whatever its bytes;
  // an entity counts as the one character it shows.
  const std::string thirty = [] {
    std::string text;
    for (int i = 0; i < 30; ++i) text += "\xE8\xA7\xA3";
    return text;
  }();
  const struct {
    std::string text;
    std::int64_t width;  // tenths
    bool squeezed;
  } cases[] = {
      {thirty, 3000, false},
      {thirty + "\xE8\xA7\xA3", 3000, true},
      {std::string(48, '&'), 3000, false},  // 48 x 6.2 units
      {std::string(49, '&'), 3000, true},
  };
  for (const auto& c : cases) {
    std::string svg;
    AppendFittedText(svg, "t", 0, 0, c.text, c.width);
    EXPECT_EQ(svg.find("textLength") != std::string::npos, c.squeezed) << c.text.size();
  }
}

// ---- The chart sections --------------------------------------------------------

std::string Rendered(const std::string& html) {
  std::string why;
  EXPECT_TRUE(WellFormed("<div>" + html + "</div>", why)) << why;
  return html;
}

TEST(Charts, PassChartsBreakLinesAtFallsNotAtRisesOf300Seconds) {
  // SatTime 150, 450 (a rise of exactly 300 s), 10 (a fall), 60, 400 (a
  // gap of 340 s, which the clock runs through) from 09:15:30: at 0 s, 300 s,
  // 300 s, 350 s and 690 s, 1 s columns (691 half-second ones would be too
  // many), 691 of them over the 326 units of the plot: x = 58 + s x 326 / 691;
  // values 1 to 5 over its 160.
  std::array<TimeSeries, kEngineeringChannels> series{};
  GroundClock clock;
  std::uint32_t segment = 0, seq = 0;
  for (const double sat_time : {150.0, 450.0, 10.0, 60.0, 400.0}) {
    const FramePlace place = PlaceFrame(clock, 1547111730, sat_time);
    segment += place.new_line ? 1 : 0;
    ++seq;
    AddSample(series[0], {place.ground_time, static_cast<float>(seq), seq, segment});
  }
  const std::vector<std::string> zones{std::string(250, 'Z'), "Central European Summer Time", "ABCDEFGHIJKLMNOPQRS",
                                       "x", "y"};
  std::string html;
  AppendTrendCharts(html, {"pass", &series, 5, nullptr, &zones, true, true});
  Rendered(html);
  const std::string start =
      "<path class=\"series-0\" marker-start=\"url(#pass-dot)\" marker-mid=\"url(#pass-dot)\" "
      "marker-end=\"url(#pass-dot)\" d=\"";
  EXPECT_EQ(Subpaths(Attribute(html, start, "d")),
            (std::vector<std::vector<Point>>{
                {{58.0, 186.0}, {199.5, 146.0}}, {{199.5, 106.0}, {223.1, 66.0}}, {{383.5, 26.0}}}));
  // Each step is written from the one before it.
  EXPECT_NE(html.find(start + "M58.0 186.0l141.5-40m0-40l23.6-40m160.4-40\"/>"), std::string::npos);
  EXPECT_NE(html.find("<marker id=\"pass-dot\""), std::string::npos);
  EXPECT_EQ(Texts(html, "xtick"), (std::vector<std::string>{"09:20:00", "09:25:00"}));
  // 77 characters would overflow the chart: squeezed to its width.
  EXPECT_NE(html.find("<text class=\"axis-title\" x=\"221.0\" y=\"225.0\" textLength=\"380.0\" "
                      "lengthAdjust=\"spacingAndGlyphs\">Ground time (ZZZZZZZZZZZZZZZZ, Central European, "
                      "ABCDEFGHIJKLMNOP and 2 more)</text>"),
            std::string::npos);
  EXPECT_NE(html.find("<figcaption><strong>Buss Voltage</strong>: 5 frames, all drawn.</figcaption>"),
            std::string::npos);
}

TEST(Charts, ExtremePointsLinkToTheirPassesAndShowTheirExactValues) {
  std::array<TimeSeries, kPassExtremes> series{};
  const std::vector<PassPoint> points{
      {"pass%201.html", "pass 1.txt, 2019-01-10 09:15:30", {3.752441, 20, 0.5}},
      {"", "pass_2.txt, 2019-01-11 09:15:30", {3.8, 30, 7}},
      {"p3.html", "a<b.txt, 2019-01-12 09:15:30", {3.7, 25, 0.25}},
  };
  for (std::uint32_t pass = 0; pass < points.size(); ++pass) {
    for (std::size_t i = 0; i < kPassExtremes; ++i) {
      AddSample(series[i], {1547111730 + 86400.0 * pass, static_cast<float>(points[pass].values[i]), pass, 0});
    }
  }
  LimitTable limits{};
  for (const int gyro : {27, 28, 29}) limits[gyro] = {-5, -1, 1, 5};
  const std::vector<std::string> zones{"JST"};
  std::string html;
  AppendExtremeCharts(html, {"fm", &series, 3, &limits, &zones, &points});
  Rendered(html);
  // 256 s columns from 1547111730 / 256 = 6043405.195; values 3.7 to 3.8 over the plot's 160 units.
  // The points share their look through their group's class.
  EXPECT_NE(html.find("<g class=\"pt\">\n<a href=\"pass%201.html\"><circle cx=\"58.1\" cy=\"102.1\" r=\"4\">"
                      "<title>pass 1.txt, 2019-01-10 09:15:30: 3.752441</title></circle></a>"),
            std::string::npos);
  EXPECT_NE(html.find("\"><title>pass_2.txt, 2019-01-11 09:15:30: 7.000000</title></circle>\n"), std::string::npos);
  EXPECT_NE(html.find("<a href=\"p3.html\"><circle cx="), std::string::npos);
  EXPECT_NE(html.find("<title>a&lt;b.txt, 2019-01-12 09:15:30: 0.250000</title>"), std::string::npos);
  EXPECT_EQ(Texts(html, "limit-red"), std::vector<std::string>{"Gyro_x Rate, Gyro_y Rate, Gyro_z Rate red"});
  EXPECT_NE(html.find("<strong>Largest gyro rate of each pass</strong>: 3 passes, all drawn."), std::string::npos);
}

TEST(Charts, ManyPassesKeepTheTitlesOfTheirLowestHighestAndLast) {
  // 1,000 passes a day apart, all at 3.7 V but pass 500 at 3.2 V: more than
  // a pointer tells apart across 326 units. Each 4 units (82 stretches) keep
  // their lowest and highest point's title, the stray value and the last
  // pass among them.
  std::array<TimeSeries, kPassExtremes> series{};
  std::vector<PassPoint> points;
  for (std::uint32_t pass = 0; pass < 1000; ++pass) {
    const double volts = pass == 500 ? 3.2 : 3.7;
    const std::string name = std::string("p").append(std::to_string(pass));
    points.push_back({name + ".html", name, {volts, 20, 1}});
    for (std::size_t i = 0; i < kPassExtremes; ++i) {
      AddSample(series[i], {1547111730 + 86400.0 * pass, static_cast<float>(points.back().values[i]), pass, 0});
    }
  }
  const LimitTable limits{};
  const std::vector<std::string> zones{"JST"};
  std::string html;
  AppendExtremeCharts(html, {"fm", &series, 1000, &limits, &zones, &points});
  const std::string chart = html.substr(0, html.find("</figure>"));  // the bus voltage's
  std::size_t titles = 0;
  for (std::size_t at = chart.find("<title>p"); at != std::string::npos; at = chart.find("<title>p", at + 1)) ++titles;
  EXPECT_LE(titles, 2 * 82 + 1u);
  EXPECT_GT(titles, 82u);
  EXPECT_NE(chart.find("<title>p500: 3.200000</title>"), std::string::npos);
  EXPECT_NE(chart.find("<title>p999: 3.700000</title>"), std::string::npos);
}

TEST(Charts, TimeAxisTitleNamesAtMostThreeZonesOf16Bytes) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "Ground time"},
      {{"JST"}, "Ground time (JST)"},
      {{"JST", "UTC", "CET", "EET", "MSK"}, "Ground time (JST, UTC, CET and 2 more)"},
      {{std::string(250, 'Z')}, "Ground time (ZZZZZZZZZZZZZZZZ)"},
  };
  for (const auto& [zones, title] : cases) EXPECT_EQ(TimeAxisTitle(zones), title) << title;
}

TEST(Charts, TimeAxisTitleCutsAZoneOnlyBetweenCharacters) {
#ifdef _WIN32
  GTEST_SKIP() << "zone names are text of the ANSI code page here, not UTF-8 or raw bytes";
#endif
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      // A character of three bytes at bytes 14 to 16 is left out whole; at 13 to 15 it fits.
      {{"ABCDEFGHIJKLMN\xE6\x97\xA5"}, "Ground time (ABCDEFGHIJKLMN)"},
      {{"ABCDEFGHIJKLM\xE6\x97\xA5\xE6\x9C\xAC"}, "Ground time (ABCDEFGHIJKLM\xE6\x97\xA5)"},
      // Bytes that are no UTF-8 are cut at most three bytes short.
      {{std::string(20, '\x80')}, "Ground time (" + std::string(13, '\x80') + ")"},
  };
  for (const auto& [zones, title] : cases) EXPECT_EQ(TimeAxisTitle(zones), title) << title;
}

TEST(Charts, LimitLinesMergeEqualLimitsAndNameSeveralChannels) {
  LimitTable limits{};
  limits[0] = {3.6, 3.76, 4.2, 4.3};                   // Buss Voltage
  limits[1] = {std::nullopt, std::nullopt, 400, 400};  // Buss Current
  limits[8] = {-10, 0, 35, 45};                        // Battery Temp1
  limits[9] = {-10, 0, 35, 50};                        // Battery Temp2
  limits[27] = limits[28] = {-5, -1, 1, 5};            // Gyro_x and Gyro_y Rate
  limits[29] = {-3, -1, 1, 5};                         // Gyro_z Rate
  struct Case {
    std::vector<int> channels;
    bool magnitude;
    std::vector<std::string> lines;  // label = value, r for red
  };
  const Case cases[] = {
      {{0}, false, {"red low = 3.6 r", "yellow low = 3.76", "yellow high = 4.2", "red high = 4.3 r"}},
      {{1}, false, {"yellow high; red high = 400 r"}},
      {{8, 9},
       false,
       {"Battery Temp1, Battery Temp2 red low = -10 r", "Battery Temp1, Battery Temp2 yellow low = 0",
        "Battery Temp1, Battery Temp2 yellow high = 35", "Battery Temp1 red high = 45 r",
        "Battery Temp2 red high = 50 r"}},
      {{27, 28, 29},
       true,
       {"Gyro_x Rate, Gyro_y Rate, Gyro_z Rate red = 5 r", "Gyro_x Rate, Gyro_y Rate, Gyro_z Rate yellow = 1",
        "Gyro_z Rate red = 3 r"}},
      {{2}, false, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    for (const ChartLimit& line : LimitLines(&limits, c.channels, c.magnitude)) {
      std::ostringstream text;
      text << line.label << " = " << line.value << (line.red ? " r" : "");
      lines.push_back(text.str());
    }
    EXPECT_EQ(lines, c.lines) << c.channels.front();
  }
  EXPECT_TRUE(LimitLines(nullptr, std::vector<int>{0}, false).empty());
}

}  // namespace
