// The overview page: the latest passes, the table of contents, and a section
// per format.
#include "report/pages/overview.h"

#include "platform/files.h"
#include "report/charts/charts.h"
#include "report/pages/html_table.h"
#include "report/pages/page_head.h"
#include "report/pages/station_page.h"
#include "report/pages/tables.h"
#include "text/calendar.h"
#include "text/failure_text.h"
#include "text/html_text.h"
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

// The anchor of a format's part: "fm-passes".
void AppendPartId(std::string& html, const FormatConstants& constants, const Part& part) {
  html += constants.id;
  html += '-';
  html += part.id;
}

void AppendPartHeading(std::string& html, const FormatConstants& constants, const Part& part) {
  html += "<h3 id=\"";
  AppendPartId(html, constants, part);
  html += "\">";
  html += part.title;
  html += "</h3>\n";
}

std::string FormatTitle(const FormatConstants& constants) {
  return std::string(constants.folder) + ": " + constants.description;
}

// The point of each pass on the per-pass extremes charts, by pass index.
std::vector<PassPoint> PassPoints(const FormatRecord& format, const PassPageLinks& links) {
  std::vector<PassPoint> points;
  points.reserve(format.passes.size());
  for (std::size_t i = 0; i < format.passes.size(); ++i) {
    const PassRecord& pass = format.passes[i];
    PassPoint point;
    point.href = PassHref(links, format.format, i);
    point.label = NarrowToUtf8(pass.name) + ", " + FormatGroundTime(pass.start.value_or(0));
    point.values = pass.extremes;
    points.push_back(std::move(point));
  }
  return points;
}

// The passes that ask for a look, newest first; the recent passes; and the
// years of the older ones, each a link to its page.
void AppendPassLists(std::string& html, const FormatRecord& format, const PassPageLinks& links) {
  const PassLists& lists = format.lists;
  if (!lists.alarms.empty()) {
    html += "<p>Passes with an alarm, newest first";
    if (lists.alarm_count > lists.alarms.size()) {
      html += " (the newest ";
      AppendUnsigned(html, lists.alarms.size());
      html += " of ";
      AppendUnsigned(html, lists.alarm_count);
      html += ')';
    }
    html += ":</p>\n";
    AppendAlarmTable(html, format, links, lists.alarms);
  }
  if (lists.years.empty()) {
    html += lists.alarms.empty() ? "" : "<p>Every capture file:</p>\n";
  } else {
    html += "<p>The last ";
    AppendCounted(html, lists.recent.size(), "capture file", "capture files");
    html += " of ";
    AppendUnsigned(html, format.passes.size());
    html += " are below; the older ones on a page for each year of their date, which lists all of that year's files: ";
    for (std::size_t i = 0; i < lists.years.size(); ++i) {
      const YearPasses& year = lists.years[i];
      if (i > 0) html += " | ";
      std::string text = YearLabel(year.year) + " (";
      AppendUnsigned(text, year.passes.size());
      text += ')';
      const std::string href =
          links.years_written[i] ? YearPageHref(links.folder, format.format, year.year) : std::string();
      AppendLink(html, href, text);
    }
    html += "</p>\n";
  }
  AppendPassTable(html, format, links, lists.recent);
}

// Why there is nothing to show of a format, or empty.
std::string NothingToShow(const FormatRecord& format, const PassPageLinks& links) {
  std::string html;
  if (format.listing.missing && links.kept) {
    html =
        "<p class=\"problem\">The folder is missing: nothing was read. Its pass pages of earlier runs are kept.</p>\n";
  } else if (format.listing.missing) {
    html = "<p>There is no such folder: nothing to report.</p>\n";
  } else if (format.listing.error != 0) {
    html = "<p class=\"problem\">";
    html += AttemptWords(Attempt::kList);
    html += ' ';
    AppendNarrow(html, format.listing.folder);
    html += ": ";
    AppendNarrow(html, ErrorText(format.listing.error));
    html += "</p>\n";
  } else if (format.totals.files == 0) {
    html = "<p>No capture files in this folder.</p>\n";
  }
  return html;
}

}  // namespace

std::string RenderFormatSection(const FormatRecord& format, const PassPageLinks& links) {
  std::string html;
  const FormatConstants& constants = ConstantsOf(format.format);
  html += "<section id=\"";
  html += constants.id;
  html += "\">\n<h2>";
  html += FormatTitle(constants);
  html += "</h2>\n<p>Folder: <code>";
  AppendNarrow(html, format.listing.folder);
  html += "</code></p>\n";
  const std::string nothing = NothingToShow(format, links);
  if (!nothing.empty()) {
    html += nothing;
    html += "</section>\n";
    return html;
  }
  AppendPartHeading(html, constants, kParts[0]);
  AppendSummary(html, format);
  AppendPartHeading(html, constants, kParts[1]);
  AppendPassLists(html, format, links);
  AppendPartHeading(html, constants, kParts[2]);
  AppendChannelTable(html, format, links);
  AppendPartHeading(html, constants, kParts[3]);
  AppendTrendCharts(html,
                    {constants.id, &format.series, format.totals.charted_frames, format.limits, &format.time_zones});
  AppendPartHeading(html, constants, kParts[4]);
  const std::vector<PassPoint> points = PassPoints(format, links);
  AppendExtremeCharts(
      html, {constants.id, &format.extremes, format.totals.charted, format.limits, &format.time_zones, &points});
  html += "</section>\n";
  return html;
}

namespace {

// The format's line of the table of contents.
void AppendContents(std::string& html, const FormatRecord& format, const PassPageLinks& links) {
  const FormatConstants& constants = ConstantsOf(format.format);
  html += "<li><a href=\"#";
  html += constants.id;
  html += "\">";
  html += FormatTitle(constants);
  html += "</a>";
  if (NothingToShow(format, links).empty()) {
    for (const Part& part : kParts) {
      html += part.id == kParts[0].id ? ": " : " | ";
      html += "<a href=\"#";
      AppendPartId(html, constants, part);
      html += "\">";
      html += part.title;
      html += "</a>";
    }
  }
  html += "</li>\n";
}

}  // namespace

std::string RenderOverview(const OverviewInput& input) {
  std::string html;
  AppendPageHead(html, "HK report", OverviewMark());
  html += "<h1>HK report</h1>\n<p>Base directory: <code>";
  AppendNarrow(html, input.sample_root);
  html += "</code>";
  if (input.limits_file) {
    html += "<br/>Limits: <code>";
    AppendNarrow(html, *input.limits_file);
    html += "</code>";
  }
  html += "</p>\n";
  std::uint64_t capture_files = 0;
  std::string latest;
  for (const OverviewFormat& format : input.formats) {
    capture_files += format.record->totals.files;
    if (NothingToShow(*format.record, *format.pages).empty()) AppendLatestPass(latest, *format.record, *format.pages);
  }
  if (!latest.empty()) {
    html += "<section id=\"latest\">\n<h2>Latest pass</h2>\n";
    html += latest;
    html += "</section>\n";
  }
  std::vector<StationFormat> station;
  for (const OverviewFormat& format : input.formats) {
    if (NothingToShow(*format.record, *format.pages).empty()) station.push_back({format.record, format.pages});
  }
  if (!station.empty() && input.station_written) AppendStationCard(html, *input.layout, station);
  html += "<nav class=\"contents\"><ul>\n";
  for (const OverviewFormat& format : input.formats) AppendContents(html, *format.record, *format.pages);
  html += "</ul></nav>\n";
  for (const OverviewFormat& format : input.formats) html += *format.section;
  if (capture_files == 0) html += "<p>No capture files were found.</p>\n";
  AppendPageEnd(html);
  return html;
}

}  // namespace hkcsv
