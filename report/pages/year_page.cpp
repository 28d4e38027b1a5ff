// The page of a format's passes of one year.
#include "report/pages/year_page.h"

#include "report/pages/html_table.h"
#include "report/pages/page_head.h"
#include "report/pages/page_names.h"
#include "report/pages/tables.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// The overview, and the year before and after that have a page.
void AppendNavigation(std::string& html, const YearPageInput& input) {
  const std::vector<YearPasses>& years = input.format->lists.years;
  // A year whose page could not be written is named, not linked.
  const auto link = [&](std::size_t year, const char* what) {
    html += " | ";
    html += what;
    html += ": ";
    const std::string href =
        input.links->years_written[year] ? YearPageHref({}, input.format->format, years[year].year) : std::string();
    AppendLink(html, href, YearLabel(years[year].year));
  };
  html += "<nav class=\"pass\"><a href=\"";
  AppendHtmlText(html, input.overview_href);
  html += "\">Overview</a>";
  if (input.year > 0) link(input.year - 1, "Previous");
  if (input.year + 1 < years.size()) link(input.year + 1, "Next");
  html += "</nav>\n";
}

}  // namespace

void RenderYearPage(std::string& html, const YearPageInput& input) {
  const FormatRecord& format = *input.format;
  const YearPasses& year = format.lists.years[input.year];
  const FormatConstants& constants = ConstantsOf(format.format);
  const std::string title =
      std::string(constants.folder) + ": passes " + (year.year ? "of " + YearLabel(year.year) : "without a date");
  AppendPageHead(html, title + " - HK report", input.mark);
  AppendNavigation(html, input);
  html += "<h1>";
  html += title;
  html += "</h1>\n<p>";
  AppendCounted(html, year.passes.size(), "capture file", "capture files");
  html += ", in listing order: ";
  AppendCounted(html, year.alarms, "pass", "passes");
  html += " with an alarm, ";
  AppendCounted(html, year.notices, "pass", "passes");
  html += " with only notices.</p>\n";
  AppendPassTable(html, format, *input.links, year.passes);
  AppendNavigation(html, input);
  AppendPageEnd(html);
}

}  // namespace hkcsv
