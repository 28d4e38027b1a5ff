// The SVG chart drawn from reduced series: its lines, strokes, markers,
// captions and escaping, read back from the rendered figure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "report/svg_chart.h"
#include "report/time_series.h"

using namespace hkcsv;

namespace {

// ---- The chart --------------------------------------------------------------

struct Point {
  double x, y;
};

// The subpaths of path data made of M, L and Z with absolute coordinates
// "x y"; Z adds the subpath's first point again.
std::vector<std::vector<Point>> Subpaths(const std::string& d) {
  std::vector<std::vector<Point>> subpaths;
  const char* at = d.c_str();
  while (*at != '\0') {
    const char command = *at++;
    if (command == 'Z') {
      subpaths.back().push_back(subpaths.back().front());
      continue;
    }
    char* end;
    const double x = std::strtod(at, &end);
    const double y = std::strtod(end, &end);
    at = end;
    if (command == 'M') subpaths.emplace_back();
    subpaths.back().push_back({x, y});
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

}  // namespace
