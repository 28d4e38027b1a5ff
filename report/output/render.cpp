// A format's pages and export rows, rendered into a sink.
#include "report/output/render.h"

#include <algorithm>
#include <vector>

#include "report/output/export_csv.h"
#include "report/pages/overview.h"
#include "report/pages/page_head.h"
#include "report/pages/pass_page.h"
#include "report/pages/year_page.h"

namespace hkcsv {

namespace {

bool AnyOf(const std::vector<bool>& flags) { return std::find(flags.begin(), flags.end(), true) != flags.end(); }

// The pass pages, from the frames: on the first round every page (`again`
// is set for the pages whose next neighbour did not come to stand, as they
// link it), on a later round only those of `again`.
bool RenderPassPages(const PageLayout& layout, const FormatRecord& record, PassPageLinks& links, InputStream& frames,
                     RenderSink& sink, std::vector<bool>& again, bool first_round) {
  const std::string overview_href = OverviewHref(layout, PageKind::kPass);
  PassDetail detail;
  std::string html;  // one pass page after the other
  for (std::size_t pass = 0; pass < record.passes.size(); ++pass) {
    if (!ReplayPassDetail(frames, record, pass, detail)) return false;
    if (!(first_round || again[pass])) continue;
    again[pass] = false;
    html.clear();
    RenderPassPage(html, {&record, pass, &detail, &links, overview_href,
                          PageMark(PageKind::kPass, links.names[pass], layout.overview_name)});
    // Never a link to a page that is not there: the page before links it.
    // A page rendered again that does not stand keeps its first version.
    if (!sink.pass_page(pass, html) && first_round) {
      links.written[pass] = false;
      if (pass > 0 && links.written[pass - 1]) again[pass - 1] = true;
    }
  }
  return true;
}

// The export's rows, written as the frames are read back: the cells every
// row of a pass starts with are made once per pass.
FrameVisitor ExportRows(OutputStream& rows, DownlinkFormat format, const FrameVisitor& also) {
  return [&rows, format, &also, cells = std::string(), pass = static_cast<const PassRecord*>(nullptr)](
             const PassRecord& record, const ReplayedFrame& frame) mutable {
    if (pass != &record) {
      pass = &record;
      cells = ExportPassCells(ConstantsOf(format).folder, record.name, record.start, record.file.header.time_zone);
    }
    WriteExportRow(rows, cells, frame.ground_time, frame.frame, frame.worst);
    if (also) also(record, frame);
  };
}

// The year pages, linked to the pass pages that stand: a year page whose
// next neighbour did not come to stand is rendered again without its link.
void RenderYearPages(const PageLayout& layout, const FormatRecord& record, PassPageLinks& links, RenderSink& sink) {
  const std::size_t count = record.lists.years.size();
  links.years_written.assign(count, static_cast<bool>(sink.year_page));
  if (!sink.year_page) return;
  PassPageLinks year_links = links;
  year_links.folder.clear();  // the year pages stand in the pages' folder
  const std::string overview_href = OverviewHref(layout, PageKind::kYear);
  const auto render = [&](std::size_t year) {
    year_links.years_written = links.years_written;
    std::string html;
    const std::string name = YearPageName(record.format, record.lists.years[year].year);
    RenderYearPage(html,
                   {&record, year, &year_links, overview_href, PageMark(PageKind::kYear, name, layout.overview_name)});
    return sink.year_page(year, html);
  };
  std::vector<bool> again(count, false);
  for (std::size_t year = 0; year < count; ++year) {
    if (render(year)) continue;
    links.years_written[year] = false;
    if (year > 0 && links.years_written[year - 1]) again[year - 1] = true;
  }
  // Rendered again without the link; one that does not stand keeps its first version.
  for (std::size_t year = 0; year < count; ++year) {
    if (again[year]) render(year);
  }
}

}  // namespace

bool RenderFormat(const PageLayout& layout, FormatRecord& record, PassPageLinks& links, const FrameReader& frames,
                  RenderSink& sink, std::string& section) {
  // Each page counts as standing until the sink says it does not: a page
  // links those still to come.
  links.written.assign(record.passes.size(), static_cast<bool>(sink.pass_page));
  if (sink.pass_page) {
    std::vector<bool> again(record.passes.size(), false);
    bool first_round = true;
    const auto pages = [&](InputStream& stored) {
      return RenderPassPages(layout, record, links, stored, sink, again, first_round);
    };
    if (!frames(pages)) return false;
    first_round = false;
    if (AnyOf(again) && !frames(pages)) return false;
  }
  const FrameVisitor visit = sink.export_rows ? ExportRows(*sink.export_rows, record.format, sink.frame) : sink.frame;
  if (!frames([&](InputStream& stored) { return ReplayTrendSeries(stored, record, visit); })) return false;
  RenderYearPages(layout, record, links, sink);
  section = RenderFormatSection(record, links);
  record.series = {};  // one format's series are held at a time
  return true;
}

}  // namespace hkcsv
