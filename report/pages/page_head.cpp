// The head of every page of the report, with the stylesheet they share.
#include "report/pages/page_head.h"

#include <algorithm>

#include "hkcsv_version.h"
#include "report/model/level.h"
#include "text/html_text.h"

namespace hkcsv {

namespace {

constexpr char kPageStyle[] =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "h1{font-size:1.6em}h2{border-bottom:2px solid #444;padding-bottom:.2em;margin-top:2em}"
    "table{border-collapse:collapse;margin:1em 0;font-size:.85em}"
    "th,td{border:1px solid #bbb;padding:.2em .45em;text-align:right;white-space:nowrap}"
    "th{background:#eee}td.text{text-align:left}"
    // A pass that needs a look: red and marked for an alarm, amber for a
    // notice of reception or data quality.
    "tr.$0{background:#fde2dd;font-weight:bold}tr.$1{background:#fdf3d2}"
    "tr.$0 td:first-child::before{content:\"\\26A0  \"}"
    "td.bad{color:#a00000;text-decoration:underline}td.why{text-align:left}"
    "span.$0,p.$0{color:#a00000;font-weight:bold}span.$1,p.$1{color:#6b4f00}"
    "p.problem{font-weight:bold}"
    "tr.repeated{color:#666;font-style:italic}"
    ".red{background:#f6c1b8}.yellow{background:#fbe6a0}.ok{background:#dcefdc}"
    // A long table scrolls in a box of its own; its header row and its
    // first column stay in view.
    "div.scroll{overflow:auto;max-height:36em;margin:1em 0;border:1px solid #bbb}"
    "div.scroll table{margin:0;border-collapse:separate;border-spacing:0}"
    "div.scroll th,div.scroll td{border-width:0 1px 1px 0}"
    "div.scroll thead th{position:sticky;top:0;z-index:2}"
    "div.scroll th:first-child,div.scroll td:first-child{position:sticky;left:0;z-index:1;background:#fff}"
    "div.scroll thead th:first-child{z-index:3;background:#eee}"
    "div.scroll tr.$0 td:first-child{background:#fde2dd}div.scroll tr.$1 td:first-child{background:#fdf3d2}"
    "dl.summary{display:grid;grid-template-columns:max-content auto;gap:.2em 1em}"
    "dl.summary dt{font-weight:bold}dl.summary dd{margin:0}"
    "div.values{display:grid;grid-template-columns:repeat(auto-fill,minmax(17em,1fr));gap:.3em .6em;"
    "font-size:.85em;margin:.5em 0 1.5em}"
    "div.value{display:flex;justify-content:space-between;gap:1em;border:1px solid #ccc;padding:.15em .4em}"
    "table.account th{text-align:left}nav{margin:.5em 0}"
    "figure{margin:1.5em 0;max-width:1200px}figure svg{width:100%;height:auto}"
    "figcaption{font-size:.85em;color:#444}"
    // Small charts, two or three a row on a 1,280-pixel page.
    "h4{margin:1.2em 0 0}"
    "div.charts{display:grid;grid-template-columns:repeat(auto-fill,minmax(370px,1fr));gap:0 1.5em}"
    "div.charts figure{margin:.5em 0}"
    "svg.chart{font:10px sans-serif;fill:#222}svg.chart .chart-title{font-size:12px;font-weight:bold}"
    "svg.defs{position:absolute;width:0;height:0}"
    ".plot{fill:#fff;stroke:#999}.grid{fill:none;stroke:#ddd}"
    ".ytick,text.limit-red,text.limit-yellow{text-anchor:end}.xtick,.xdate,.axis-title{text-anchor:middle}"
    "path.limit-red,path.limit-yellow{fill:none;stroke-width:1.5;stroke-dasharray:6 4}"
    "path.limit-red{stroke:#c00}path.limit-yellow{stroke:#d4a000}"
    "text.limit-red{fill:#a00000}text.limit-yellow{fill:#7a5c00}"
    "text.limit-red,text.limit-yellow{paint-order:stroke;stroke:#fff;stroke-width:3px;stroke-linejoin:round}"
    // Okabe-Ito colours, without the yellow that limit lines use.
    "[class^=series-]{fill:none;stroke-width:1.5;stroke-linejoin:round}"
    ".series-0{stroke:#0072b2}.series-1{stroke:#e69f00}.series-2{stroke:#009e73}.series-3{stroke:#d55e00}"
    ".series-4{stroke:#cc79a7}.series-5{stroke:#56b4e9}.series-6{stroke:#000}"
    "svg.defs circle,g.pt circle{fill:#0072b2}g.pt circle{stroke:#fff;stroke-width:.8}"
    // The station's charts: tracks coloured by how much of a pass was heard
    // (Okabe-Ito colours), the rings of the sky, the direction factors'
    // wedges, a weak sector in red.
    "svg.sky,svg.rose,svg.bars,svg.scatter{font:10px sans-serif;fill:#222}"
    "figure svg.sky,figure svg.rose,figure svg.bars,figure svg.scatter{width:auto;max-width:100%}"
    "svg.sky text{paint-order:stroke;stroke:#fff;stroke-width:3px}"
    ".ring{fill:none;stroke:#bbb}.weak-ring{fill:none;stroke:#d55e00;stroke-dasharray:3 3}"
    "svg.sky path{fill:none;stroke-width:1.2;stroke-opacity:.75}"
    ".heard-all{stroke:#009e73;color:#009e73}.heard-most{stroke:#56b4e9;color:#0072b2}"
    ".heard-little{stroke:#e69f00;color:#9a6a00}.heard-nothing{stroke:#d55e00;color:#d55e00}"
    ".heard-unknown{stroke:#999;stroke-dasharray:4 3;color:#666}p.legend span::before{content:\"\\2501  \"}"
    ".wedge{fill:#56b4e9;stroke:#fff}.wedge.weak{fill:#d55e00}rect.bar{fill:#0072b2}"
    "tr.weak{background:#fde2dd;font-weight:bold}p.weak{color:#a00000;font-weight:bold}"
    "div.pass-sky{display:flex;gap:1em;align-items:center}"
    "@media print{figure,tr{break-inside:avoid;page-break-inside:avoid}body{margin:0}"
    "div.scroll{overflow:visible;max-height:none}}";

// The stylesheet, each level's class ("$0" for the alarm, "$1" for the
// notice above) in the level's own word, so that the classes the tables
// write are the ones styled.
const std::string& PageStyle() {
  static const std::string style = [] {
    std::string text = kPageStyle;
    for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
      const char placeholder[] = {'$', static_cast<char>('0' + i), '\0'};
      for (std::size_t at; (at = text.find(placeholder)) != std::string::npos;) {
        text.replace(at, 2, kLevelNames[i]);
      }
    }
    return text;
  }();
  return style;
}

constexpr std::string_view kGenerator = "<meta name=\"generator\" content=\"hkreport ";
constexpr std::string_view kHeadStart =
    "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
    "<meta charset=\"utf-8\"/>\n";

}  // namespace

std::string OverviewMark() { return "overview"; }

namespace {

// "pass page ", "year page ", "station page ".
std::string_view KindWords(PageKind kind) {
  switch (kind) {
    case PageKind::kPass:
      return "pass page ";
    case PageKind::kYear:
      return "year page ";
    case PageKind::kStation:
      break;
  }
  return "station page ";
}

}  // namespace

std::string PageMark(PageKind kind, std::string_view page_name, std::string_view overview_name) {
  std::string mark(KindWords(kind));
  AppendNarrow(mark, page_name);
  mark += " of ";
  AppendNarrow(mark, overview_name);
  return mark;
}

std::string UnnamedPageMark(PageKind kind, std::string_view overview_name) {
  std::string mark(KindWords(kind));
  mark += "of ";
  AppendNarrow(mark, overview_name);
  return mark;
}

std::optional<std::string> MarkOf(std::string_view head) {
  const std::size_t at = head.find(kGenerator);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = head.substr(at + kGenerator.size());
  rest.remove_prefix(std::min(rest.find(' '), rest.size()));  // the version
  if (!rest.starts_with(" (")) return std::nullopt;
  rest.remove_prefix(2);
  const std::size_t end = rest.find(")\"/>");
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(rest.substr(0, end));
}

std::string Version11PassPageStart(std::string_view capture_name) {
  std::string start(kHeadStart);
  start += "<title>";
  AppendNarrow(start, std::string(capture_name) + " - HK pass");
  start += "</title>\n<style>body{font-family:sans-serif;margin:1.5em;color:#222}";
  return start;
}

void AppendPageHead(std::string& html, std::string_view title, std::string_view mark) {
  html += kHeadStart;
  html += kGenerator;
  html += kVersion;
  html += " (";
  html += mark;
  html += ")\"/>\n<title>";
  AppendNarrow(html, title);
  html += "</title>\n<style>";
  html += PageStyle();
  html += "</style>\n</head>\n<body>\n";
}

void AppendPageEnd(std::string& html) { html += "</body>\n</html>\n"; }

}  // namespace hkcsv
