// The page of one pass.
#include "report/pages/pass_page.h"

#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "report/charts/charts.h"
#include "report/pages/html_table.h"
#include "report/pages/page_head.h"
#include "report/pages/page_layout.h"
#include "report/pages/page_names.h"
#include "report/pages/station_page.h"
#include "report/pages/tables.h"
#include "text/calendar.h"
#include "text/failure_text.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::array<const char*, 7> kFrameColumns{"Frame",      "Ground time", "SatTime",  "packet num",
                                                   "uplink num", "SwitchInfo",  "ResetInfo"};

// Overview, previous and next capture file of the format, in listing order.
void AppendNavigation(std::string& html, const PassPageInput& input) {
  const std::vector<PassRecord>& passes = input.format->passes;
  const auto href = [&input](std::size_t pass) { return PercentEncode(NarrowToUtf8(input.links->names[pass])); };
  html += "<nav class=\"pass\"><a href=\"";
  AppendHtmlText(html, input.overview_href);
  html += "\">Overview</a> | <a href=\"";
  AppendHtmlText(html, StationHref(PageKind::kPass, input.format->format));
  html += "\">Station</a>";
  // A neighbour whose page could not be written is named, not linked.
  const auto neighbour = [&](std::size_t pass) {
    AppendLink(html, input.links->written[pass] ? href(pass) : std::string(), passes[pass].name);
  };
  if (input.pass > 0) {
    html += " | Previous: ";
    neighbour(input.pass - 1);
  }
  if (input.pass + 1 < passes.size()) {
    html += " | Next: ";
    neighbour(input.pass + 1);
  }
  html += "</nav>\n";
}

void AppendRow(std::string& html, std::string_view what, const std::string& value) {
  html += "<tr><th>";
  html += what;
  html += "</th><td>";
  html += value;
  html += "</td></tr>\n";
}

std::string Count(std::optional<std::uint64_t> value) {
  std::string text;
  if (value) AppendUnsigned(text, *value);
  return text;
}

std::string Seconds(std::optional<double> value) {
  std::string text;
  if (value) AppendFixed(text, *value);
  return text;
}

std::string SatTime(std::int64_t halves) {
  std::string text;
  AppendSatTime(text, halves);
  return text;
}

// The packets the header announces: the count, or the cell as it stands.
std::string AnnouncedText(const PassHeader& header, const Announced& announced) {
  std::string text;
  if (announced.kind == Announced::kCount) {
    AppendSigned(text, announced.count);
  } else if (announced.kind != Announced::kMissing) {
    AppendNarrow(text, header.cells[kReceivedPacketsCell]);
  }
  return text;
}

// The frames per packet the packets were read with, and where the value came
// from when the pass's own header gives none.
std::string FramesPerPacketText(const FormatRecord& format, const PassRecord& pass) {
  std::string text;
  AppendSigned(text, pass.file.frames_per_packet);
  if (pass.file.header.gives_frames_per_packet) return text;
  if (pass.frames_per_packet_from) {
    text += " (from ";
    AppendNarrow(text, format.passes[*pass.frames_per_packet_from].name);
    text += "; this header gives none)";
  } else {
    text += " (no header gives one)";
  }
  return text;
}

// The frame account: what the capture file held and how its satellite time
// ran. A number that cannot be known is left empty.
void AppendFrameAccount(std::string& html, const FormatRecord& format, const PassRecord& pass) {
  const CaptureFile& file = pass.file;
  const CaptureCounts& counts = file.counts;
  const FrameAccount& account = pass.account;
  const TimeSteps& steps = account.steps;
  std::string first, last, span;
  if (counts.frames > 0) {
    first = SatTime(pass.first.sat_time);
    last = SatTime(pass.last.sat_time);
    // Across a fall the satellite's clock restarted: no span can be told.
    span = steps.falls > 0 ? "the clock restarted within the pass"
                           : SatTime(static_cast<std::int64_t>(pass.last.sat_time) - pass.first.sat_time);
  }
  std::string expected;
  if (pass.frames_expected) AppendSigned(expected, *pass.frames_expected);
  std::string restarts;
  if (counts.frames > 0) AppendUnsigned(restarts, Restarts(pass));
  html += "<table class=\"account\">\n<tbody>\n";
  AppendRow(html, "Tokens after the header", Count(counts.tokens));
  AppendRow(html, "Tokens skipped (not hexadecimal)", Count(counts.skipped_tokens));
  AppendRow(html, "Markers found", Count(counts.packets));
  AppendRow(html, "Packets complete", Count(counts.packets - counts.cut_short));
  AppendRow(html, "Packets cut short", Count(counts.cut_short));
  AppendRow(html, "Packets announced", AnnouncedText(file.header, pass.announced));
  AppendRow(html, "Frames per packet", FramesPerPacketText(format, pass));
  AppendRow(html, "Frames decoded", Count(counts.frames));
  AppendRow(html, "Frames expected (announced x per packet)", expected);
  AppendRow(html, "First SatTime [s]", first);
  AppendRow(html, "Last SatTime [s]", last);
  AppendRow(html, "Span [s]", span);
  AppendRow(html, "Rises of SatTime", Count(steps.rises));
  AppendRow(html, "Falls of SatTime (restarts within the pass)", Count(steps.falls));
  AppendRow(html, "Restarts, within and since the previous pass", restarts);
  AppendRow(html, "Steps to the same SatTime", Count(steps.unchanged));
  AppendRow(html, "Usual step (median rise) [s]", Seconds(steps.usual_step));
  char gap_steps[16];
  const auto gap_steps_end = std::to_chars(gap_steps, gap_steps + sizeof gap_steps, kGapSteps).ptr;
  AppendRow(html, "Gaps (rises over " + std::string(gap_steps, gap_steps_end) + " usual steps)", Count(steps.gaps));
  AppendRow(html, "Frames missing in the gaps (est.)", Count(steps.missing));
  AppendRow(html, "Repeated frames", Count(account.repeats.repeated));
  AppendRow(html, "Frames at an earlier frame's SatTime with other bytes",
            Count(account.repeats.same_time_other_bytes));
  html += "</tbody>\n</table>\n";
}

// In the frame table only a value past a limit is marked, to keep it
// readable.
const char* PastClass(LimitBand band) { return band == LimitBand::kInside ? "" : LimitBandName(band); }

void AppendHeader(std::string& html, const PassHeader& header) {
  html += "<div class=\"scroll\"><table class=\"header\">\n";
  AppendHeaderRow(html, {kPassHeaderColumnNames});
  html += "<tr>";
  for (int cell = 0; cell < kPassHeaderColumns; ++cell) {
    if (cell < header.cell_count) {
      TextCell(html, header.cells[static_cast<std::size_t>(cell)]);
    } else {
      EmptyCells(html, 1);
    }
  }
  html += "</tr>\n</tbody>\n</table></div>\n";
}

void AppendHex(std::string& html, std::int32_t value) {
  char text[kHexTextMax];
  html += "<td>";
  html.append(text, FormatHex(value, text));
  html += "</td>";
}

void AppendFrames(std::string& html, const PassRecord& pass, const PassDetail& detail, DownlinkFormat format) {
  static constexpr auto kValueColumns = [] {
    std::array<const char*, kEngineeringChannels> names{};
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = kHkColumns[kFirstEngineeringSlot + i].name;
    return names;
  }();
  // Room for the rows at once, as a row takes about 800 bytes: the table of
  // a long pass is megabytes, which growing by doubling would copy and
  // touch twice over.
  constexpr std::size_t kRowRoom = 1024;
  html.reserve(html.size() + (detail.rows.size() + 1) * kRowRoom);
  html += "<div class=\"scroll frames\"><table class=\"frames\">\n";
  AppendHeaderRow(html, {kFrameColumns, kValueColumns});
  for (std::size_t i = 0; i < detail.rows.size(); ++i) {
    const FrameRow& row = detail.rows[i];
    html += row.repeated ? "<tr class=\"repeated\"><td>" : "<tr><td>";
    AppendUnsigned(html, i + 1);
    if (row.repeated) html += " repeated";
    html += "</td><td>";
    if (row.ground_time) html += FormatGroundTime(*row.ground_time);
    html += "</td>";
    html += "<td>";
    AppendSatTime(html, row.counters.sat_time);
    html += "</td>";
    AppendHex(html, row.packet_num);
    AppendHex(html, row.uplink_num);
    AppendHex(html, row.counters.switch_info);
    AppendHex(html, row.counters.reset_info);
    for (std::size_t channel = 0; channel < row.bands.size(); ++channel) {
      FixedCell(html, row.values[channel], PastClass(row.bands[channel]));
    }
    html += "</tr>\n";
  }
  html += "</tbody>\n</table></div>\n";
  if (pass.file.counts.frames > detail.rows.size()) {
    const std::uint64_t left_out = pass.file.counts.frames - detail.rows.size();
    html += "<p>";
    AppendUnsigned(html, left_out);
    html += left_out == 1 ? " more frame is" : " more frames are";
    html += " left out of this table; the data CSV, ";
    html += ConstantsOf(format).data_csv;
    html += ", holds them all.</p>\n";
  }
}

}  // namespace

void RenderPassPage(std::string& html, const PassPageInput& input) {
  const FormatRecord& format = *input.format;
  const PassRecord& pass = format.passes[input.pass];
  const PassDetail& detail = *input.detail;
  const FormatConstants& constants = ConstantsOf(format.format);
  const std::string& zone = pass.file.header.time_zone;
  AppendPageHead(html, pass.name + " - HK pass", input.mark);
  AppendNavigation(html, input);
  html += "<h1>";
  AppendNarrow(html, pass.name);
  html += "</h1>\n<p>";
  if (pass.start) {
    html += FormatGroundTime(*pass.start);
    if (!zone.empty()) {
      html += ' ';
      AppendNarrow(html, zone);
    }
    html += ", ";
  }
  html += constants.folder;
  html += ": ";
  html += constants.description;
  html += "</p>\n";
  if (pass.file.open_error != 0) {
    html += "<p class=\"problem ";
    html += LevelName(Level::kAlarm);
    html += "\">";
    html += AttemptWords(Attempt::kOpen);
    html += ": ";
    AppendNarrow(html, ErrorText(pass.file.open_error));
    html += "</p>\n";
  } else {
    AppendWhyLine(html, pass.why);
    if (pass.file.read_error != 0) {
      html += "<p class=\"problem ";
      html += LevelName(Level::kAlarm);
      html += "\">";
      html += AttemptWords(Attempt::kRead);
      html += ": ";
      AppendNarrow(html, ErrorText(pass.file.read_error));
      html += "; what stands here was read before the failure.</p>\n";
    }
    html += "<h2 id=\"account\">Frame account</h2>\n";
    AppendFrameAccount(html, format, pass);
    AppendPassSky(html, format, input.pass);
    if (pass.file.counts.frames > 0) {
      html += "<h2 id=\"channels\">Channels</h2>\n";
      AppendChannelRows(html, detail.channels, &pass, format.limits, nullptr);
      html += "<h2 id=\"trends\">Trends</h2>\n";
      if (pass.start) {
        const std::vector<std::string> zones =
            zone.empty() ? std::vector<std::string>{} : std::vector<std::string>{zone};
        AppendTrendCharts(html, {"pass", &detail.series, pass.file.counts.frames, format.limits, &zones, true, true});
      } else {
        html += "<p>The pass's date or time does not parse: its frames have no ground time to be charted.</p>\n";
      }
    }
    html += "<h2 id=\"header\">Pass header</h2>\n";
    AppendHeader(html, pass.file.header);
    if (pass.file.counts.frames > 0) {
      html += "<h2 id=\"frames\">Frames</h2>\n";
      AppendFrames(html, pass, detail, format.format);
    }
  }
  AppendNavigation(html, input);
  AppendPageEnd(html);
}

}  // namespace hkcsv
