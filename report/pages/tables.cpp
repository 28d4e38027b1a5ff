// The overview's tables: summary, passes, channels and the latest pass.
#include "report/pages/tables.h"

#include <array>

#include "platform/files.h"
#include "report/model/pass_flags.h"
#include "report/pages/html_table.h"
#include "text/calendar.h"
#include "text/failure_text.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// Why a pass is flagged, its reasons joined by commas, each marked with its
// level: as the pass table's why cell, the latest pass and the pass page
// show them.
void AppendReasons(std::string& html, const std::vector<Reason>& why);

// "2019-01-10 09:15:30" of a dated pass; the header's date and time cells as
// they stand otherwise.
std::string PassTimeText(const PassRecord& pass);

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

const std::string& HeaderCell(const PassRecord& pass, PassHeaderCell cell) {
  static const std::string kNone;
  const PassHeader& header = pass.file.header;
  return cell < header.cell_count ? header.cells[static_cast<std::size_t>(cell)] : kNone;
}

std::string HexText(std::int32_t value) {
  char text[kHexTextMax];
  return std::string(text, FormatHex(value, text));
}

void SatTimeCell(std::string& html, std::int32_t counter) {
  html += "<td>";
  AppendSatTime(html, counter);
  html += "</td>";
}

std::size_t IndexOf(const FormatRecord& format, const PassRecord& pass) {
  return static_cast<std::size_t>(&pass - format.passes.data());
}

std::string PassHref(const FormatRecord& format, const PassPageLinks& links, const PassRecord& pass) {
  return PassHref(links, format.format, IndexOf(format, pass));
}

void WhyCell(std::string& html, const std::vector<Reason>& why) {
  html += "<td class=\"text why\">";
  AppendReasons(html, why);
  html += "</td>";
}

// A row for a capture file that could not be opened or read, with the reason
// across the other columns.
void AppendFailureRow(std::string& html, const std::string& href, const PassRecord& pass, Attempt what, int error,
                      bool limits) {
  OpenRow(html, Level::kAlarm);
  LinkCell(html, href, pass.name);
  html += "<td class=\"text bad\" colspan=\"";
  AppendUnsigned(html, kPassNameColumns.size() - 1 + kPassFileColumns.size() + kPassFrameColumns.size() +
                           (limits ? kLimitColumns.size() : 0));
  html += "\">";
  html += AttemptWords(what);
  html += ": ";
  AppendNarrow(html, ErrorText(error));
  html += "</td></tr>\n";
}

void AppendFrameCells(std::string& html, const PassRecord& pass, bool limits) {
  const std::uint64_t restarts = Restarts(pass);
  SatTimeCell(html, pass.first.sat_time);
  SatTimeCell(html, pass.last.sat_time);
  TextCell(html, HexText(pass.first.reset_info), pass.restart_before);
  TextCell(html, HexText(pass.last.reset_info), pass.last.reset_info != pass.first.reset_info);
  CountCell(html, restarts, restarts > 0);
  FixedCell(html, pass.extremes[kMinBusVoltage]);
  FixedCell(html, pass.extremes[kMaxBatteryTemp]);
  if (limits) {
    CountCell(html, pass.yellow);
    CountCell(html, pass.red, pass.red > 0);
  }
}

void AppendPassRow(std::string& html, const FormatRecord& format, const PassPageLinks& links, const PassRecord& pass) {
  const CaptureFile& file = pass.file;
  const bool limits = format.limits != nullptr;
  const std::string href = PassHref(format, links, pass);
  if (file.open_error != 0) {
    AppendFailureRow(html, href, pass, Attempt::kOpen, file.open_error, limits);
    return;
  }
  const bool announced_bad = pass.announced_matches == false;
  const std::optional<std::uint64_t> missing = pass.account.steps.missing;
  OpenRow(html, pass.worst);
  LinkCell(html, href, pass.name, file.read_error != 0);
  WhyCell(html, pass.why);
  TextCell(html, PassTimeText(pass), !OnTimeAxis(pass));
  TextCell(html, HeaderCell(pass, kAosTimeCell));
  TextCell(html, HeaderCell(pass, kLosTimeCell));
  TextCell(html, HeaderCell(pass, kMaxAngleCell));
  TextCell(html, HeaderCell(pass, kModulationCell));
  TextCell(html, HeaderCell(pass, kFramesPerPacketCell), !file.header.complete);
  TextCell(html, HeaderCell(pass, kReceivedPacketsCell), announced_bad);
  CountCell(html, file.counts.packets, announced_bad);
  CountCell(html, file.counts.frames, file.counts.packets > 0 && file.counts.frames == 0);
  const std::optional<std::int64_t>& expected = pass.frames_expected;
  CountCell(html, expected ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*expected)) : std::nullopt);
  CountCell(html, missing, missing.value_or(0) > 0);
  CountCell(html, pass.account.repeats.repeated);
  CountCell(html, file.counts.skipped_tokens, file.counts.skipped_tokens > 0);
  CountCell(html, file.counts.cut_short, file.counts.cut_short > 0);
  if (file.counts.frames == 0) {
    EmptyCells(html, kPassFrameColumns.size() + (limits ? kLimitColumns.size() : 0));
  } else {
    AppendFrameCells(html, pass, limits);
  }
  html += "</tr>\n";
  // What was read before the failure stands in the row above.
  if (file.read_error != 0) AppendFailureRow(html, href, pass, Attempt::kRead, file.read_error, limits);
}

// Where a channel's extreme was taken: the frame's ground time, or for a
// pass without a date its file's name; linked to the pass.
void FrameAtCell(std::string& html, const FormatRecord& format, const PassPageLinks& links, const FrameAt& at) {
  const PassRecord& pass = format.passes[at.pass];
  const std::string text = at.ground_time ? FormatGroundTime(*at.ground_time) : pass.name + " (no date)";
  LinkCell(html, PassHref(links, format.format, at.pass), text);
}

}  // namespace

namespace {

void AppendReasons(std::string& html, const std::vector<Reason>& why) {
  for (std::size_t i = 0; i < why.size(); ++i) {
    if (i > 0) html += ", ";
    html += "<span class=\"";
    html += LevelName(why[i].level);
    html += "\">";
    AppendNarrow(html, why[i].text);  // a reason may name a capture
    html += "</span>";
  }
}

}  // namespace

void AppendWhyLine(std::string& html, const std::vector<Reason>& why) {
  const std::optional<Level> level = WorstLevel(why);
  if (!level) return;
  html += "<p class=\"problem ";
  html += LevelName(*level);
  html += "\">";
  AppendReasons(html, why);
  html += "</p>\n";
}

void AppendSatTime(std::string& html, std::int64_t halves) {
  if (halves < 0) html += '-';
  const std::uint64_t magnitude = halves < 0 ? static_cast<std::uint64_t>(-halves) : static_cast<std::uint64_t>(halves);
  AppendUnsigned(html, magnitude / 2);
  html += magnitude % 2 == 0 ? ".0" : ".5";
}

namespace {

std::string PassTimeText(const PassRecord& pass) {
  if (pass.start) return FormatGroundTime(*pass.start);
  return HeaderCell(pass, kDateCell) + " " + HeaderCell(pass, kTimeCell);
}

}  // namespace

void AppendSummary(std::string& html, const FormatRecord& format) {
  const PassTotals& totals = format.totals;
  const auto item = [&html](const char* name, std::uint64_t count) {
    html += "<dt>";
    html += name;
    html += "</dt><dd>";
    AppendUnsigned(html, count);
    html += "</dd>\n";
  };
  html += "<dl class=\"summary\">\n";
  item("Capture files", totals.files);
  item("Passes with an alarm", totals.alarms);
  item("Passes with only notices", totals.notices);
  item("Frames decoded", totals.frames);
  html += "<dt>First pass</dt><dd>";
  if (totals.first_start) html += FormatGroundTime(*totals.first_start);
  // The newest pass, as the latest-pass card shows it.
  html += "</dd>\n<dt>Last pass</dt><dd>";
  if (format.newest) {
    const PassRecord& newest = format.passes[*format.newest];
    AppendNarrow(html, OnTimeAxis(newest) ? PassTimeText(newest) : newest.name + ", no usable date");
  }
  html += "</dd>\n";
  item("Frames missing in gaps (est.)", totals.missing);
  item("Repeated frames", totals.repeated);
  item("Restarts", totals.restarts);
  item("Tokens skipped", totals.skipped_tokens);
  item("Packets cut short", totals.cut_short);
  item("Files that could not be read", totals.unreadable);
  item("Passes left out of the charts (no date, or a date far from every other pass)", totals.left_out);
  bool folders = false;
  for (const FolderEntry& entry : format.listing.entries) {
    if (!entry.is_folder) continue;
    html += folders ? ", " : "<dt>Folders listed and not read</dt><dd>";
    AppendNarrow(html, entry.name);
    folders = true;
  }
  if (folders) html += "</dd>\n";
  html += "</dl>\n";
}

void AppendPassTable(std::string& html, const FormatRecord& format, const PassPageLinks& links,
                     std::span<const std::size_t> passes) {
  html += "<div class=\"scroll\"><table class=\"passes\">\n";
  if (format.limits) {
    AppendHeaderRow(html, {kPassNameColumns, kPassFileColumns, kPassFrameColumns, kLimitColumns});
  } else {
    AppendHeaderRow(html, {kPassNameColumns, kPassFileColumns, kPassFrameColumns});
  }
  for (const std::size_t pass : passes) AppendPassRow(html, format, links, format.passes[pass]);
  html += "</tbody>\n</table></div>\n";
}

void AppendAlarmTable(std::string& html, const FormatRecord& format, const PassPageLinks& links,
                      std::span<const std::size_t> passes) {
  html += "<div class=\"scroll\"><table class=\"passes\">\n";
  AppendHeaderRow(html, {kPassNameColumns, ColumnGroup(kPassFileColumns).first(1)});
  for (const std::size_t index : passes) {
    const PassRecord& pass = format.passes[index];
    OpenRow(html, pass.worst);
    LinkCell(html, PassHref(format, links, pass), pass.name, pass.file.read_error != 0);
    WhyCell(html, pass.why);
    TextCell(html, PassTimeText(pass), !OnTimeAxis(pass));
    html += "</tr>\n";
  }
  html += "</tbody>\n</table></div>\n";
}

void AppendChannelRows(std::string& html, const ChannelStatsTable& channels, const PassRecord* last,
                       const LimitTable* limits, const ExtremeCells* at) {
  html += "<table class=\"channels\">\n";
  const std::array<const char*, 0> none{};
  AppendHeaderRow(html, {kChannelColumns, at ? ColumnGroup(kExtremeAtColumns) : ColumnGroup(none),
                         limits ? ColumnGroup(kLimitColumns) : ColumnGroup(none)});
  for (std::size_t channel = 0; channel < channels.size(); ++channel) {
    const ChannelStats& stats = channels[channel];
    const HkColumn& column = kHkColumns[kFirstEngineeringSlot + channel];
    OpenRow(html, stats.red.value_or(0) > 0 ? std::optional(Level::kAlarm) : std::nullopt);
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
        FixedCell(html, last->last_values[channel],
                  HasLimits(limits, channel) ? LimitBandName(last->last_bands[channel]) : "");
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

void AppendChannelTable(std::string& html, const FormatRecord& format, const PassPageLinks& links) {
  const ExtremeCells at = [&](std::string& cells, const ChannelStats& stats) {
    FrameAtCell(cells, format, links, stats.min_at);
    FrameAtCell(cells, format, links, stats.max_at);
  };
  AppendChannelRows(html, format.channels, format.latest_state ? &format.passes[*format.latest_state] : nullptr,
                    format.limits, &at);
}

namespace {

// Every channel's value in the last frame of `pass`, coloured by its limit
// state where it has limits: a value without limits is not shown as fine.
void AppendLastValues(std::string& html, const FormatRecord& format, const PassRecord& pass) {
  html += "<div class=\"values\">";
  for (std::size_t channel = 0; channel < pass.last_values.size(); ++channel) {
    const HkColumn& column = kHkColumns[kFirstEngineeringSlot + channel];
    html += "<div class=\"value";
    if (HasLimits(format.limits, channel)) {
      html += ' ';
      html += LimitBandName(pass.last_bands[channel]);
    }
    html += "\"><span>";
    html += column.name;
    html += "</span><span>";
    AppendFixed(html, pass.last_values[channel]);
    html += ' ';
    html += column.unit;
    html += "</span></div>";
  }
  html += "</div>\n";
}

// "2019-01-10 09:15:30 JST" of a pass, or its header's cells as they stand.
std::string PassTimeWithZone(const PassRecord& pass) {
  std::string text = PassTimeText(pass);
  const std::string& zone = pass.file.header.time_zone;
  if (!zone.empty()) text += " " + zone;
  return text;
}

}  // namespace

void AppendLatestPass(std::string& html, const FormatRecord& format, const PassPageLinks& links) {
  const FormatConstants& constants = ConstantsOf(format.format);
  html += "<div class=\"latest\">\n<h3>";
  html += constants.folder;
  html += ": ";
  if (!format.newest) {
    html += "no pass</h3>\n</div>\n";
    return;
  }
  const PassRecord& pass = format.passes[*format.newest];
  AppendLink(html, PassHref(links, format.format, *format.newest), pass.name);
  html += "</h3>\n<p>";
  const std::string time = PassTimeWithZone(pass);
  if (time != " ") {
    AppendNarrow(html, time);
    html += ": ";
  }
  const CaptureCounts& counts = pass.file.counts;
  AppendUnsigned(html, counts.frames);
  html += " frames decoded";
  if (const std::optional<std::int64_t>& expected = pass.frames_expected) {
    html += " of ";
    AppendSigned(html, *expected);
    html += " expected";
  }
  if (pass.account.steps.missing) {
    html += ", ";
    AppendUnsigned(html, *pass.account.steps.missing);
    html += " missing (est.)";
  }
  html += ", ";
  AppendUnsigned(html, pass.account.repeats.repeated);
  html += " repeated, ";
  AppendUnsigned(html, counts.cut_short);
  html += " cut short";
  if (format.limits) {
    html += "; samples past yellow: ";
    AppendUnsigned(html, pass.yellow);
    html += ", past red: ";
    AppendUnsigned(html, pass.red);
  }
  html += ".</p>\n";
  AppendWhyLine(html, pass.why);
  if (format.latest_state == format.newest) {
    AppendLastValues(html, format, pass);
  } else if (format.latest_state) {
    // The newest pass holds no frame: the satellite's state is the last one known.
    const PassRecord& known = format.passes[*format.latest_state];
    html += "<p>This pass holds no frame. The last values known, from ";
    AppendLink(html, PassHref(links, format.format, *format.latest_state), known.name);
    html += " (";
    AppendNarrow(html, PassTimeWithZone(known));
    html += "):</p>\n";
    AppendLastValues(html, format, known);
  } else {
    html += "<p>No pass holds a frame: no value of the satellite is known.</p>\n";
  }
  html += "</div>\n";
}

}  // namespace hkcsv
