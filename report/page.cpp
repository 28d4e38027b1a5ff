#include "report/page.h"

#include <cstring>

#include "report/calendar.h"
#include "report/charts.h"
#include "report/html_text.h"
#include "report/page_head.h"
#include "report/page_names.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

struct Part {
  const char* id;  // after the format's id: "fm-passes"
  const char* title;
};

constexpr Part kParts[] = {{"summary", "Summary"},
                           {"passes", "Passes"},
                           {"channels", "Channels"},
                           {"trends", "Trends"},
                           {"extremes", "Per-pass extremes"}};

void AppendPartHeading(std::string& html, const FormatConstants& constants, const Part& part) {
  html += "<h3 id=\"";
  html += constants.id;
  html += '-';
  html += part.id;
  html += "\">";
  html += part.title;
  html += "</h3>\n";
}

std::string FormatTitle(const FormatConstants& constants) {
  return std::string(constants.folder) + ": " + constants.description;
}

// The point of each charted pass on the per-pass extremes charts.
std::vector<PassPoint> PassPoints(const FormatData& data, const PageContext& context) {
  std::vector<PassPoint> points;
  points.reserve(data.passes.size());
  for (const PassSummary& pass : data.passes) {
    PassPoint point;
    if (pass.page_written) point.href = PassPageHref(context.pages_folder, ConstantsOf(data.format).folder, pass.page);
    point.label = NarrowToUtf8(pass.name) + ", " + FormatGroundTime(pass.start);
    point.values = {pass.min_bus_voltage, pass.max_battery_temp, pass.max_abs_gyro_rate};
    points.push_back(std::move(point));
  }
  return points;
}

// Why there is nothing to show of a format, or empty.
std::string NothingToShow(const FormatData& data) {
  std::string html;
  if (data.listing.missing) {
    html = "<p>There is no such folder: nothing to report.</p>\n";
  } else if (data.listing.error != 0) {
    html = "<p class=\"problem\">Cannot list ";
    AppendNarrow(html, data.listing.folder);
    html += ": ";
    AppendNarrow(html, std::strerror(data.listing.error));
    html += "</p>\n";
  } else if (data.totals.files == 0) {
    html = "<p>No capture files in this folder.</p>\n";
  }
  return html;
}

void AppendSection(std::string& html, const FormatData& data, const LimitTable* limits, const PageContext& context) {
  const FormatConstants& constants = ConstantsOf(data.format);
  html += "<section id=\"";
  html += constants.id;
  html += "\">\n<h2>";
  html += FormatTitle(constants);
  html += "</h2>\n<p>Folder: <code>";
  AppendNarrow(html, data.listing.folder);
  html += "</code></p>\n";
  const std::string nothing = NothingToShow(data);
  if (!nothing.empty()) {
    html += nothing;
    html += "</section>\n";
    return;
  }
  AppendPartHeading(html, constants, kParts[0]);
  AppendSummary(html, data);
  AppendPartHeading(html, constants, kParts[1]);
  AppendPassTable(html, context, data);
  AppendPartHeading(html, constants, kParts[2]);
  AppendChannelTable(html, context, data);
  AppendPartHeading(html, constants, kParts[3]);
  AppendTrendCharts(html, {constants.id, &data.series, data.charted_frames, limits, &data.time_zones});
  AppendPartHeading(html, constants, kParts[4]);
  const std::vector<PassPoint> points = PassPoints(data, context);
  AppendExtremeCharts(html, {constants.id, &data.extremes, data.totals.charted, limits, &data.time_zones, &points});
  html += "</section>\n";
}

}  // namespace

FormatParts RenderFormat(const FormatData& data, const LimitTable* limits, const PageContext& context) {
  const FormatConstants& constants = ConstantsOf(data.format);
  FormatParts parts;
  parts.capture_files = data.totals.files;
  parts.contents = "<li><a href=\"#";
  parts.contents += constants.id;
  parts.contents += "\">";
  parts.contents += FormatTitle(constants);
  parts.contents += "</a>";
  if (NothingToShow(data).empty()) {
    for (const Part& part : kParts) {
      parts.contents += part.id == kParts[0].id ? ": " : " | ";
      parts.contents += "<a href=\"#";
      parts.contents += constants.id;
      parts.contents += '-';
      parts.contents += part.id;
      parts.contents += "\">";
      parts.contents += part.title;
      parts.contents += "</a>";
    }
    AppendLatestPass(parts.latest, context, data);
  }
  parts.contents += "</li>\n";
  AppendSection(parts.section, data, limits, context);
  return parts;
}

std::string RenderOverview(const PageInputs& inputs, const std::vector<FormatParts>& formats) {
  std::string html;
  AppendPageHead(html, "HK report");
  html += "<h1>HK report</h1>\n<p>Base directory: <code>";
  AppendNarrow(html, inputs.sample_root);
  html += "</code>";
  if (inputs.limits_file) {
    html += "<br/>Limits: <code>";
    AppendNarrow(html, *inputs.limits_file);
    html += "</code>";
  }
  html += "</p>\n";
  std::uint64_t capture_files = 0;
  std::string latest;
  for (const FormatParts& parts : formats) {
    capture_files += parts.capture_files;
    latest += parts.latest;
  }
  if (!latest.empty()) {
    html += "<section id=\"latest\">\n<h2>Latest pass</h2>\n";
    html += latest;
    html += "</section>\n";
  }
  html += "<nav class=\"contents\"><ul>\n";
  for (const FormatParts& parts : formats) html += parts.contents;
  html += "</ul></nav>\n";
  for (const FormatParts& parts : formats) html += parts.section;
  if (capture_files == 0) html += "<p>No capture files were found.</p>\n";
  AppendPageEnd(html);
  return html;
}

}  // namespace hkcsv
