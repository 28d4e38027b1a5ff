#include "report/tables.h"

#include <array>
#include <cstring>
#include <span>

#include "report/calendar.h"
#include "report/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

template <std::size_t N>
using Names = std::array<const char*, N>;

// The pass table's columns: what the capture file gives, what its frames
// give, and with limits the samples past them.
constexpr Names<13> kPassFileColumns{"File",
                                     "Date",
                                     "Time",
                                     "AOS",
                                     "LOS",
                                     "Max angle",
                                     "Modulation",
                                     "Frames per packet",
                                     "Packets announced",
                                     "Packets found",
                                     "Frames",
                                     "Skipped tokens",
                                     "Cut short"};
constexpr Names<5> kPassFrameColumns{"First SatTime", "Last SatTime", "Restarts", "Min Buss Voltage",
                                     "Max Battery Temp"};
constexpr Names<1> kChannelNameColumn{"Channel"};
constexpr Names<6> kChannelStatsColumns{"Min", "Mean", "Max", "Last", "Min at", "Max at"};
constexpr Names<2> kLimitColumns{"Past yellow", "Past red"};

int LimitColumns(bool limits) { return limits ? static_cast<int>(kLimitColumns.size()) : 0; }

const std::string& HeaderCell(const PassSummary& pass, PassHeaderCell cell) {
  static const std::string kNone;
  const PassHeader& header = pass.file.header;
  return cell < header.cell_count ? header.cells[static_cast<std::size_t>(cell)] : kNone;
}

void OpenCell(std::string& html, bool text, bool bad) {
  html += "<td";
  if (text || bad) {
    html += " class=\"";
    html += text ? (bad ? "text bad" : "text") : "bad";
    html += "\"";
  }
  html += ">";
}

void TextCell(std::string& html, std::string_view value, bool bad = false) {
  OpenCell(html, true, bad);
  AppendNarrow(html, value);
  html += "</td>";
}

void CountCell(std::string& html, std::uint64_t value, bool bad = false) {
  OpenCell(html, false, bad);
  AppendUnsigned(html, value);
  html += "</td>";
}

void FixedCell(std::string& html, double value) {
  html += "<td>";
  AppendFixed(html, value);
  html += "</td>";
}

void EmptyCells(std::string& html, int count) {
  for (int i = 0; i < count; ++i) html += "<td></td>";
}

using ColumnGroup = std::span<const char* const>;

// Opens the table's body after its header row: the names of each group of
// columns, then with limits the limit columns.
void HeaderRow(std::string& html, std::initializer_list<ColumnGroup> groups, bool limits) {
  html += "<thead><tr>";
  const auto append = [&html](ColumnGroup names) {
    for (const char* name : names) {
      html += "<th>";
      html += name;
      html += "</th>";
    }
  };
  for (ColumnGroup group : groups) append(group);
  if (limits) append(kLimitColumns);
  html += "</tr></thead>\n<tbody>\n";
}

// The announced packet count, when the header gives one that differs from the
// packets found.
bool AnnouncedDiffers(const PassSummary& pass) {
  if (pass.file.header.cell_count <= kReceivedPacketsCell) return false;
  std::string text;
  AppendUnsigned(text, pass.file.counts.packets);
  return HeaderCell(pass, kReceivedPacketsCell) != text;
}

// A row for a capture file that could not be opened or read, with the reason
// across the other columns.
void AppendFailureRow(std::string& html, const PassSummary& pass, const char* what, int error, bool limits) {
  html += "<tr class=\"problem\">";
  TextCell(html, pass.name);
  html += "<td class=\"text bad\" colspan=\"";
  AppendUnsigned(html, kPassFileColumns.size() - 1 + kPassFrameColumns.size() + LimitColumns(limits));
  html += "\">";
  html += what;
  AppendNarrow(html, std::strerror(error));
  html += "</td></tr>\n";
}

void AppendPassRow(std::string& html, const PassSummary& pass, bool limits) {
  const CaptureFile& file = pass.file;
  if (file.open_error != 0) {
    AppendFailureRow(html, pass, "Cannot open: ", file.open_error, limits);
    return;
  }
  const bool announced = AnnouncedDiffers(pass);
  const bool header_cut = !file.header.complete;
  const bool date_bad = !pass.time_parsed;
  const bool problem = announced || header_cut || date_bad || file.read_error != 0 || file.counts.skipped_tokens > 0 ||
                       file.counts.cut_short > 0 || pass.red > 0;
  html += problem ? "<tr class=\"problem\">" : "<tr>";
  TextCell(html, pass.name, file.read_error != 0);
  TextCell(html, HeaderCell(pass, kDateCell), date_bad);
  TextCell(html, HeaderCell(pass, kTimeCell), date_bad);
  TextCell(html, HeaderCell(pass, kAosTimeCell));
  TextCell(html, HeaderCell(pass, kLosTimeCell));
  TextCell(html, HeaderCell(pass, kMaxAngleCell));
  TextCell(html, HeaderCell(pass, kModulationCell));
  TextCell(html, HeaderCell(pass, kFramesPerPacketCell), header_cut);
  TextCell(html, HeaderCell(pass, kReceivedPacketsCell), announced);
  CountCell(html, file.counts.packets, announced);
  CountCell(html, file.counts.frames);
  CountCell(html, file.counts.skipped_tokens, file.counts.skipped_tokens > 0);
  CountCell(html, file.counts.cut_short, file.counts.cut_short > 0);
  if (file.counts.frames == 0) {
    EmptyCells(html, static_cast<int>(kPassFrameColumns.size()) + LimitColumns(limits));
  } else {
    FixedCell(html, pass.first_sat_time);
    FixedCell(html, pass.last_sat_time);
    CountCell(html, pass.restarts);
    FixedCell(html, pass.min_bus_voltage);
    FixedCell(html, pass.max_battery_temp);
    if (limits) {
      CountCell(html, pass.yellow);
      CountCell(html, pass.red, pass.red > 0);
    }
  }
  html += "</tr>\n";
  // What was read before the failure stands in the row above.
  if (file.read_error != 0) AppendFailureRow(html, pass, "Cannot read: ", file.read_error, limits);
}

// Date and time of a pass, as its header gives them.
void AppendPassTime(std::string& html, const std::string& time_text) {
  html += "<td class=\"text\">";
  AppendNarrow(html, time_text);
  html += "</td>";
}

}  // namespace

void AppendSummary(std::string& html, const FormatData& data) {
  const PassTotals& totals = data.totals;
  html += "<dl class=\"summary\">\n<dt>Capture files</dt><dd>";
  AppendUnsigned(html, totals.files);
  html += "</dd>\n<dt>Frames decoded</dt><dd>";
  AppendUnsigned(html, data.frames);
  html += "</dd>\n<dt>First pass</dt><dd>";
  if (totals.any_dated) html += FormatGroundTime(totals.first_start);
  html += "</dd>\n<dt>Last pass</dt><dd>";
  if (totals.any_dated) html += FormatGroundTime(totals.last_start);
  html += "</dd>\n<dt>Tokens skipped</dt><dd>";
  AppendUnsigned(html, totals.skipped_tokens);
  html += "</dd>\n<dt>Packets cut short</dt><dd>";
  AppendUnsigned(html, totals.cut_short);
  html += "</dd>\n<dt>Files that could not be read</dt><dd>";
  AppendUnsigned(html, totals.unreadable);
  html += "</dd>\n<dt>Passes left out of the charts (date or time does not parse)</dt><dd>";
  AppendUnsigned(html, totals.undated);
  html += "</dd>\n";
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

void AppendPassTable(std::string& html, const FormatData& data) {
  html += "<h3>Passes</h3>\n<div class=\"wide\"><table class=\"passes\">\n";
  HeaderRow(html, {kPassFileColumns, kPassFrameColumns}, data.has_limits);
  for (const PassSummary& pass : data.passes) AppendPassRow(html, pass, data.has_limits);
  html += "</tbody>\n</table></div>\n";
}

void AppendChannelTable(std::string& html, const FormatData& data) {
  html += "<h3>Channels</h3>\n<table class=\"channels\">\n";
  HeaderRow(html, {kChannelNameColumn, kChannelStatsColumns}, data.has_limits);
  for (int channel = 0; channel < kEngineeringChannels; ++channel) {
    const ChannelStats& stats = data.channels[static_cast<std::size_t>(channel)];
    html += stats.red > 0 ? "<tr class=\"problem\">" : "<tr>";
    TextCell(html, kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + channel)].name);
    if (stats.count == 0) {
      EmptyCells(html, static_cast<int>(kChannelStatsColumns.size()) + LimitColumns(data.has_limits));
    } else {
      FixedCell(html, stats.min);
      FixedCell(html, stats.sum / static_cast<double>(stats.count));
      FixedCell(html, stats.max);
      FixedCell(html, stats.last);
      AppendPassTime(html, stats.min_at);
      AppendPassTime(html, stats.max_at);
      if (data.has_limits) {
        CountCell(html, stats.yellow);
        CountCell(html, stats.red, stats.red > 0);
      }
    }
    html += "</tr>\n";
  }
  html += "</tbody>\n</table>\n";
}

}  // namespace hkcsv
