#include "report/tables.h"

#include <array>
#include <cstring>

#include "report/calendar.h"
#include "report/html_table.h"
#include "report/html_text.h"
#include "report/page_names.h"
#include "report/pass_flags.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// The pass table's columns: the file and why it is flagged, what the capture
// file gives, what its frames give, and with limits the samples past them.
constexpr std::array<const char*, 2> kPassNameColumns{"File", "Why"};
constexpr std::array<const char*, 14> kPassFileColumns{
    "Pass time",         "AOS",           "LOS",    "Max angle",       "Modulation",     "Frames per packet",
    "Packets announced", "Packets found", "Frames", "Frames expected", "Missing (est.)", "Repeated",
    "Skipped tokens",    "Cut short"};
constexpr std::array<const char*, 7> kPassFrameColumns{"First SatTime",   "Last SatTime", "ResetInfo first",
                                                       "ResetInfo last",  "Restarts",     "Min Buss Voltage",
                                                       "Max Battery Temp"};
constexpr std::array<const char*, 2> kLimitColumns{"Past yellow", "Past red"};
constexpr std::array<const char*, 6> kChannelColumns{"Channel", "Unit", "Min", "Mean", "Max", "Last"};
constexpr std::array<const char*, 2> kExtremeAtColumns{"Min at", "Max at"};

const std::string& HeaderCell(const PassSummary& pass, PassHeaderCell cell) {
  static const std::string kNone;
  const PassHeader& header = pass.file.header;
  return cell < header.cell_count ? header.cells[static_cast<std::size_t>(cell)] : kNone;
}

std::string HexText(std::int32_t value) {
  char text[kHexTextMax];
  return std::string(text, FormatHex(value, text));
}

std::string PassHref(const PageContext& context, const FormatData& data, const PassSummary& pass) {
  if (!pass.page_written) return {};
  return PassPageHref(context.pages_folder, ConstantsOf(data.format).folder, pass.page);
}

// "2019-01-10 09:15:30" of a dated pass; the header's cells as they stand
// otherwise.
std::string PassTimeText(const PassSummary& pass) {
  if (pass.time_parsed) return FormatGroundTime(pass.start);
  return HeaderCell(pass, kDateCell) + " " + HeaderCell(pass, kTimeCell);
}

void WhyCell(std::string& html, const std::vector<std::string>& why) {
  html += "<td class=\"text why\">";
  for (std::size_t i = 0; i < why.size(); ++i) {
    if (i > 0) html += ", ";
    html += why[i];
  }
  html += "</td>";
}

// A row for a capture file that could not be opened or read, with the reason
// across the other columns.
void AppendFailureRow(std::string& html, const std::string& href, const PassSummary& pass, const char* what, int error,
                      bool limits) {
  html += "<tr class=\"problem\">";
  LinkCell(html, href, pass.name);
  html += "<td class=\"text bad\" colspan=\"";
  AppendUnsigned(html, kPassNameColumns.size() - 1 + kPassFileColumns.size() + kPassFrameColumns.size() +
                           (limits ? kLimitColumns.size() : 0));
  html += "\">";
  html += what;
  AppendNarrow(html, std::strerror(error));
  html += "</td></tr>\n";
}

void AppendFrameCells(std::string& html, const PassSummary& pass, bool limits) {
  const std::uint64_t restarts = pass.account.steps.falls + (pass.restart_before ? 1 : 0);
  FixedCell(html, pass.first_sat_time);
  FixedCell(html, pass.last_sat_time);
  TextCell(html, HexText(pass.first_reset_info), pass.restart_before);
  TextCell(html, HexText(pass.last_reset_info), pass.last_reset_info != pass.first_reset_info);
  CountCell(html, restarts, restarts > 0);
  FixedCell(html, pass.min_bus_voltage);
  FixedCell(html, pass.max_battery_temp);
  if (limits) {
    CountCell(html, pass.yellow);
    CountCell(html, pass.red, pass.red > 0);
  }
}

void AppendPassRow(std::string& html, const PageContext& context, const FormatData& data, const PassSummary& pass) {
  const CaptureFile& file = pass.file;
  const std::string href = PassHref(context, data, pass);
  if (file.open_error != 0) {
    AppendFailureRow(html, href, pass, "Cannot open: ", file.open_error, data.has_limits);
    return;
  }
  const std::vector<std::string> why = WhyFlagged(pass);
  const bool announced_bad = AnnouncedMatches(pass) == false;
  const std::optional<std::uint64_t> missing = pass.account.steps.missing;
  OpenRow(html, !why.empty());
  LinkCell(html, href, pass.name, file.read_error != 0);
  WhyCell(html, why);
  TextCell(html, PassTimeText(pass), !pass.time_parsed || pass.far_date);
  TextCell(html, HeaderCell(pass, kAosTimeCell));
  TextCell(html, HeaderCell(pass, kLosTimeCell));
  TextCell(html, HeaderCell(pass, kMaxAngleCell));
  TextCell(html, HeaderCell(pass, kModulationCell));
  TextCell(html, HeaderCell(pass, kFramesPerPacketCell), !file.header.complete);
  TextCell(html, HeaderCell(pass, kReceivedPacketsCell), announced_bad);
  CountCell(html, file.counts.packets, announced_bad);
  CountCell(html, file.counts.frames, file.counts.packets > 0 && file.counts.frames == 0);
  const std::optional<std::int64_t> expected = pass.account.expected;
  CountCell(html, expected ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*expected)) : std::nullopt);
  CountCell(html, missing, missing.value_or(0) > 0);
  CountCell(html, pass.account.repeats.repeated);
  CountCell(html, file.counts.skipped_tokens, file.counts.skipped_tokens > 0);
  CountCell(html, file.counts.cut_short, file.counts.cut_short > 0);
  if (file.counts.frames == 0) {
    EmptyCells(html, kPassFrameColumns.size() + (data.has_limits ? kLimitColumns.size() : 0));
  } else {
    AppendFrameCells(html, pass, data.has_limits);
  }
  html += "</tr>\n";
  // What was read before the failure stands in the row above.
  if (file.read_error != 0) AppendFailureRow(html, href, pass, "Cannot read: ", file.read_error, data.has_limits);
}

// Where a channel's extreme was taken: the frame's ground time, or for a
// pass without a date its file's name; linked to the pass.
void FrameAtCell(std::string& html, const PageContext& context, const FormatData& data, const FrameAt& at) {
  const PassSummary& pass = data.passes[at.pass];
  const std::string text = at.ground_time ? FormatGroundTime(*at.ground_time) : pass.name + " (no date)";
  LinkCell(html, PassHref(context, data, pass), text);
}

}  // namespace

void AppendSummary(std::string& html, const FormatData& data) {
  const PassTotals& totals = data.totals;
  const auto item = [&html](const char* name, std::uint64_t count) {
    html += "<dt>";
    html += name;
    html += "</dt><dd>";
    AppendUnsigned(html, count);
    html += "</dd>\n";
  };
  html += "<dl class=\"summary\">\n";
  item("Capture files", totals.files);
  item("Frames decoded", data.frames);
  html += "<dt>First pass</dt><dd>";
  if (totals.any_dated) html += FormatGroundTime(totals.first_start);
  html += "</dd>\n<dt>Last pass</dt><dd>";
  if (totals.any_dated) html += FormatGroundTime(totals.last_start);
  html += "</dd>\n";
  item("Frames missing in gaps (est.)", totals.missing);
  item("Repeated frames", totals.repeated);
  item("Restarts", totals.restarts);
  item("Tokens skipped", totals.skipped_tokens);
  item("Packets cut short", totals.cut_short);
  item("Files that could not be read", totals.unreadable);
  item("Passes left out of the charts (no date, or a date far from every other pass)", totals.left_out);
  if (!data.folders.empty()) {
    html += "<dt>Folders listed and not read</dt><dd>";
    for (std::size_t i = 0; i < data.folders.size(); ++i) {
      if (i > 0) html += ", ";
      AppendNarrow(html, data.folders[i]);
    }
    html += "</dd>\n";
  }
  html += "</dl>\n";
}

void AppendPassTable(std::string& html, const PageContext& context, const FormatData& data) {
  html += "<div class=\"scroll\"><table class=\"passes\">\n";
  if (data.has_limits) {
    AppendHeaderRow(html, {kPassNameColumns, kPassFileColumns, kPassFrameColumns, kLimitColumns});
  } else {
    AppendHeaderRow(html, {kPassNameColumns, kPassFileColumns, kPassFrameColumns});
  }
  for (const PassSummary& pass : data.passes) AppendPassRow(html, context, data, pass);
  html += "</tbody>\n</table></div>\n";
}

void AppendChannelRows(std::string& html, const std::array<ChannelStats, kEngineeringChannels>& channels,
                       const PassSummary* last, bool limits, const ExtremeCells* at) {
  html += "<table class=\"channels\">\n";
  const std::array<const char*, 0> none{};
  AppendHeaderRow(html, {kChannelColumns, at ? ColumnGroup(kExtremeAtColumns) : ColumnGroup(none),
                         limits ? ColumnGroup(kLimitColumns) : ColumnGroup(none)});
  for (std::size_t channel = 0; channel < channels.size(); ++channel) {
    const ChannelStats& stats = channels[channel];
    const HkColumn& column = kHkColumns[kFirstEngineeringSlot + channel];
    OpenRow(html, stats.red.value_or(0) > 0);
    TextCell(html, column.name);
    TextCell(html, column.unit);
    if (stats.count == 0) {
      EmptyCells(
          html, kChannelColumns.size() - 2 + (at ? kExtremeAtColumns.size() : 0) + (limits ? kLimitColumns.size() : 0));
    } else {
      FixedCell(html, stats.min);
      FixedCell(html, stats.sum / static_cast<double>(stats.count));
      FixedCell(html, stats.max);
      if (last) {
        FixedCell(html, last->last_values[kFirstEngineeringSlot + channel],
                  stats.red ? LimitBandName(last->last_bands[channel]) : "");
      } else {
        EmptyCells(html, 1);
      }
      if (at) (*at)(html, stats);
      if (limits) {
        CountCell(html, stats.yellow);
        CountCell(html, stats.red, stats.red.value_or(0) > 0);
      }
    }
    html += "</tr>\n";
  }
  AppendTableEnd(html);
}

void AppendChannelTable(std::string& html, const PageContext& context, const FormatData& data) {
  const ExtremeCells at = [&](std::string& cells, const ChannelStats& stats) {
    FrameAtCell(cells, context, data, stats.min_at);
    FrameAtCell(cells, context, data, stats.max_at);
  };
  AppendChannelRows(html, data.channels, data.newest ? &data.passes[*data.newest] : nullptr, data.has_limits, &at);
}

void AppendLatestPass(std::string& html, const PageContext& context, const FormatData& data) {
  const FormatConstants& constants = ConstantsOf(data.format);
  html += "<div class=\"latest\">\n<h3>";
  html += constants.folder;
  html += ": ";
  if (!data.newest) {
    html += "no pass with frames</h3>\n</div>\n";
    return;
  }
  const PassSummary& pass = data.passes[*data.newest];
  AppendLink(html, PassHref(context, data, pass), pass.name);
  html += "</h3>\n<p>";
  html += PassTimeText(pass);
  if (!pass.time_zone.empty()) {
    html += ' ';
    AppendNarrow(html, pass.time_zone);
  }
  const FrameAccount& account = pass.account;
  html += ": ";
  AppendUnsigned(html, account.frames);
  html += " frames decoded";
  if (account.expected) {
    html += " of ";
    AppendSigned(html, *account.expected);
    html += " expected";
  }
  if (account.steps.missing) {
    html += ", ";
    AppendUnsigned(html, *account.steps.missing);
    html += " missing (est.)";
  }
  html += ", ";
  AppendUnsigned(html, account.repeats.repeated);
  html += " repeated, ";
  AppendUnsigned(html, account.cut_short);
  html += " cut short";
  if (data.has_limits) {
    html += "; samples past yellow: ";
    AppendUnsigned(html, pass.yellow);
    html += ", past red: ";
    AppendUnsigned(html, pass.red);
  }
  html += ".</p>\n";
  const std::vector<std::string> why = WhyFlagged(pass);
  if (!why.empty()) {
    html += "<p class=\"problem\">";
    for (std::size_t i = 0; i < why.size(); ++i) {
      if (i > 0) html += ", ";
      html += why[i];
    }
    html += "</p>\n";
  }
  // Every channel's value in the last frame, coloured by its limit state
  // where it has limits: a value without limits is not shown as fine.
  html += "<div class=\"values\">";
  for (std::size_t channel = 0; channel < data.channels.size(); ++channel) {
    const HkColumn& column = kHkColumns[kFirstEngineeringSlot + channel];
    html += "<div class=\"value";
    if (data.channels[channel].red) {
      html += ' ';
      html += LimitBandName(pass.last_bands[channel]);
    }
    html += "\"><span>";
    html += column.name;
    html += "</span><span>";
    AppendFixed(html, pass.last_values[kFirstEngineeringSlot + channel]);
    html += ' ';
    html += column.unit;
    html += "</span></div>";
  }
  html += "</div>\n</div>\n";
}

}  // namespace hkcsv
